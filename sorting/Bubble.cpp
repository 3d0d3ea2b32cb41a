#include "Bubble.h"

#include "BubbleReplay.h"
#include "ErrorReport.h"
#include "FormState.h"
#include "KeyOrder.h"
#include "Platform.h"
#include "SortKeys.h"
#include "SortProgress.h"

#include <algorithm>
#include <numeric>

namespace {
// The yield points of the sort, numbered from 0: each pass has one at its
// start and one before each of its comparisons. With k keys, the last pair
// index n is k - 2, and a pass makes n + 1 comparisons, also numbered from 0
// across passes.
class SortPoints {
public:
    SortPoints(FormState& form, Platform& platform, qsizetype keys)
        : form_(form), platform_(platform), clock_(platform.frameClock()),
          report_(platform, QStringLiteral("Bubble"), QStringLiteral("BubbleSort")),
          progress_(form), n_(keys - 2), perPass_(std::max<qint64>(n_ + 2, 1)) {}

    // While the order is being found, `share` of the work done: the points
    // of the first pass but its last share out the work, at least one a
    // call. When none is left (keys of huge length), the window still gets
    // its turns.
    bool whileSorting(double share);
    qint64 perPass() const { return perPass_; }
    // Passes over the points before `end`, yielding at those where a real
    // yield is due. False when StopSorting was found set after a yield, at
    // the first such yield.
    bool passTo(qint64 end);
    // StopSorting was set before the sort began.
    void stoppedBefore() { stoppedAt_ = next_; }
    // After a stop: passes on to the comparison that still follows, shows
    // its bar, and answers the passes made before it and its index j.
    std::pair<qint64, qsizetype> finishStop();
    // The bar after the last comparison of the last of `passes` passes.
    void showEnd(qint64 passes) {
        if (n_ >= 0)
            show(passes * (n_ + 1) - 1);
    }

private:
    void yieldAt(qint64 point);
    // The comparisons made before a point.
    qint64 comparisonsBefore(qint64 point) const {
        return point / perPass_ * (n_ + 1) + std::max<qint64>(point % perPass_ - 1, 0);
    }
    void show(qint64 comparison);

    FormState& form_;
    Platform& platform_;
    FrameClock& clock_;
    ErrorReport report_;
    SortProgress progress_;
    const qint64 n_;
    const qint64 perPass_;
    qint64 next_ = 0;       // the first point not passed yet
    qint64 shown_ = -1;     // the comparison whose bar was shown last
    qint64 stoppedAt_ = -1; // the point at which StopSorting takes effect
};

bool SortPoints::passTo(qint64 end) {
    while (next_ < end) {
        const qint64 due = clock_.firstDue(end - next_);
        if (due == end - next_) {
            next_ = end;
            break;
        }
        const qint64 point = next_ + due;
        next_ = point + 1;
        yieldAt(point);
        if (form_.globals.StopSorting && stoppedAt_ < 0) {
            stoppedAt_ = point;
            return false;
        }
    }
    return true;
}

// The window shows what the comparison before the point left, unless it
// was shown at an earlier yield already: a stop press meanwhile may have
// reset the bar, and nothing set it again since.
void SortPoints::yieldAt(qint64 point) {
    const qint64 last = comparisonsBefore(point) - 1;
    if (last >= 0 && last != shown_)
        show(last);
    report_.run(point % perPass_ == 0 ? 104 : 110, [this] { platform_.yield(); });
}

bool SortPoints::whileSorting(double share) {
    const qint64 last = perPass_ - 1;
    if (next_ < last)
        return passTo(std::clamp(qint64(share * double(last)), next_ + 1, last));
    platform_.yieldInsideCall();
    if (!form_.globals.StopSorting)
        return true;
    stoppedAt_ = next_;
    return false;
}

std::pair<qint64, qsizetype> SortPoints::finishStop() {
    // The point itself may be still to come; after the start of a pass, the
    // yield before its first comparison follows too.
    const qint64 point = stoppedAt_;
    passTo(point + (point % perPass_ == 0 ? 2 : 1));
    const qint64 comparison = comparisonsBefore(point);
    show(comparison);
    return {comparison / (n_ + 1), qsizetype(comparison % (n_ + 1))};
}

void SortPoints::show(qint64 comparison) {
    shown_ = comparison;
    progress_.sorting(comparison / (n_ + 1) + 1, n_, comparison % (n_ + 1));
}

std::vector<quint32> inputOrder(qsizetype keys) {
    std::vector<quint32> order(size_t(keys), 0);
    std::iota(order.begin(), order.end(), 0);
    return order;
}
} // namespace

std::vector<quint32> BubbleSort(const SortKeys& keys, FormState& form, Platform& platform) {
    const qsizetype k = keys.count();
    SortPoints points(form, platform, k);
    if (k < 2) {
        points.passTo(1); // one pass without comparisons
        return inputOrder(k);
    }
    // After a stop the bar is final: the window may have its turns.
    const auto turn = [&platform] { platform.yieldInsideCall(); };
    std::optional<std::vector<quint32>> sorted;
    if (form.globals.StopSorting) {
        points.stoppedBefore();
    } else {
        sorted = SortedKeyOrder(keys, [&](double share) { return points.whileSorting(share); });
    }
    if (!sorted) { // stopped in the first pass, before the order was known
        const qsizetype last = points.finishStop().second;
        std::vector<quint32> order = inputOrder(k);
        PartialPass(
            order, last, [&](quint32 a, quint32 b) { return CompareKeys(keys, a, b) > 0; }, turn);
        return order;
    }
    BubbleReplay replay(std::move(*sorted));
    if (points.passTo(replay.passes() * points.perPass())) {
        points.showEnd(replay.passes());
        return replay.takeSorted();
    }
    const auto [fullPasses, last] = points.finishStop();
    return replay.orderAt(fullPasses, last, turn);
}
