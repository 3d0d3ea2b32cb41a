#include "AddressStore.h"

#include <limits>
#include <new>

AddressStore::AddressStore() : d_(std::make_shared<Data>()) {}

void AddressStore::detach() {
    if (d_.use_count() > 1)
        d_ = std::make_shared<Data>(*d_);
}

void AddressStore::append(QStringView text) {
    if (quint64(text.size()) > std::numeric_limits<quint32>::max())
        throw std::bad_alloc();
    detach();
    d_->offsets.push_back(d_->chars.size());
    d_->lengths.push_back(quint32(text.size()));
    d_->chars.insert(d_->chars.end(), text.utf16(), text.utf16() + text.size());
}

void AddressStore::removeAt(qsizetype i) {
    detach();
    d_->unusedChars += d_->lengths[size_t(i)];
    d_->offsets.erase(d_->offsets.begin() + i);
    d_->lengths.erase(d_->lengths.begin() + i);
    compactIfWasteful();
}

void AddressStore::compactIfWasteful() {
    if (d_->unusedChars * 2 > qsizetype(d_->chars.size()))
        retainIf([](QStringView) { return true; });
}

void AddressStore::clear() { d_ = std::make_shared<Data>(); }

void AddressStore::reserve(qsizetype entries, qsizetype chars) {
    detach();
    d_->offsets.reserve(size_t(entries));
    d_->lengths.reserve(size_t(entries));
    d_->chars.reserve(size_t(chars));
}

qsizetype AddressStore::memoryUsed() const {
    return qsizetype(d_->chars.capacity() * sizeof(char16_t) +
                     d_->offsets.capacity() * sizeof(quint64) +
                     d_->lengths.capacity() * sizeof(quint32));
}
