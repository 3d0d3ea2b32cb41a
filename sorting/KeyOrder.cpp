#include "KeyOrder.h"

#include "SortKeys.h"

#include <algorithm>
#include <cstring>

namespace {
// Keys are sorted by an encoding of their text whose byte order is the code
// unit order: a code unit below 0xFF is one byte, any other is 0xFF and then
// its two bytes; a key that ends first is the smaller. A word holds seven
// bytes of it in its high bits and, in its low byte, how many of them there
// are, or 8 when more follow: comparing words compares those bytes, and two
// keys whose words are equal with fewer than 8 are equal.
constexpr quint64 kMoreFollow = 8;
constexpr int kWordBytes = 7;

bool isPlain(QLatin1StringView text) {
    return !std::memchr(text.data(), 0xFF, size_t(text.size()));
}

bool isPlain(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0xFF; });
}

template <class View> unsigned unitAt(View text, qsizetype i) {
    return text.at(i).unicode();
}

// Keys without code units from 0xFF up: one byte a code unit.
template <class View> quint64 plainWord(const AtPieces<View>& pieces, qsizetype depth) {
    const View local = pieces.first, domain = pieces.second;
    const qsizetype domainSize = domain.size(), size = domainSize + 1 + local.size();
    quint64 word = 0;
    int bytes = 0;
    for (qsizetype at = depth; bytes < kWordBytes && at < size; ++at, ++bytes) {
        const unsigned unit = at < domainSize    ? unitAt(domain, at)
                              : at == domainSize ? unsigned('@')
                                                 : unitAt(local, at - domainSize - 1);
        word |= quint64(unit) << (56 - 8 * bytes);
    }
    return word | (depth + kWordBytes < size ? kMoreFollow : quint64(bytes));
}

template <class View> quint64 escapedWord(const AtPieces<View>& pieces, qsizetype depth) {
    quint64 word = 0;
    int bytes = 0;
    qsizetype passed = 0; // bytes of the encoding before this one
    bool more = false;
    // False once the word is full and a further byte shows that more follow.
    auto put = [&](unsigned byte) {
        if (passed++ < depth)
            return true;
        if (bytes == kWordBytes) {
            more = true;
            return false;
        }
        word |= quint64(byte) << (56 - 8 * bytes++);
        return true;
    };
    auto putUnit = [&](unsigned unit) {
        return unit < 0xFF ? put(unit) : put(0xFF) && put(unit >> 8) && put(unit & 0xFF);
    };
    auto putText = [&](View text) {
        for (qsizetype i = 0; i < text.size(); ++i)
            if (!putUnit(unitAt(text, i)))
                return false;
        return true;
    };
    if (putText(pieces.second) && putUnit('@'))
        putText(pieces.first);
    return word | (more ? kMoreFollow : quint64(bytes));
}

quint64 keyWord(const SortKeys& keys, qsizetype key, qsizetype depth) {
    return keys.visitPieces(key, [depth](const auto& pieces) {
        return isPlain(pieces.first) && isPlain(pieces.second) ? plainWord(pieces, depth)
                                                               : escapedWord(pieces, depth);
    });
}

struct Record {
    quint64 word;
    quint32 key;
};

bool before(const Record& a, const Record& b) {
    return a.word != b.word ? a.word < b.word : a.key < b.key;
}

// Sorts by words, and keys whose words are equal by the next word, and so
// on. Within a group the records stand in key order, and every sort keeps
// that order among equal words.
class RecordSort {
public:
    RecordSort(const SortKeys& keys, const std::function<bool(double)>& tick)
        : keys_(keys), tick_(tick), records_(size_t(keys.count())), spare_(records_.size()),
          expected_(12 * double(keys.count()) + 1) {}

    bool run();
    std::vector<quint32> order() const;

private:
    struct Group {
        size_t begin, end;
        qsizetype depth;
    };
    static constexpr size_t kSmallGroup = 128;
    static constexpr qsizetype kStepsPerTick = 4096;

