#include "AddressFile.h"

#include "AddressGenerator.h"

#include <QFile>
#include <algorithm>

qint64 WriteAddressFile(const QString& path, qsizetype count, quint64 seed) {
    constexpr qsizetype kChunk = 1'000'000;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;
    qint64 chars = 0;
    for (qsizetype done = 0; done < count; done += kChunk, ++seed) {
        QByteArray text;
        for (const QString& address : GenerateAddresses(std::min(kChunk, count - done), seed)) {
            chars += address.size();
            text += address.toUtf8();
            text += '\n';
        }
        if (file.write(text) != text.size())
            return -1;
    }
    return file.flush() ? chars : -1;
}
