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
    return value.left(length);
}

// Latin-1 has no surrogates to keep together.
QLatin1StringView cut(QLatin1StringView value) {
    return value.left(DatabaseRow::kStoredLength);
}

QAnyStringView replaced(QStringView value, QString& buffer) {
    buffer = value.toString();
    buffer.replace(u'"', u'\'');
    return buffer;
}

QAnyStringView replaced(QLatin1StringView value, QByteArray& buffer) {
    buffer = QByteArray(value.data(), value.size());
    buffer.replace('"', '\'');
    return QUtf8StringView(buffer);
}
} // namespace

template <class View> QAnyStringView DatabaseRow::stored(View value, int buffer) {
    value = cut(value);
    if constexpr (std::is_same_v<View, QStringView>) {
        if (value.contains(u'"'))
            return replaced(value, wideBuffers_[buffer]);
        return value;
    } else {
        if (value.contains(u'"'))
            return replaced(value, asciiBuffers_[buffer]);
        return QUtf8StringView(value.data(), value.size());
    }
}

template <class View> void DatabaseRow::split(View address) {
    const qsizetype first = address.indexOf(u'@');
    const qsizetype second = first < 0 ? -1 : address.indexOf(u'@', first + 1);
    const View local = first < 0 ? address : address.left(first);
    const View domain = first < 0    ? View()
                        : second < 0 ? address.mid(first + 1)
                                     : address.mid(first + 1, second - first - 1);
    email_ = stored(address, 0);
    localPart_ = stored(local, 1);
    domain_ = stored(domain, 2);
}

void DatabaseRow::fill(QAnyStringView address) {
    VisitText(address, [this](auto view) {
        if constexpr (std::is_same_v<decltype(view), QLatin1StringView>) {
            // ASCII is UTF-8 as it stands; the rest of Latin-1 is not.
            if (!IsAscii(QByteArrayView(view.data(), view.size()))) {
                widened_ = QString(view);
                split(QStringView(widened_));
                return;
            }
        }
        split(view);
    });
}
