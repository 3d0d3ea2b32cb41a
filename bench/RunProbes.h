#pragma once

#include "BenchRun.h"

#include <QString>

// One press of "Start Sorting" to "Done.", with the steps' times.
struct SortFigures {
    double seconds = 0;
    double cpuSeconds = 0;
    double gapMs = 0;
    qsizetype results = 0;
    QString steps;
    QString failure; // a box other than "Done."
};

SortFigures SortOnce(BenchRun& r);

// A click on the sort button `afterNs` into the step whose bar text starts
// with `step`. Like a real one it waits for the window's next turn.
struct StopFigures {
    double waitedMs = -1; // from the click to its handling
    double endedMs = -1;  // from the click to "Done."
};

StopFigures StopDuring(BenchRun& r, const QString& step, qint64 afterNs);
