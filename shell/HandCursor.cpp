#include "HandCursor.h"

#include <QFile>
#include <QPixmap>
#include <QtEndian>

std::optional<QCursor> LoadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(14);
    QPixmap image;
    if (header.size() < 14 || !image.load(path, "cur"))
        return std::nullopt;
    // First directory entry: hot spot x at bytes 10-11, y at bytes 12-13.
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    return QCursor(image, qFromLittleEndian<quint16>(bytes + 10),
                   qFromLittleEndian<quint16>(bytes + 12));
}
