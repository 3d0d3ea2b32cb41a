#include "SortRun.h"

#include "ErrorReport.h"
#include "FormState.h"
#include "PerDomainLimit.h"
#include "Platform.h"

#include <utility>

SortRun::SortRun(FormState& form, Platform& platform, SortMethods methods)
    : form_(form), platform_(platform), methods_(std::move(methods)) {}

void SortRun::PushButton17_Click() {
    ErrorReport report(platform_, QStringLiteral("Form1"), QStringLiteral("PushButton17_Click"));
    if (form_.sortCaption() != kStartSorting)
        stopPress();
    else
        startPress(report);
}

void SortRun::stopPress() {
    if (form_.sortCaption() == kStopSorting)
        form_.globals.StopSorting = true;
    else if (form_.sortCaption() == kStopAdding)
        form_.globals.StopAdding = true;
    form_.setSortCaption(kStartSorting);
    showAtRest();
}

void SortRun::startPress(ErrorReport& report) {
    // After a stop press the caption reads "Start Sorting" while the stopped
    // run still winds down: a second run must not start inside it.
    if (form_.sortRunActive())
        return;
    const bool any = !form_.ListView1.isEmpty();
    if (any && refusesLimit(report))
        return;
    form_.sortRunActive_ = true;
    form_.setSortCaption(kStopSorting);
    form_.globals.StopSorting = false;
    form_.globals.StopAdding = false;
    if (any) {
        form_.ListView2.clear();
        form_.setMousePointer(MousePointer::Busy);
        runMethod(report);
        showAtRest();
        tell(report, 148, QStringLiteral("Done."));
    } else {
        tell(report, 150, QStringLiteral("You forgot to add email in the list."));
    }
    form_.setSortCaption(kStartSorting);
    form_.sortRunActive_ = false;
}

// With the per-domain limit ticked, a run starts only on a number in the box.
bool SortRun::refusesLimit(ErrorReport& report) {
    if (!form_.check2() || IsNumeric(form_.text1()))
        return false;
    // The focus goes back first: a leave of the box that this press caused needs no
    // message of its own, also while this one is open.
    form_.focusText1();
    tell(report, 118, QStringLiteral("You must input numeric entry."));
    return true;
}

// The one place that picks the processing method.
void SortRun::runMethod(ErrorReport& report) {
    const auto run = [&](int statement, const SortMethod& method) {
        report.run(statement, [&] { method(form_, platform_); });
    };
    if (form_.option1()) {
        if (form_.globals.DatabaseEngineAvailable && methods_.database)
            run(134, methods_.database);
        else
            run(136, methods_.text);
    } else if (form_.option2()) {
        run(140, methods_.text);
    }
}

void SortRun::showAtRest() {
    form_.setMousePointer(MousePointer::Default);
    form_.setProgressValue(0);
    form_.setProgressText(kProgressBarRest);
}

void SortRun::tell(ErrorReport& report, int statement, const QString& text) {
    report.run(statement,
               [&] { platform_.messageBox(text, MessageButtons::Ok, MessageIcon::None); });
}
