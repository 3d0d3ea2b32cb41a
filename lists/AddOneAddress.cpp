#include "AddOneAddress.h"

#include "Admission.h"
#include "ErrorReport.h"
#include "FormState.h"
#include "Platform.h"

void AddOneEmailAddress(FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"));
    QString answer;
    report.run(100, [&] { answer = platform.inputBox(QStringLiteral("Enter email to add: ")); });
    if (answer.isEmpty())
        return;
    if (IsAdmitted(answer)) {
        report.run(106, [&] { form.ListView1.append(answer); });
        return;
    }
    report.run(108, [&] {
        platform.messageBox(QStringLiteral("Invalid Email Address."), MessageButtons::Ok,
                            MessageIcon::None);
    });
}
