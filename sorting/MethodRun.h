#pragma once

#include "DomainLimit.h"
#include "ErrorReport.h"
#include "FormState.h"
#include "Platform.h"
#include "SortProgress.h"

// What one call of either sort method works with: the window state, the
// platform and its clock, the method's own error report, the bar, and the
// per-domain limit as the box reads when the run starts.
class MethodRun {
protected:
    MethodRun(FormState& form, Platform& platform, const QString& procedure)
        : form_(form), platform_(platform), clock_(platform.frameClock()),
          report_(platform, QStringLiteral("Sorting"), procedure), progress_(form),
          limit_(form.text1()) {}

    FormState& form_;
    Platform& platform_;
    FrameClock& clock_;
    ErrorReport report_;
    SortProgress progress_;
    DomainLimit limit_;
};