    // Counts work done; false when the sort is to give up.
    bool worked(size_t steps) {
        pending_ += qsizetype(steps);
        if (pending_ < kStepsPerTick)
            return true;
        done_ += double(pending_);
        pending_ = 0;
        return tick_(std::min(done_ / expected_, 0.99));
    }
    bool fill(const Group& group);
    bool sortGroup(const Group& group);
    bool radixSort(Record* records, size_t size);
    void queueTies(const Group& group);

    const SortKeys& keys_;
    const std::function<bool(double)>& tick_;
    std::vector<Record> records_;
    std::vector<Record> spare_;
    std::vector<Group> groups_;
    double expected_;
    double done_ = 0;
    qsizetype pending_ = 0;
};

bool RecordSort::run() {
    for (size_t i = 0; i < records_.size(); ++i)
        records_[i].key = quint32(i);
    groups_.push_back({0, records_.size(), 0});
    while (!groups_.empty()) {
        const Group group = groups_.back();
        groups_.pop_back();
        if (!fill(group) || !sortGroup(group))
            return false;
        queueTies(group);
    }
    return true;
}

bool RecordSort::fill(const Group& group) {
    constexpr size_t kAhead = 8;
    for (size_t i = group.begin; i < group.end; ++i) {
        if (i + kAhead < group.end) // the key's text is far away in memory
            __builtin_prefetch(keys_.address(records_[i + kAhead].key).data());
        records_[i].word = keyWord(keys_, records_[i].key, group.depth);
        if (!worked(1))
            return false;
    }
    return true;
}

bool RecordSort::sortGroup(const Group& group) {
    Record* const records = records_.data() + group.begin;
    const size_t size = group.end - group.begin;
    if (size >= kSmallGroup)
        return radixSort(records, size);
    std::sort(records, records + size, before);
    return worked(size * 2);
}

// Least significant byte first, each pass stable; bytes that are the same
// in every record need no pass.
bool RecordSort::radixSort(Record* records, size_t size) {
    size_t counts[8][256] = {};
    for (size_t i = 0; i < size; ++i) {
        const quint64 word = records[i].word;
        for (int b = 0; b < 8; ++b)
            ++counts[b][(word >> (8 * b)) & 0xFF];
    }
    if (!worked(size))
        return false;
    Record* from = records;
    Record* to = spare_.data();
    for (int b = 0; b < 8; ++b) {
        const int shift = 8 * b;
        if (counts[b][(from[0].word >> shift) & 0xFF] == size)
            continue;
        size_t next[256];
        size_t start = 0;
        for (int v = 0; v < 256; ++v) {
            next[v] = start;
            start += counts[b][v];
        }
        for (size_t i = 0; i < size; ++i) {
            const Record record = from[i];
            to[next[(record.word >> shift) & 0xFF]++] = record;
            if (!worked(1))
                return false;
        }
        std::swap(from, to);
    }
    if (from != records)
        std::copy(from, from + size, records);
    return true;
}

// Runs of equal words that have more bytes to compare are sorted further.
void RecordSort::queueTies(const Group& group) {
    for (size_t i = group.begin; i < group.end;) {
        size_t j = i + 1;
        while (j < group.end && records_[j].word == records_[i].word)
            ++j;
        if (j - i > 1 && (records_[i].word & 0xFF) == kMoreFollow)
            groups_.push_back({i, j, group.depth + kWordBytes});
        i = j;
    }
}

std::vector<quint32> RecordSort::order() const {
    std::vector<quint32> order(records_.size());
    for (size_t i = 0; i < records_.size(); ++i)
        order[i] = records_[i].key;
    return order;
}
} // namespace

int CompareKeys(const SortKeys& keys, qsizetype a, qsizetype b) {
    for (qsizetype depth = 0;; depth += kWordBytes) {
        const quint64 wordA = keyWord(keys, a, depth), wordB = keyWord(keys, b, depth);
        if (wordA != wordB)
            return wordA < wordB ? -1 : 1;
        if ((wordA & 0xFF) != kMoreFollow)
            return 0;
    }
}

std::optional<std::vector<quint32>> SortedKeyOrder(const SortKeys& keys,
                                                   const std::function<bool(double)>& tick) {
    RecordSort sort(keys, tick);
    if (!sort.run())
        return std::nullopt;
    return sort.order();
}
