#pragma once

#include <QAnyStringView>
#include <QString>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

// Calls f with the text as a QLatin1StringView or a QStringView, whichever it
// is; a UTF-8 text (never one of a store) is decoded first.
template <class F> decltype(auto) VisitText(QAnyStringView text, F&& f) {
    return text.visit([&](auto view) -> decltype(auto) {
        using View = decltype(view);
        if constexpr (std::is_same_v<View, QLatin1StringView> || std::is_same_v<View, QStringView>)
            return f(view);
        else
            return f(QStringView(QString(view.toString())));
    });
}

// The entries of one address list, packed: all texts in one buffer and an
// offset and a length per entry. An entry whose characters are all below
// U+0100, as nearly every address is, takes one byte a character (Latin-1);
// any other is held as UTF-16. Copies share the data until one of them
// changes (copy-on-write), so an export can keep a snapshot for free.
class AddressStore {
public:
    AddressStore();

    qsizetype count() const { return qsizetype(d_->lengths.size()); }
    bool isEmpty() const { return d_->lengths.empty(); }
    // The text as held: Latin-1 or UTF-16, never UTF-8. Valid until the store next changes.
    QAnyStringView at(qsizetype i) const {
        const char* text = d_->bytes.data() + d_->offsets[size_t(i)];
        const quint32 length = d_->lengths[size_t(i)];
        if (length & kWide)
            return QStringView(reinterpret_cast<const char16_t*>(text), length & ~kWide);
        return QLatin1StringView(text, length);
    }
    QString text(qsizetype i) const { return at(i).toString(); }

    void append(QAnyStringView text);
    void removeAt(qsizetype i);
    void clear();
    // Removes, in one order-keeping pass, every entry for which keep(at(i)) is false.
    template <class Keep> qsizetype retainIf(Keep&& keep);
    // Room for this many entries, of this many characters in all when they
    // fit in one byte each; wider ones make the buffer grow on its own.
    void reserve(qsizetype entries, qsizetype chars);

    // Bytes held, for the benchmark's memory figures.
    qsizetype memoryUsed() const;

private:
    static constexpr quint32 kWide = 0x8000'0000; // in a length: held as UTF-16

    struct Data {
        std::vector<char> bytes;      // UTF-16 entries start at even offsets
        std::vector<quint64> offsets; // in bytes
        std::vector<quint32> lengths; // in characters, with kWide
        qsizetype unusedBytes = 0;    // left behind by single removals
    };
    void detach();
    void compactIfWasteful();
    static qsizetype byteSize(quint32 length) {
        return length & kWide ? qsizetype(length & ~kWide) * 2 : qsizetype(length);
    }
    void appendBytes(const void* text, quint32 length, qsizetype bytes);
    void appendText(QLatin1StringView text);
    void appendText(QStringView text);

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
            if (!keep(at(qsizetype(i))))
                continue;
            const quint32 length = d.lengths[i];
            if (length & kWide)
                end += end & 1;
            const qsizetype size = byteSize(length);
            if (end != d.offsets[i])
                std::memmove(d.bytes.data() + end, d.bytes.data() + d.offsets[i], size_t(size));
            d.offsets[kept] = end;
            d.lengths[kept] = length;
            ++kept;
            end += quint64(size);
        }
    } catch (...) {
        // Removals so far stay; the untested entries stay where they are.
        qsizetype used = qsizetype(end);
        for (size_t k = i; k < before; ++k, ++kept) {
            d.offsets[kept] = d.offsets[k];
            d.lengths[kept] = d.lengths[k];
            used += byteSize(d.lengths[k]);
        }
        d.offsets.resize(kept);
        d.lengths.resize(kept);
        d.unusedBytes = qsizetype(d.bytes.size()) - used;
        throw;
    }
    d.bytes.resize(size_t(end));
    d.offsets.resize(kept);
    d.lengths.resize(kept);
    d.unusedBytes = 0;
    // Memory goes back only when most of it has fallen out of use.
    if (d.bytes.capacity() > 4 * d.bytes.size() + 4096) {
        d.bytes.shrink_to_fit();
        d.offsets.shrink_to_fit();
        d.lengths.shrink_to_fit();
    }
    return qsizetype(before - kept);
}
