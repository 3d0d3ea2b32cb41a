#include "FrameClock.h"

#include <algorithm>
#include <chrono>

FrameClock::FrameClock(qint64 intervalMs, int stride, Milliseconds now)
    : intervalMs_(intervalMs), stride_(std::max(stride, 1)), countdown_(stride_),
      now_(std::move(now)) {
    restart();
}

FrameClock FrameClock::scripted(int stride, Pattern pattern) {
    FrameClock clock(0, stride);
    clock.pattern_ = std::move(pattern);
    return clock;
}

qsizetype FrameClock::firstDue(qsizetype points) {
    if (points <= 0)
        return points;
    if (intervalMs_ > 0 && !pattern_) {
        --countdown_; // the first point is asked
        if (look())
            return 0;
        countdown_ -= points - 1;
        return points;
    }
    qsizetype asked = 0;
    while (asked < points) {
        if (points - asked < countdown_) {
            countdown_ -= points - asked;
            return points;
        }
        asked += std::max<qint64>(countdown_, 1); // up to where the countdown runs out
        countdown_ = std::min<qint64>(countdown_, 1) - 1;
        if (look())
            return asked - 1;
    }
    return points;
}

void FrameClock::restart() {
    if (intervalMs_ > 0)
        lastYieldMs_ = now_();
}

qint64 FrameClock::steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
