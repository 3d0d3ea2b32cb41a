#include "PathNames.h"

QString FileNameFromPath(const QString& path, QChar separator) {
    return path.mid(path.lastIndexOf(separator) + 1);
}

namespace {
QString collapsePairs(QStringView text, QChar separator) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text[i]);
        if (text[i] == separator && i + 1 < text.size() && text[i + 1] == separator)
            ++i;
    }
    return out;
}
} // namespace

QString CollapseDoubleBackslashes(const QString& path, QChar separator) {
    if (!path.startsWith(separator))
        return collapsePairs(path, separator);
    qsizetype k = 1;
    while (k < path.size() && path[k] == separator)
        ++k;
    return QString(2, separator) + collapsePairs(QStringView(path).mid(k), separator);
}
