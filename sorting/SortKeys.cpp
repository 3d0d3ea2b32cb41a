#include "SortKeys.h"

#include <limits>
#include <new>

void SortKeys::readFrom(const AddressStore& entries) {
    if (!states_.empty() && states_.back().entries.sharesEntriesWith(entries))
        return;
    if (!states_.empty() && states_.back().firstKey == count()) {
        states_.back().entries = entries;
        return;
    }
    states_.push_back({count(), entries});
    if (states_.size() == 2)
        numberEntries();
}

void SortKeys::append(qsizetype entry) {
    // Keys and entries are counted in 32 bits: far more than memory holds.
    if (entry > std::numeric_limits<quint32>::max() ||
        count() == std::numeric_limits<quint32>::max())
        throw std::bad_alloc();
    if (entry != count_)
        numberEntries();
    if (numbered_)
        entryOf_.push_back(quint32(entry));
    ++count_;
    textSize_ += sizeOf(count_ - 1);
}

void SortKeys::removeLast() {
    textSize_ -= sizeOf(count_ - 1);
    if (numbered_)
        entryOf_.pop_back();
    --count_;
}

void SortKeys::numberEntries() {
    if (numbered_)
        return;
    entryOf_.resize(size_t(count_));
    for (qsizetype key = 0; key < count_; ++key)
        entryOf_[size_t(key)] = quint32(key);
    numbered_ = true;
}

QAnyStringView SortKeys::output(qsizetype key, QString& scratch) const {
    const qsizetype size = address(key).size();
    return visitPieces(key, [&](auto pieces) -> QAnyStringView {
        using View = decltype(pieces.first);
        if (pieces.first.size() == size) { // no "@"
            scratch = pieces.first.toString() + u'@';
            return scratch;
        }
        return View(pieces.first.data(), pieces.first.size() + 1 + pieces.second.size());
    });
}
