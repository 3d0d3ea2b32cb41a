#include "FileDialogAnswer.h"

#include <QDir>
#include <QFileInfo>

QString FileDialogAnswer(const QStringList& paths) {
    if (paths.size() < 2)
        return paths.value(0);
    QString folder = QFileInfo(paths.first()).path();
    for (const QString& path : paths) {
        while (!path.startsWith(folder + u'/') && folder != QDir::rootPath())
            folder = QFileInfo(folder).path();
    }
    QStringList parts{folder};
    const QDir common(folder);
    for (const QString& path : paths)
        parts << common.relativeFilePath(path);
    return parts.join(QChar(u'\0'));
}
