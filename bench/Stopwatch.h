#pragma once

#include <QElapsedTimer>
#include <QString>
#include <ctime>

// Wall-clock seconds, and the processor seconds this process used meanwhile:
// on a busy machine the second shows what the code itself costs.
class Stopwatch {
public:
    Stopwatch() {
        wall_.start();
        cpu_ = std::clock();
    }
    double seconds() const { return double(wall_.nsecsElapsed()) / 1e9; }
    double cpuSeconds() const { return double(std::clock() - cpu_) / CLOCKS_PER_SEC; }
    QString cpuNote() const { return QStringLiteral("cpu %1 s").arg(cpuSeconds(), 0, 'f', 3); }

private:
    QElapsedTimer wall_;
    std::clock_t cpu_;
};
