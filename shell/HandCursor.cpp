#include "HandCursor.h"

#include "AppError.h"

#include <QIODevice>
#include <QPixmap>
#include <QtEndian>

namespace {
// readAll() would hand back a file cut short by a failing read as if whole.
QByteArray readWhole(QIODevice& file) {
    QByteArray bytes;
    char chunk[4096];
    for (qint64 got; (got = file.read(chunk, sizeof chunk)) != 0;) {
        if (got < 0)
            throw AppError(file.errorString());
        bytes.append(chunk, got);
    }
    return bytes;
}
} // namespace

QCursor LoadCursorFile(QIODevice& file) {
    const QByteArray bytes = readWhole(file);
    QPixmap image;
    if (bytes.size() < 14 || !image.loadFromData(bytes, "cur"))
        throw AppError(QStringLiteral("Invalid picture"), 481);
    // First directory entry: hot spot x at bytes 10-11, y at bytes 12-13.
    const auto* header = reinterpret_cast<const uchar*>(bytes.constData());
    return QCursor(image, qFromLittleEndian<quint16>(header + 10),
                   qFromLittleEndian<quint16>(header + 12));
}
