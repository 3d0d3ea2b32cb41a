#include "SortKeys.h"

#include <limits>
#include <new>

void SortKeys::readFrom(const AddressStore& entries) {
    if (!states_.empty() && states_.back().entries.sharesEntriesWith(entries))
        return;
    if (!states_.empty() && states_.back().firstKey == count())
        states_.back().entries = entries;
    else
        states_.push_back({count(), entries});
}

void SortKeys::append(qsizetype entry) {
    // Keys and entries are counted in 32 bits: far more than memory holds.
    if (entry > std::numeric_limits<quint32>::max() ||
        count() == std::numeric_limits<quint32>::max())
        throw std::bad_alloc();
    entryOf_.push_back(quint32(entry));
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
