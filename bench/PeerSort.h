#pragma once

#include <QString>
#include <QStringList>

struct PeerTime {
    double seconds = 0;
    double cpuSeconds = 0; // of the program, all its threads
    bool ok = false;
};

// Runs the command (a program on the search path or a path, then its
// arguments) with its standard output in the file `output`, and times it.
// With cLocale, in the C locale instead of the one of this process.
PeerTime RunTimed(const QStringList& command, const QString& output, bool cLocale = false);

// Runs `LC_ALL=C sort -t@ -k2,2 -k1,1 -s input > output`, the yardstick of
// the database method: domain, then local part, byte order, stable.
PeerTime RunPeerSort(const QString& input, const QString& output);
