#pragma once

#include "FormState.h"
#include "Platform.h"

#include <QString>
#include <cmath>
#include <utility>
#include <vector>

// A yield point of the step by step: a real yield where the clock says so.
inline void YieldIfDue(Platform& platform) {
    if (platform.frameClock().due())
        platform.yield();
}

// The bar as the comparisons of the step-by-step sort set it. Nothing can
// see it between two yields, so it reaches the form just before a yield and
// at the end, and only when a comparison has set it since: a stop press at
// the last yield may have reset it.
class StepByStepBar {
public:
    StepByStepBar(FormState& form, qsizetype n) : form_(form), n_(n) {}
    void set(qsizetype pass, qsizetype j) {
        pass_ = pass;
        j_ = j;
        dirty_ = true;
    }
    void flush() {
        if (!dirty_)
            return;
        dirty_ = false;
        if (n_ > 0)
            form_.setProgressValue(std::floor(double(j_) / n_ * 100));
        form_.setProgressText(
            QStringLiteral("Step 2 of 3: Sorting, loop %1 of %2, please wait... %3")
                .arg(pass_)
                .arg(n_)
                .arg(j_));
    }
    void yieldIfDue(Platform& platform) {
        if (!platform.frameClock().due())
            return;
        flush();
        platform.yield();
    }

private:
    FormState& form_;
    qsizetype n_, pass_ = 0, j_ = 0;
    bool dirty_ = false;
};

// The text method's exchange sort made comparison by comparison, as
// described, on elements ordered by keyOf(element): a yield before every
// pass and every comparison, the bar set by every comparison, StopSorting
// tested after every comparison and after every pass. Quadratic: the
// reference that the program's sort must match.
template <class T, class KeyOf>
void StepByStepBubbleSort(std::vector<T>& elements, KeyOf keyOf, FormState& form,
                          Platform& platform) {
    qsizetype pass = 1;
    const qsizetype n = qsizetype(elements.size()) - 2;
    StepByStepBar bar(form, n);
    for (;;) {
        bar.yieldIfDue(platform);
        bool swapped = false;
        for (qsizetype j = 0; j <= n; ++j) {
            bar.yieldIfDue(platform);
            bar.set(pass, j);
            if (keyOf(elements[size_t(j)]) > keyOf(elements[size_t(j + 1)])) {
                swapped = true;
                std::swap(elements[size_t(j)], elements[size_t(j + 1)]);
            }
            if (form.globals.StopSorting)
                break;
        }
        ++pass;
        if (form.globals.StopSorting || !swapped)
            break;
    }
    bar.flush();
}
