#include "KeyOrder.h"

#include "SortKeys.h"

#include <algorithm>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace {
// Keys are sorted by an encoding of their text whose byte order is the code
// unit order: a code unit below 0xFF is one byte, any other is 0xFF and then
// its two bytes; a key that ends first is the smaller. A word holds seven
// bytes of it in its high bits and, in its low byte, how many of them there
// are, or 8 when more follow: comparing words compares those bytes, and two
// keys whose words are equal with fewer than 8 are equal.
constexpr quint64 kMoreFollow = 8;
constexpr int kWordBytes = 7;

// Where in a key a word begins: a code unit of the key (domain, "@", local
// part) and how many bytes of its encoding came before. Keys whose earlier
// words are equal begin their next words at the same place.
struct KeyPlace {
    qsizetype unit = 0;
    int skip = 0;
};

// The word of the key from `place` on; moves `place` past it.
template <class View> quint64 keyWord(const AtPieces<View>& pieces, KeyPlace& place) {
    const View local = pieces.first, domain = pieces.second;
    const qsizetype domainSize = domain.size(), size = domainSize + 1 + local.size();
    quint64 word = 0;
    int bytes = 0;
    const auto put = [&](unsigned byte) { word |= quint64(byte) << (56 - 8 * bytes++); };
    while (bytes < kWordBytes && place.unit < size) {
        const qsizetype at = place.unit;
        const unsigned unit = at < domainSize    ? domain.at(at).unicode()
                              : at == domainSize ? unsigned('@')
                                                 : local.at(at - domainSize - 1).unicode();
        if (unit < 0xFF) {
            put(unit);
            ++place.unit;
            continue;
        }
        const unsigned escaped[3] = {0xFF, unit >> 8, unit & 0xFF};
        while (place.skip < 3 && bytes < kWordBytes)
            put(escaped[place.skip++]);
        if (place.skip == 3) {
            place.skip = 0;
            ++place.unit;
        }
    }
    return word | (place.unit < size ? kMoreFollow : quint64(bytes));
}

struct Record {
    quint64 word;
    quint32 key;
    // The sizes of the local part and the domain once measured, so that the
    // next fill need not search for the "@" signs again; kLong when they
    // are too large to be held here.
    quint16 localSize;
    quint16 domainSize;
};
constexpr quint16 kUnmeasured = 0xFFFF;
constexpr quint16 kLong = 0xFFFE;

// The sizes of pieces too long for a record.
using LongPieces = std::unordered_map<quint32, std::pair<qsizetype, qsizetype>>;

template <class View> AtPieces<View> piecesOf(View text, Record& record, LongPieces& long_) {
    if (record.localSize == kUnmeasured) {
        const AtPieces<View> pieces = SplitAtSigns(text);
        if (pieces.first.size() < kLong && pieces.second.size() < kLong) {
            record.localSize = quint16(pieces.first.size());
            record.domainSize = quint16(pieces.second.size());
        } else {
            record.localSize = kLong;
            long_[record.key] = {pieces.first.size(), pieces.second.size()};
        }
        return pieces;
    }
    qsizetype local = record.localSize, domain = record.domainSize;
    if (local == kLong)
        std::tie(local, domain) = long_.at(record.key);
    return {text.left(local), local < text.size() ? text.sliced(local + 1, domain) : View()};
}

bool before(const Record& a, const Record& b) {
    return a.word != b.word ? a.word < b.word : a.key < b.key;
}

// Sorts by words, and keys whose words are equal by the next word, and so
// on. Within a group the records stand in key order, and every sort keeps
// that order among equal words.
class RecordSort {
public:
    RecordSort(const SortKeys& keys, const std::function<bool(double)>& tick)
        : keys_(keys), tick_(tick), size_(size_t(keys.count())), records_(new Record[size_]),
          spare_(new Record[size_]), expected_(12 * double(keys.count()) + 1) {}

