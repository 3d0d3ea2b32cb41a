#pragma once

#include <QString>

// Writes `count` generated addresses to a list file, one per line, LF-ended,
// in UTF-8. A list longer than a million is made of lists of a million, each
// with the next seed, so that no more than that is held at once. Answers the
// number of UTF-16 code units of the addresses (without line ends), or -1
// when the file cannot be written.
qint64 WriteAddressFile(const QString& path, qsizetype count, quint64 seed = 1);
