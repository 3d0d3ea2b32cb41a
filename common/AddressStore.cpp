#include "AddressStore.h"

#include "TextWidth.h"

AddressStore::AddressStore() : d_(std::make_shared<Data>()) {}

void AddressStore::detach() {
    if (d_.use_count() > 1)
        d_ = std::make_shared<Data>(*d_);
}

void AddressStore::append(QAnyStringView text) {
    detach();
    VisitText(text, [this](auto view) { appendText(view); });
}

void AddressStore::appendText(QLatin1StringView text) {
    d_->bytes.append(text.data(), text.size());
    d_->ends.append(quint64(d_->bytes.size()));
}

void AddressStore::appendText(QStringView text) {
    QByteArray& bytes = d_->bytes;
    if (!FitsLatin1(text)) {
        if (bytes.size() & 1)
            bytes.append('\0'); // keeps UTF-16 aligned
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        d_->ends.append(quint64(bytes.size()) | kWide);
        return;
    }
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    char* out = bytes.data() + start;
    for (QChar c : text)
        *out++ = char(c.unicode());
    d_->ends.append(quint64(bytes.size()));
}

void AddressStore::removeAt(qsizetype i) {
    compact(i, [i](qsizetype index, QAnyStringView) { return index != i; });
}

void AddressStore::clear() {
    d_ = std::make_shared<Data>();
}

void AddressStore::reserve(qsizetype entries, qsizetype chars) {
    detach();
    d_->ends.reserve(entries);
    d_->bytes.reserve(chars);
}

qsizetype AddressStore::memoryUsed() const {
    return d_->bytes.capacity() + d_->ends.memoryUsed();
}
