#include "SortRun.h"

#include "ErrorReport.h"
#include "FormState.h"
#include "PerDomainLimit.h"
#include "Platform.h"

SortRun::SortRun(FormState& form, Platform& platform, SortMethods methods)
    : form_(form), platform_(platform), methods_(std::move(methods)) {}

void SortRun::PushButton17_Click() {
    ErrorReport report(platform_, QStringLiteral("Form1"), QStringLiteral("PushButton17_Click"));
    bool stop = false;
    report.run(100, [&] { stop = form_.sortCaption() != kStartSorting; });
    if (stop)
        stopPress(report);
    else
        startPress(report);
}

void SortRun::stopPress(ErrorReport& report) {
    bool sorting = false;
    report.run(102, [&] { sorting = form_.sortCaption() == kStopSorting; });
    if (sorting) {
        report.run(104, [&] { form_.globals.StopSorting = true; });
    } else {
        bool adding = false;
        report.run(106, [&] { adding = form_.sortCaption() == kStopAdding; });
        if (adding)
            report.run(108, [&] { form_.globals.StopAdding = true; });
    }
    report.run(110, [&] { form_.setSortCaption(kStartSorting); });
    report.run(112, [&] { form_.setMousePointer(MousePointer::Default); });
    report.run(114, [&] { form_.setProgressValue(0); });
    report.run(116, [&] { form_.setProgressText(kProgressBarRest); });
}

void SortRun::startPress(ErrorReport& report) {
    // After a stop press the caption reads "Start Sorting" while the stopped
    // run still winds down: a second run must not start inside it.
    if (active_)
        return;
    bool any = false;
    report.run(124, [&] { any = !form_.ListView1.isEmpty(); });
    if (any && refusesLimit(report))
        return;
    active_ = true;
    report.run(118, [&] { form_.setSortCaption(kStopSorting); });
    report.run(120, [&] { form_.globals.StopSorting = false; });
    report.run(122, [&] { form_.globals.StopAdding = false; });
    if (any) {
        report.run(126, [&] { form_.ListView2.clear(); });
        report.run(128, [&] { form_.setMousePointer(MousePointer::Busy); });
        runMethod(report);
        report.run(142, [&] { form_.setMousePointer(MousePointer::Default); });
        report.run(144, [&] { form_.setProgressValue(0); });
        report.run(146, [&] { form_.setProgressText(kProgressBarRest); });
        report.run(148, [&] {
            platform_.messageBox(QStringLiteral("Done."), MessageButtons::Ok, MessageIcon::None);
        });
    } else {
        report.run(150, [&] {
            platform_.messageBox(QStringLiteral("You forgot to add email in the list."),
                                 MessageButtons::Ok, MessageIcon::None);
        });
    }
    report.run(152, [&] { form_.setSortCaption(kStartSorting); });
    active_ = false;
}

// With the per-domain limit ticked, a run starts only on a number in the box.
bool SortRun::refusesLimit(ErrorReport& report) {
    bool refused = false;
    report.run(118, [&] { refused = form_.check2() && !IsNumeric(form_.text1()); });
    if (!refused)
        return false;
    // The focus goes back first: a leave of the box that this press caused needs no
    // message of its own, also while this one is open.
    form_.focusText1();
    report.run(118, [&] {
        platform_.messageBox(QStringLiteral("You must input numeric entry."), MessageButtons::Ok,
                             MessageIcon::None);
    });
    return true;
}

// The one place that picks the processing method.
void SortRun::runMethod(ErrorReport& report) {
    bool option1 = false;
    report.run(130, [&] { option1 = form_.option1(); });
    if (option1) {
        bool database = false;
        report.run(132, [&] {
            database = form_.globals.DatabaseEngineAvailable && bool(methods_.database);
        });
        if (database)
            report.run(134, [&] { methods_.database(form_, platform_); });
        else
            report.run(136, [&] { methods_.text(form_, platform_); });
        return;
    }
    bool option2 = false;
    report.run(138, [&] { option2 = form_.option2(); });
    if (option2)
        report.run(140, [&] { methods_.text(form_, platform_); });
}
