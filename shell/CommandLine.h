#pragma once

#include "BatchRequest.h"

#include <QStringList>

// What the program's arguments ask for. They are read twice: first as main()
// got them, before Qt looks for a display, where only what needs no window
// counts (--help, --version, --batch); then once QApplication has taken out
// its own options (-style, -platform ...), when the rest must be ours.
struct CommandLine {
    enum class Mode {
        Window,   // open the window and load `files` into the input list
        Answer,   // print `text` on standard output and end with status 0
        BadUsage, // print `text` on standard error and end with status 2
        Batch,    // sort as `batch` asks, without a window
    };
    Mode mode = Mode::Window;
    QString text;
    QStringList files; // absolute paths, in the order given
    BatchRequest batch;
    // Decided before Qt looks for a display (--help, --version, --batch).
    bool windowless = false;
};

// arguments: the program's name first, as QCoreApplication::arguments() has them.
CommandLine ReadCommandLine(const QStringList& arguments);

// Prints an Answer or BadUsage and returns the status the program ends with.
int EndWith(const CommandLine& commandLine);
