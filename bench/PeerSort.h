#pragma once

#include <QString>

struct PeerTime {
    double seconds = 0;
    double cpuSeconds = 0; // of the tool, all its threads
    bool ok = false;
};

// Runs `LC_ALL=C sort -t@ -k2,2 -k1,1 -s input -o output`, the yardstick of
// the database method: domain, then local part, byte order, stable.
PeerTime RunPeerSort(const QString& input, const QString& output);
