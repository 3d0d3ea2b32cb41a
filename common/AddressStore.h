#pragma once

#include "PackedEnds.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <type_traits>

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

// The entries of one address list, packed: all texts one after the other in
// one buffer, and where each ends. An entry whose characters are all below
// U+0100, as nearly every address is, takes one byte a character (Latin-1);
// any other is held as UTF-16. The buffers grow in place where the system
// allows (no copy, no second buffer). Copies share the data until one of
// them changes (copy-on-write), so an export can keep a snapshot for free.
class AddressStore {
public:
    AddressStore();

    qsizetype count() const { return d_->ends.size(); }
    bool isEmpty() const { return d_->ends.isEmpty(); }
    // Calls f with the text as a QLatin1StringView or a QStringView.
    template <class F> decltype(auto) visit(qsizetype i, F&& f) const {
        const quint64 end = d_->ends.at(i);
        const quint64 start = startAfter(i == 0 ? 0 : d_->ends.at(i - 1), end);
        const char* text = d_->bytes.constData() + start;
        const qsizetype bytes = qsizetype((end & ~kWide) - start);
        if (end & kWide)
            return f(QStringView(reinterpret_cast<const char16_t*>(text), bytes / 2));
        return f(QLatin1StringView(text, bytes));
    }
    // The text as held: Latin-1 or UTF-16, never UTF-8. Valid until the store next changes.
    QAnyStringView at(qsizetype i) const {
        return visit(i, [](auto text) { return QAnyStringView(text); });
    }
    // Asks the processor to fetch into its cache where entry i ends (which
    // says where its text is), or its text; the latter reads the former.
    void prefetchEnd(qsizetype i) const {
        d_->ends.prefetch(i);
        if (i > 0)
            d_->ends.prefetch(i - 1);
    }
    void prefetchText(qsizetype i) const {
        const quint64 start = i == 0 ? 0 : d_->ends.at(i - 1) & ~kWide;
        __builtin_prefetch(d_->bytes.constData() + start);
    }
    QString text(qsizetype i) const { return at(i).toString(); }
    // Whether both are the same entries, shared: neither has changed since one was copied.
    bool sharesEntriesWith(const AddressStore& other) const { return d_ == other.d_; }

    void append(QAnyStringView text);
    void removeAt(qsizetype i);
    void clear();
    // Removes, in one order-keeping pass, every entry for which keep(at(i))
    // is false. When keep throws, the entries from that one on stay.
    template <class Keep> qsizetype retainIf(Keep&& keep) {
        return compact(0, [&](qsizetype, QAnyStringView text) { return keep(text); });
    }
    // Keeps the first `count` entries.
    void truncate(qsizetype count) {
        compact(count, [](qsizetype, QAnyStringView) { return false; });
    }
    // Room for this many entries, of this many characters in all when they
    // fit in one byte each; wider ones make the buffer grow on its own.
    void reserve(qsizetype entries, qsizetype chars);

    // Bytes held, for the benchmark's memory figures.
    qsizetype memoryUsed() const;

private:
    using Ends = PackedEnds<quint32>;
    static constexpr quint64 kWide = Ends::kFlag; // in an end: the entry is UTF-16

    struct Data {
        QByteArray bytes;
        Ends ends;
    };

    // An entry starts where the one before it ends, on an even offset when it is UTF-16.
    static quint64 startAfter(quint64 previousEnd, quint64 end) {
        const quint64 start = previousEnd & ~kWide;
        return end & kWide ? start + (start & 1) : start;
    }
    static QAnyStringView view(const char* text, quint64 end, qsizetype bytes) {
        if (end & kWide)
            return QStringView(reinterpret_cast<const char16_t*>(text), bytes / 2);
        return QLatin1StringView(text, bytes);
    }
    void detach();
    // A failed append leaves the store as it was.
    void appendText(QLatin1StringView text);
    void appendText(QStringView text);
    // Gives the text appended since `before` its end.
    void endEntry(qsizetype before, quint64 end);
    // Keeps the entries before `from`, and of the others those for which
    // keep(index, text) is true, moving them towards the front.
    template <class Keep> qsizetype compact(qsizetype from, Keep&& keep);

    std::shared_ptr<Data> d_;
};

template <class Keep> qsizetype AddressStore::compact(qsizetype from, Keep&& keep) {
    detach();
    Data& d = *d_;
    const qsizetype before = d.ends.size();
    char* const bytes = d.bytes.data();
    quint64 previousEnd = from == 0 ? 0 : d.ends.at(from - 1); // as the entries lay before
    quint64 end = previousEnd & ~kWide;                        // of the kept texts
    qsizetype kept = from;
    std::exception_ptr failure;
    for (qsizetype i = from; i < before; ++i) {
        const quint64 oldEnd = d.ends.at(i);
        const quint64 oldStart = startAfter(previousEnd, oldEnd);
        const qsizetype size = qsizetype((oldEnd & ~kWide) - oldStart);
        previousEnd = oldEnd;
        if (!failure) {
            try {
                if (!keep(i, view(bytes + oldStart, oldEnd, size)))
                    continue;
            } catch (...) {
                failure = std::current_exception();
            }
        }
        // Kept texts only ever move towards the front: no second buffer.
        const quint64 start = startAfter(end, oldEnd);
        if (start != oldStart)
            std::memmove(bytes + start, bytes + oldStart, size_t(size));
        end = start + quint64(size);
        d.ends.replace(kept++, end | (oldEnd & kWide));
    }
    d.bytes.resize(qsizetype(end));
    d.ends.resize(kept);
    // Memory goes back only when most of it has fallen out of use; giving it
    // back takes a smaller copy, which a system short of memory may refuse.
    if (d.bytes.capacity() > 4 * d.bytes.size() + 4096) {
        try {
            d.bytes.squeeze();
            d.ends.squeeze();
        } catch (const std::bad_alloc&) {
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    return before - kept;
}
