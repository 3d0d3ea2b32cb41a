#pragma once

#include <QChar>
#include <QString>

// The text after the last separator; the whole text when there is none.
QString FileNameFromPath(const QString& path, QChar separator = u'/');

// Tidies a path joined from a folder and a name: pairs of separators become
// one, and a leading run (a network path) becomes exactly two.
QString CollapseDoubleBackslashes(const QString& path, QChar separator = u'/');
