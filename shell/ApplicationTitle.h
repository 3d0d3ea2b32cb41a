#pragma once

#include <QString>

inline const QString kProductName = QStringLiteral("Ambervale");

// The display name shortened word by word: the last word always goes, and
// further words while the title is longer than 40 characters. A name without
// a blank is its own title.
QString SetApplicationTitle(const QString& displayName);
