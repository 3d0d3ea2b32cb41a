#pragma once

#include <QList>
#include <type_traits>

// Where each entry of a packed list ends, in bytes, with a flag for entries
// held as UTF-16: as long as every end fits, in `Narrow` words (half the
// memory of 64-bit ones); once one does not, all of them are widened to 64
// bits, once.
template <class Narrow> class PackedEnds {
    static_assert(std::is_unsigned_v<Narrow> && sizeof(Narrow) < sizeof(quint64));

public:
    static constexpr quint64 kFlag = quint64(1) << 63;

    qsizetype size() const { return wide_ ? wideEnds_.size() : narrowEnds_.size(); }
    bool isEmpty() const { return size() == 0; }
    // The end at i, with kFlag when set.
    quint64 at(qsizetype i) const {
        if (wide_)
            return wideEnds_.at(i);
        const Narrow end = narrowEnds_.at(i);
        return (end & kNarrowFlag) ? quint64(end & ~kNarrowFlag) | kFlag : quint64(end);
    }
    // Asks the processor to fetch the end at i into its cache.
    void prefetch(qsizetype i) const {
        if (wide_)
            __builtin_prefetch(wideEnds_.constData() + i);
        else
            __builtin_prefetch(narrowEnds_.constData() + i);
    }
    void append(quint64 end) {
        widenFor(end);
        if (wide_)
            wideEnds_.append(end);
        else
            narrowEnds_.append(narrow(end));
    }
    // An end no later than the one it replaces.
    void replace(qsizetype i, quint64 end) {
        if (wide_)
            wideEnds_[i] = end;
        else
            narrowEnds_[i] = narrow(end);
    }
    void resize(qsizetype size) { wide_ ? wideEnds_.resize(size) : narrowEnds_.resize(size); }
    void reserve(qsizetype size) { wide_ ? wideEnds_.reserve(size) : narrowEnds_.reserve(size); }
    void squeeze() { wide_ ? wideEnds_.squeeze() : narrowEnds_.squeeze(); }
    qsizetype memoryUsed() const {
        return wide_ ? wideEnds_.capacity() * qsizetype(sizeof(quint64))
                     : narrowEnds_.capacity() * qsizetype(sizeof(Narrow));
    }

private:
    static constexpr Narrow kNarrowFlag = Narrow(Narrow(1) << (sizeof(Narrow) * 8 - 1));

    static Narrow narrow(quint64 end) {
        return Narrow((end & ~kFlag) | ((end & kFlag) ? kNarrowFlag : 0));
    }
    void widenFor(quint64 end) {
        if (wide_ || (end & ~kFlag) < kNarrowFlag)
            return;
        wideEnds_.reserve(narrowEnds_.capacity());
        for (qsizetype i = 0; i < narrowEnds_.size(); ++i)
            wideEnds_.append(at(i));
        narrowEnds_ = {};
        wide_ = true;
    }

    bool wide_ = false;
    QList<Narrow> narrowEnds_;
    QList<quint64> wideEnds_;
};
