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
    const qsizetype before = d_->bytes.size();
    d_->bytes.append(text.data(), text.size());
    endEntry(before, quint64(d_->bytes.size()));
}

void AddressStore::appendText(QStringView text) {
    QByteArray& bytes = d_->bytes;
    const qsizetype before = bytes.size();
    if (!FitsLatin1(text)) {
        try {
            if (bytes.size() & 1)
                bytes.append('\0'); // keeps UTF-16 aligned
            bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        } catch (...) {
            bytes.resize(before);
            throw;
        }
        endEntry(before, quint64(bytes.size()) | kWide);
        return;
    }
    bytes.resize(before + text.size());
    char* out = bytes.data() + before;
    for (QChar c : text)
        *out++ = char(c.unicode());
    endEntry(before, quint64(bytes.size()));
}

void AddressStore::endEntry(qsizetype before, quint64 end) {
    try {
        d_->ends.append(end);
    } catch (...) {
        // Bytes without an end would become the start of the next entry.
        d_->bytes.resize(before);
        throw;
    }
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
