#pragma once

#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

// One pass of an exchange sort over the pairs (0, 1) to (last, last + 1) of
// the elements, exchanging a pair when greater(first, second). Calls `tick`
// now and then.
template <class Greater, class Tick>
void PartialPass(std::vector<quint32>& elements, qsizetype last, Greater&& greater, Tick&& tick) {
    last = std::min(last, qsizetype(elements.size()) - 2);
    for (qsizetype j = 0; j <= last; ++j) {
        if (greater(elements[size_t(j)], elements[size_t(j + 1)]))
            std::swap(elements[size_t(j)], elements[size_t(j + 1)]);
        if ((j & 0xFFF) == 0xFFF)
            tick();
    }
}

// An exchange sort of neighbours, pass after pass over all pairs until a
// pass exchanges nothing, told from the order it ends with, without making
// its comparisons. Element i is the one that stood at position i; equal
// elements are never exchanged, so the sort ends with them in that order.
//
// Let c(x) be the number of elements greater than x that stand before it.
// A pass lowers every c(x) above 0 by one, and an order is given by its
// counts, so the order after p passes is the one whose counts are
// max(0, c(x) - p).
class BubbleReplay {
public:
    // `sorted`: the elements in the order the sort ends with.
    explicit BubbleReplay(std::vector<quint32> sorted);

    // The order the sort ends with, handed over: the replay is done with.
    std::vector<quint32> takeSorted() { return std::move(sorted_); }
    // The passes the sort makes, the last of which exchanges nothing.
    qint64 passes() const { return passes_; }
    // The elements as the sort holds them after `fullPasses` passes and then
    // the comparisons 0 to `lastComparison` of the next pass. Calls `tick`
    // now and then.
    std::vector<quint32> orderAt(qint64 fullPasses, qsizetype lastComparison,
                                 const std::function<void()>& tick) const;

private:
    std::vector<quint32> sorted_;
    qint64 passes_ = 1;
};
