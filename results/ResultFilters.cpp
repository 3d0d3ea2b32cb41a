#include "ResultFilters.h"

#include "ErrorReport.h"
#include "FormState.h"
#include "LowerCaseSearch.h"
#include "Platform.h"

namespace {
// One pass that keeps the survivors in order: removing entries one by one
// would move the rest of the list for each of them.
void removeWhere(AddressListModel& results, const QString& text, bool containing) {
    LowerCaseSearch search(text);
    results.retainIf([&](QAnyStringView entry) { return search.foundIn(entry) != containing; });
}

using Filter = void (*)(AddressListModel&, const QString&);

void askAndFilter(FormState& form, Platform& platform, const QString& procedure,
                  const QString& prompt, Filter filter) {
    ErrorReport report(platform, QStringLiteral("Form1"), procedure);
    QString text;
    report.run(100, [&] { text = platform.inputBox(prompt); });
    if (text.isEmpty())
        return;
    form.setMousePointer(MousePointer::Busy);
    if (!form.ListView2.isEmpty()) {
        report.run(112, [&] { filter(form.ListView2, text); });
    } else {
        report.run(118, [&] {
            platform.messageBox(QStringLiteral("There are no results to remove."),
                                MessageButtons::Ok, MessageIcon::None);
        });
    }
    form.setMousePointer(MousePointer::Default);
}
} // namespace

void RemoveResultsContaining(AddressListModel& results, const QString& text) {
    removeWhere(results, text, true);
}

void RemoveResultsNotContaining(AddressListModel& results, const QString& text) {
    removeWhere(results, text, false);
}

void RemoveResultsContainingX(FormState& form, Platform& platform) {
    askAndFilter(form, platform, QStringLiteral("PushButton22_Click"),
                 QStringLiteral("Remove results containing this text: "), RemoveResultsContaining);
}

void RemoveResultsNotContainingX(FormState& form, Platform& platform) {
    askAndFilter(form, platform, QStringLiteral("PushButton23_Click"),
                 QStringLiteral("Remove results not containing this text: "),
                 RemoveResultsNotContaining);
}
