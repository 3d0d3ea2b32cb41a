#pragma once

#include "SortMethods.h"

#include <QString>

class ErrorReport;

// The sort button. A press on "Start Sorting" runs a whole sort and tidies
// up after it; a press while the caption reads "Stop Sorting" or "Stop
// Adding" only raises the matching stop flag and makes the window look idle,
// and the running method winds down by itself. Presses arrive nested inside
// the running sort, whenever it yields.
class SortRun {
public:
    SortRun(FormState& form, Platform& platform, SortMethods methods = {});

    void PushButton17_Click();

private:
    void stopPress();
    void startPress(ErrorReport& report);
    bool refusesLimit(ErrorReport& report);
    void runMethod(ErrorReport& report);
    void showAtRest();
    void tell(ErrorReport& report, int statement, const QString& text);

    FormState& form_;
    Platform& platform_;
    SortMethods methods_;
};
