#include "BenchPlatform.h"

#include <QCoreApplication>
#include <algorithm>

BenchPlatform::BenchPlatform(const QString& root) : ScriptedPlatform(root) {
    setYieldStride(kFrameYieldStride);
    startRun();
}

void BenchPlatform::startRun() {
    longestGapNs_ = 0;
    yieldCount = 0;
    sinceYield_.start();
}

void BenchPlatform::yield() {
    longestGapNs_ = std::max(longestGapNs_, sinceYield_.nsecsElapsed());
    QCoreApplication::processEvents();
    ScriptedPlatform::yield();
    sinceYield_.restart();
}

bool BenchPlatform::isYieldDue() {
    return sinceYield_.elapsed() >= kFrameYieldIntervalMs;
}

qsizetype BenchPlatform::firstYieldDue(qsizetype points) {
    return points > 0 && isYieldDue() ? 0 : points;
}