    bool run();
    // The keys in their order; false when the sort is to give up.
    bool takeOrder(std::vector<quint32>& order);

private:
    struct Group {
        size_t begin, end;
        KeyPlace place; // where the words of its keys begin
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
    // The word of the record's key from `place` on; moves `place` past it.
    quint64 wordOf(Record& record, KeyPlace& place) {
        return keys_.visitAddress(record.key, [&](auto text) {
            return keyWord(piecesOf(text, record, longPieces_), place);
        });
    }
    bool fill(const Group& group);
    bool sortGroup(const Group& group);
    bool radixSort(Record* records, size_t size);
    bool queueTies(const Group& group);

    const SortKeys& keys_;
    const std::function<bool(double)>& tick_;
    // Left uninitialised: their pages are first touched while the sort
    // counts its work, not all at once.
    const size_t size_;
    std::unique_ptr<Record[]> records_;
    std::unique_ptr<Record[]> spare_;
    std::vector<Group> groups_; // still to sort
    LongPieces longPieces_;
    double expected_;
    double done_ = 0;
    qsizetype pending_ = 0;
};

bool RecordSort::run() {
    for (size_t i = 0; i < size_; ++i) {
        records_[i] = {0, quint32(i), kUnmeasured, kUnmeasured};
        if (!worked(1))
            return false;
    }
    groups_.push_back({0, size_, {}});
    while (!groups_.empty()) {
        const Group group = groups_.back();
        groups_.pop_back();
        if (!fill(group) || !sortGroup(group) || !queueTies(group))
            return false;
    }
    return true;
}

bool RecordSort::fill(const Group& group) {
    const auto keyAt = [this](size_t i) { return records_[i].key; };
    for (size_t i = group.begin; i < group.end; ++i) {
        keys_.prefetchAhead(keyAt, i, group.end);
        KeyPlace place = group.place;
        records_[i].word = wordOf(records_[i], place);
        if (!worked(1))
            return false;
    }
    return true;
}

bool RecordSort::sortGroup(const Group& group) {
    Record* const records = records_.get() + group.begin;
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
        if (!worked(1))
            return false;
    }
    Record* from = records;
    Record* to = spare_.get();
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
    for (size_t i = 0; from != records && i < size; ++i) {
        records[i] = from[i];
        if (!worked(1))
            return false;
    }
    return true;
}

// Runs of equal words that have more bytes to compare are sorted further.
bool RecordSort::queueTies(const Group& group) {
    for (size_t i = group.begin; i < group.end;) {
        size_t j = i + 1;
        while (j < group.end && records_[j].word == records_[i].word)
            ++j;
        if (!worked(j - i))
            return false;
        if (j - i > 1 && (records_[i].word & 0xFF) == kMoreFollow) {
            KeyPlace next = group.place;
            wordOf(records_[i], next);
            groups_.push_back({i, j, next});
        }
        i = j;
    }
    return true;
}

// Each buffer is given back on its own: unmapping pages takes time too.
bool RecordSort::takeOrder(std::vector<quint32>& order) {
    spare_.reset();
    order.reserve(size_);
    for (size_t i = 0; i < size_; ++i) {
        order.push_back(records_[i].key);
        if (!worked(1))
            return false;
    }
    records_.reset();
    return true;
}
} // namespace

int CompareKeys(const SortKeys& keys, qsizetype a, qsizetype b) {
    return keys.visitPieces(a, [&](const auto& piecesA) {
        return keys.visitPieces(b, [&](const auto& piecesB) {
            for (KeyPlace placeA, placeB;;) {
                const quint64 wordA = keyWord(piecesA, placeA), wordB = keyWord(piecesB, placeB);
                if (wordA != wordB)
                    return wordA < wordB ? -1 : 1;
                if ((wordA & 0xFF) != kMoreFollow)
                    return 0;
            }
        });
    });
}

std::optional<std::vector<quint32>> SortedKeyOrder(const SortKeys& keys,
                                                   const std::function<bool(double)>& tick) {
    RecordSort sort(keys, tick);
    std::vector<quint32> order;
    if (!sort.run() || !sort.takeOrder(order))
        return std::nullopt;
    return order;
}
