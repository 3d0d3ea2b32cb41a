#include "ListCommands.h"

#include "ErrorReport.h"
#include "FormState.h"

void RemoveSelectedEntry(const FormState& form, AddressListModel& list, int selectedRow) {
    if (form.isBusy() || list.isEmpty())
        return;
    if (selectedRow >= 0 && selectedRow < list.count())
        list.removeAt(selectedRow);
}

void ClearInputList(FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    report.run(100, [&] {
        if (!form.isBusy())
            form.ListView1.clear();
    });
}

void ClearResults(FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"));
    report.run(100, [&] { form.ListView2.clear(); });
}
