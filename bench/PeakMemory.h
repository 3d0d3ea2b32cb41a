#pragma once

#include <QtGlobal>

// The most memory the process has held since the last reset, in bytes, as
// the kernel counts it (resident set high-water mark); 0 when unknown.
qint64 PeakMemory();
// What the process holds now (resident set), in bytes; 0 when unknown.
qint64 CurrentMemory();
// Starts the high-water mark afresh at what the process holds now; false
// when the kernel does not allow it (the figures then cover the whole run).
bool ResetPeakMemory();
