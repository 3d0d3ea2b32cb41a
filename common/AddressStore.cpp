#include "AddressStore.h"

#include "TextWidth.h"

#include <limits>
#include <new>

AddressStore::AddressStore() : d_(std::make_shared<Data>()) {}

void AddressStore::detach() {
    if (d_.use_count() > 1)
        d_ = std::make_shared<Data>(*d_);
}

void AddressStore::appendBytes(const void* text, quint32 length, qsizetype bytes) {
    detach();
    std::vector<char>& buffer = d_->bytes;
    if (length & kWide)
        buffer.resize(buffer.size() + (buffer.size() & 1)); // keeps UTF-16 aligned
    d_->offsets.push_back(buffer.size());
    d_->lengths.push_back(length);
    const char* begin = static_cast<const char*>(text);
    buffer.insert(buffer.end(), begin, begin + bytes);
}

void AddressStore::append(QAnyStringView text) {
    if (quint64(text.size()) >= kWide)
        throw std::bad_alloc();
    VisitText(text, [this](auto view) { appendText(view); });
}

void AddressStore::appendText(QLatin1StringView text) {
    appendBytes(text.data(), quint32(text.size()), text.size());
}

void AddressStore::appendText(QStringView text) {
    const quint32 length = quint32(text.size());
    if (!FitsLatin1(text)) {
        appendBytes(text.utf16(), length | kWide, text.size() * 2);
        return;
    }
    const size_t at = d_->bytes.size();
    appendBytes(nullptr, length, 0);
    d_->bytes.resize(at + length);
    char* out = d_->bytes.data() + at;
    for (QChar c : text)
        *out++ = char(c.unicode());
}

void AddressStore::removeAt(qsizetype i) {
    detach();
    d_->unusedBytes += byteSize(d_->lengths[size_t(i)]);
    d_->offsets.erase(d_->offsets.begin() + i);
    d_->lengths.erase(d_->lengths.begin() + i);
    compactIfWasteful();
}

void AddressStore::compactIfWasteful() {
    if (d_->unusedBytes * 2 > qsizetype(d_->bytes.size()))
        retainIf([](QAnyStringView) { return true; });
}

void AddressStore::clear() {
    d_ = std::make_shared<Data>();
}

void AddressStore::reserve(qsizetype entries, qsizetype chars) {
    detach();
    d_->offsets.reserve(size_t(entries));
    d_->lengths.reserve(size_t(entries));
    d_->bytes.reserve(size_t(chars));
}

qsizetype AddressStore::memoryUsed() const {
    return qsizetype(d_->bytes.capacity() + d_->offsets.capacity() * sizeof(quint64) +
                     d_->lengths.capacity() * sizeof(quint32));
}
