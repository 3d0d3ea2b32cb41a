#include "FrameClock.h"

#include <algorithm>
#include <chrono>

FrameClock::FrameClock(qint64 intervalMs, int stride, Milliseconds now)
    : intervalMs_(intervalMs), stride_(std::max(stride, 1)), countdown_(stride_),
      now_(std::move(now)) {
    restart();
}

qsizetype FrameClock::firstDue(qsizetype points) {
    if (points <= 0)
        return points;
    if (points < countdown_) {
        countdown_ -= points;
        return points;
    }
    const qsizetype first = std::max<qint64>(countdown_, 1) - 1; // where the countdown runs out
    countdown_ -= first + 1;
    if (look())
        return first;
    countdown_ -= points - first - 1;
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
