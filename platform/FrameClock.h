#pragma once

#include <QtGlobal>
#include <functional>
#include <limits>

// Decides at which of a loop's yield points the window really gets a turn.
// A window needs one about once a frame; a million turns would cost seconds
// of event processing. Asking is a countdown: the time is looked at only once
// every `stride` points. A clock without an interval finds every point it
// looks at due: with a stride of 1, each yield point is a real yield.
class FrameClock {
public:
    using Milliseconds = std::function<qint64()>;
    using Pattern = std::function<bool()>;

    static constexpr qint64 kFrameMs = 12;
    static constexpr int kFrameStride = 64;

    // Every point due.
    FrameClock() = default;
    // Due once intervalMs have passed since the last real yield; `now` tells the time.
    FrameClock(qint64 intervalMs, int stride, Milliseconds now = steadyMilliseconds);
    // About once a frame, on the steady clock.
    static FrameClock perFrame() { return FrameClock(kFrameMs, kFrameStride); }
    // Due at the looks where `pattern` answers yes, whatever the time: a
    // scripted clock, asked at every look as if each point were asked alone.
    static FrameClock scripted(int stride, Pattern pattern);
    // No point due: a run without a window has nobody to give a turn to. Asking stays
    // a countdown that almost never ends, and the time is never read.
    static FrameClock never() {
        return scripted(std::numeric_limits<int>::max(), [] { return false; });
    }

    // Is this yield point a real yield?
    bool due() {
        if (--countdown_ > 0)
            return false;
        return look();
    }
    // The same question for a run of `points` yield points at once: answers
    // the index of the first of them that is due, or `points` when none is;
    // the points up to the answer count as asked. A clock on the time looks
    // once a run, at its first point, whatever the countdown: the points of a
    // run follow each other within microseconds, but one run may stand for
    // much work (the sort's first pass shares its points out among calls
    // thousands of steps apart). A clock without the time asks as if point
    // by point.
    qsizetype firstDue(qsizetype points);
    // Is a turn due now? Looks at once, past the countdown, which it leaves
    // as it is: for callers that ask rarely.
    bool dueNow() const {
        if (pattern_)
            return pattern_();
        return intervalMs_ <= 0 || now_() - lastYieldMs_ >= intervalMs_;
    }
    // A real yield has just ended: the next frame starts now.
    void restart();

    // Yield points asked since the clock was made.
    qint64 pointsAsked() const { return asked_ + stride_ - countdown_; }

    static qint64 steadyMilliseconds();

private:
    bool look() {
        asked_ = pointsAsked();
        countdown_ = stride_;
        return dueNow();
    }

    qint64 intervalMs_ = 0;
    qint64 stride_ = 1;
    qint64 countdown_ = 1; // points until the next look
    qint64 asked_ = 0;     // points asked up to the last look
    Milliseconds now_;
    qint64 lastYieldMs_ = 0;
    Pattern pattern_;
};
