#pragma once

#include <QCursor>
#include <optional>

// Loads a Windows .cur file with its hot spot (Qt reads the image but drops
// the hot spot). Nothing when the file cannot be read as a cursor.
std::optional<QCursor> LoadCursorFile(const QString& path);
