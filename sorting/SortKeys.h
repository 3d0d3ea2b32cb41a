#pragma once

#include "AddressStore.h"
#include "SortKey.h"

#include <QAnyStringView>
#include <algorithm>
#include <utility>
#include <vector>

// The sort keys (domain@local) of one run of the text method, in the order
// they were collected. A key copies nothing of its address: it names an
// entry of the input list as the list stood when the address was read. The
// list may change while the run yields; each state read from stays shared
// with the list until the list changes, and is kept for the keys read from it.
class SortKeys {
public:
    // The addresses read from now on come from this state of the list.
    void readFrom(const AddressStore& entries);
    // The state read from now.
    const AddressStore& entries() const { return states_.back().entries; }
    // The next key: the address of this entry of the current state.
    void append(qsizetype entry);
    // Forgets the key appended last.
    void removeLast();
    qsizetype count() const { return count_; }
    // The characters of the keys' addresses, together.
    qsizetype textSize() const { return textSize_; }

    QAnyStringView address(qsizetype key) const { return stateOf(key).entries.at(entryOf(key)); }
    // Calls f with the key's address as a QLatin1StringView or a QStringView.
    template <class F> decltype(auto) visitAddress(qsizetype key, F&& f) const {
        return stateOf(key).entries.visit(entryOf(key), std::forward<F>(f));
    }
    // Calls f with the local part and the domain of the key's address, as
    // AtPieces of QLatin1StringView or of QStringView.
    template <class F> decltype(auto) visitPieces(qsizetype key, F&& f) const {
        return visitAddress(key,
                            [&](auto text) -> decltype(auto) { return f(SplitAtSigns(text)); });
    }
    QAnyStringView domain(qsizetype key) const {
        return visitPieces(key, [](auto pieces) { return QAnyStringView(pieces.second); });
    }
    // The text a result shows, local@domain: the address up to its second
    // "@". Only an address without "@" needs `scratch` to hold it.
    QAnyStringView output(qsizetype key, QString& scratch) const;

    // A key's text is three steps away in memory, each needing the one
    // before: its entry's number, where that entry ends, and the text.
    // Asking the processor to fetch step s a few keys before step s + 1
    // lets the fetches for many keys overlap, in an order far from the list's.
    static constexpr int kPrefetchSteps = 3;
    void prefetch(qsizetype key, int step) const {
        if (step == 0) {
            if (numbered_)
                __builtin_prefetch(entryOf_.data() + key);
        } else if (step == 1) {
            stateOf(key).entries.prefetchEnd(entryOf(key));
        } else {
            stateOf(key).entries.prefetchText(entryOf(key));
        }
    }
    // The steps for the keys some way after the key at i of keyAt(0) to keyAt(size - 1).
    template <class KeyAt> void prefetchAhead(KeyAt&& keyAt, size_t i, size_t size) const {
        for (int step = 0; step < kPrefetchSteps; ++step) {
            const size_t ahead = i + size_t(kPrefetchSteps - step) * kPrefetchDistance;
            if (ahead < size)
                prefetch(qsizetype(keyAt(ahead)), step);
        }
    }
    static constexpr size_t kPrefetchDistance = 8; // keys between two steps

private:
    struct State {
        qsizetype firstKey;
        AddressStore entries;
    };
    const State& stateOf(qsizetype key) const {
        if (states_.size() == 1)
            return states_.front();
        return *(std::upper_bound(states_.begin(), states_.end(), key,
                                  [](qsizetype k, const State& s) { return k < s.firstKey; }) -
                 1);
    }

    qsizetype sizeOf(qsizetype key) const {
        return visitAddress(key, [](auto text) { return text.size(); });
    }
    qsizetype entryOf(qsizetype key) const { return numbered_ ? entryOf_[size_t(key)] : key; }
    // From now on every key keeps the number of its entry.
    void numberEntries();

    std::vector<State> states_;
    qsizetype count_ = 0;
    qsizetype textSize_ = 0;
    // Until a key is not the entry of its own number in the first state, as
    // when every address is read, the keys need no entry numbers.
    bool numbered_ = false;
    std::vector<quint32> entryOf_; // per key, its entry in its state
};
