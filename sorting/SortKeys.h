#pragma once

#include "AddressStore.h"
#include "SortKey.h"

#include <QAnyStringView>
#include <algorithm>
#include <type_traits>
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
    void removeLast() { entryOf_.pop_back(); }
    qsizetype count() const { return qsizetype(entryOf_.size()); }

    QAnyStringView address(qsizetype key) const {
        return stateOf(key).entries.at(entryOf_[size_t(key)]);
    }
    // Calls f with the local part and the domain of the key's address, as
    // AtPieces of QLatin1StringView or of QStringView.
    template <class F> decltype(auto) visitPieces(qsizetype key, F&& f) const {
        return address(key).visit([&](auto view) -> decltype(auto) {
            using View = decltype(view);
            if constexpr (std::is_same_v<View, QLatin1StringView> ||
                          std::is_same_v<View, QStringView>)
                return f(SplitAtSigns(view));
            else // a store holds no UTF-8
                return f(AtPieces<QLatin1StringView>{});
        });
    }
    QAnyStringView domain(qsizetype key) const {
        return visitPieces(key, [](auto pieces) { return QAnyStringView(pieces.second); });
    }
    // The text a result shows, local@domain: the address up to its second
    // "@". Only an address without "@" needs `scratch` to hold it.
    QAnyStringView output(qsizetype key, QString& scratch) const;

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

    std::vector<State> states_;
    std::vector<quint32> entryOf_; // per key, its entry in its state
};
