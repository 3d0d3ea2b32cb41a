#include "DatabaseRows.h"

namespace {
QStringView cut(QStringView value) {
    if (value.size() <= DatabaseRow::kStoredLength)
        return value;
    qsizetype length = DatabaseRow::kStoredLength;
    if (value[length - 1].isHighSurrogate() && value[length].isLowSurrogate())
        --length;
    return value.left(length);
}
} // namespace

QStringView DatabaseRow::stored(QStringView value, QString& buffer) {
    value = cut(value);
    if (!value.contains(u'"'))
        return value;
    buffer = value.toString();
    buffer.replace(u'"', u'\'');
    return buffer;
}

void DatabaseRow::fill(QStringView address) {
    const qsizetype first = address.indexOf(u'@');
    const qsizetype second = first < 0 ? -1 : address.indexOf(u'@', first + 1);
    const QStringView local = first < 0 ? address : address.left(first);
    const QStringView domain = first < 0    ? QStringView()
                               : second < 0 ? address.mid(first + 1)
                                            : address.mid(first + 1, second - first - 1);
    email_ = stored(address, emailBuffer_);
    localPart_ = stored(local, localPartBuffer_);
    domain_ = stored(domain, domainBuffer_);
}
