#pragma once

#include <QCursor>

class QIODevice;

// Reads a Windows .cur file with its hot spot (Qt reads the image but drops
// the hot spot). Throws AppError when the bytes are not a cursor picture.
QCursor LoadCursorFile(QIODevice& file);
