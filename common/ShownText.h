#pragma once

#include <QAnyStringView>
#include <QString>

// The most characters of one entry that any row shows or reads out. Laying
// out a text costs time in its length (and Qt's layout fails on texts of
// hundreds of megabytes), so an entry is shown from its start, cut here.
inline constexpr qsizetype kMostShownChars = 8192;

// The text as a line of at most `chars` characters shows it: whole when it
// fits, otherwise its start (never half a surrogate pair) and an ellipsis.
QString ShownStart(QAnyStringView text, qsizetype chars = kMostShownChars);
