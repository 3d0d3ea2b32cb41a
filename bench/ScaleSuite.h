#pragma once

#include "BenchRun.h"

#include <QStringList>

struct ScaleOptions {
    int runs = 3;      // each figure is the median of this many
    QStringList cases; // empty: all
    QString program;   // this benchmark, started again for the memory case
};

// The figures at the sizes real mailing lists reach, each beside its
// yardstick and target, printed as one table. Answers false when a run went
// wrong (not when a target is missed).
bool RunScaleSuite(const ScaleOptions& options);

// The memory case in a process of its own: loads the list file, sorts it
// with a method (in the main window, or on its state alone) and prints the
// peak memory and the text size.
int RunMemoryChild(const QString& listFile, bool window, BenchRun::Method method);
