#pragma once

#include <QString>
#include <QStringView>
#include <cstring>
#include <memory>
#include <vector>

// The entries of one address list, packed: all texts in one UTF-16 buffer and
// an offset and a length per entry. Copies share the data until one of them
// changes (copy-on-write), so an export can keep a snapshot for free.
class AddressStore {
public:
    AddressStore();

    qsizetype count() const { return qsizetype(d_->lengths.size()); }
    bool isEmpty() const { return d_->lengths.empty(); }
    // Valid until the store next changes.
    QStringView at(qsizetype i) const {
        return QStringView(d_->chars.data() + d_->offsets[size_t(i)], d_->lengths[size_t(i)]);
    }
    QString text(qsizetype i) const { return at(i).toString(); }

    void append(QStringView text);
    void removeAt(qsizetype i);
    void clear();
    // Removes, in one order-keeping pass, every entry for which keep() is false.
    template <class Keep> qsizetype retainIf(Keep&& keep);
    void reserve(qsizetype entries, qsizetype chars);

    // Bytes held, for the benchmark's memory figures.
    qsizetype memoryUsed() const;

private:
    struct Data {
        std::vector<char16_t> chars;
        std::vector<quint64> offsets;
        std::vector<quint32> lengths;
        qsizetype unusedChars = 0; // left behind by single removals
    };
    void detach();
    void compactIfWasteful();

    std::shared_ptr<Data> d_;
};

template <class Keep> qsizetype AddressStore::retainIf(Keep&& keep) {
    detach();
    Data& d = *d_;
    const size_t before = d.lengths.size();
    size_t kept = 0;
    quint64 end = 0; // of the kept texts, packed at the front
    size_t i = 0;
    try {
        // Kept texts only ever move towards the front, so the buffer is
        // compacted in place: no second buffer to allocate and fill.
        for (; i < before; ++i) {
            const quint64 offset = d.offsets[i];
            const quint32 length = d.lengths[i];
            if (!keep(QStringView(d.chars.data() + offset, length)))
                continue;
            if (end != offset)
                std::memmove(d.chars.data() + end, d.chars.data() + offset,
                             length * sizeof(char16_t));
            d.offsets[kept] = end;
            d.lengths[kept] = length;
            ++kept;
            end += length;
        }
    } catch (...) {
        // Removals so far stay; the untested entries stay where they are.
        quint64 used = end;
        for (size_t k = i; k < before; ++k, ++kept) {
            d.offsets[kept] = d.offsets[k];
            d.lengths[kept] = d.lengths[k];
            used += d.lengths[k];
        }
        d.offsets.resize(kept);
        d.lengths.resize(kept);
        d.unusedChars = qsizetype(d.chars.size() - used);
        throw;
    }
    d.chars.resize(end);
    d.offsets.resize(kept);
    d.lengths.resize(kept);
    d.unusedChars = 0;
    // Memory goes back only when most of it has fallen out of use.
    if (d.chars.capacity() > 4 * d.chars.size() + 4096) {
        d.chars.shrink_to_fit();
        d.offsets.shrink_to_fit();
        d.lengths.shrink_to_fit();
    }
    return qsizetype(before - kept);
}
