#pragma once

#include <QString>

// Reads the text as the program reads numbers in texts: a stored tick (its
// leading number), a stored method (True, False or a number) and the
// per-domain limit box (a number, rounded to a 16-bit integer). Gives an
// empty text when each agrees with a plain reading of the same text, else
// what differed.
QString CheckNumberText(const QString& text);
