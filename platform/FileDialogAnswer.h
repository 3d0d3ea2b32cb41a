#pragma once

#include <QStringList>

// The open dialog's answer for files chosen together: the one path, or their
// deepest common folder followed by each path from there, NUL between them.
// Files from different folders so keep their subfolders in their names.
QString FileDialogAnswer(const QStringList& paths);
