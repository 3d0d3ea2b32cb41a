#include "DatabaseRows.h"

#include "AddressStore.h"
#include "TextWidth.h"

namespace {
QStringView cut(QStringView value) {
    if (value.size() <= DatabaseRow::kStoredLength)
        return value;
    qsizetype length = DatabaseRow::kStoredLength;
    if (value[length - 1].isHighSurrogate() && value[length].isLowSurrogate())
        --length;
    return value.first(length);
}

// ASCII has no surrogates to keep together.
QByteArrayView cut(QByteArrayView value) {
    return value.size() <= DatabaseRow::kStoredLength ? value
                                                      : value.first(DatabaseRow::kStoredLength);
}

qsizetype find(QStringView text, char16_t c, qsizetype from = 0) {
    return text.indexOf(QChar(c), from);
}

qsizetype find(QByteArrayView text, char16_t c, qsizetype from = 0) {
    return text.indexOf(char(c), from);
}

QAnyStringView replaced(QStringView value, QString& buffer) {
    buffer = value.toString();
    buffer.replace(u'"', u'\'');
    return buffer;
}

QAnyStringView replaced(QByteArrayView value, QByteArray& buffer) {
    buffer = value.toByteArray();
    buffer.replace('"', '\'');
    return QUtf8StringView(buffer);
}
} // namespace

template <class View> QAnyStringView DatabaseRow::stored(View value, int buffer) {
    value = cut(value);
    if constexpr (std::is_same_v<View, QStringView>) {
        if (find(value, u'"') >= 0)
            return replaced(value, wideBuffers_[buffer]);
        return value;
    } else {
        if (find(value, u'"') >= 0)
            return replaced(value, asciiBuffers_[buffer]);
        return QUtf8StringView(value.data(), value.size());
    }
}

template <class View> void DatabaseRow::split(View address) {
    const qsizetype first = find(address, u'@');
    const qsizetype second = first < 0 ? -1 : find(address, u'@', first + 1);
    const View local = first < 0 ? address : address.first(first);
    const View domain = first < 0    ? View()
                        : second < 0 ? address.sliced(first + 1)
                                     : address.sliced(first + 1, second - first - 1);
    email_ = stored(address, 0);
    localPart_ = stored(local, 1);
    domain_ = stored(domain, 2);
}

void DatabaseRow::fill(QAnyStringView address) {
    VisitText(address, [this](auto view) {
        if constexpr (std::is_same_v<decltype(view), QLatin1StringView>) {
            // ASCII is UTF-8 as it stands; the rest of Latin-1 is not.
            const QByteArrayView bytes(view.data(), view.size());
            if (IsAscii(bytes)) {
                split(bytes);
            } else {
                widened_ = QString(view);
                split(QStringView(widened_));
            }
        } else {
            split(view);
        }
    });
}
