#include "BubbleReplay.h"

#include <algorithm>

namespace {
// Counts over positions 0 to size - 1, with prefix sums and the search for
// the position where a prefix sum is first reached, each in O(log size).
class Fenwick {
public:
    // Every count 0, or every count 1.
    Fenwick(size_t size, bool ones) : tree_(size + 1, 0) {
        if (ones)
            for (size_t i = 1; i <= size; ++i)
                tree_[i] = quint32(i & (~i + 1));
    }
    void add(size_t position, int delta) {
        for (size_t i = position + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] += quint32(delta);
    }
    // The sum of the counts before `position`.
    quint32 before(size_t position) const {
        quint32 sum = 0;
        for (size_t i = position; i > 0; i -= i & (~i + 1))
            sum += tree_[i];
        return sum;
    }
    // The position at which the sum of the counts up to it first exceeds `sum`.
    size_t exceeding(quint32 sum) const {
        size_t position = 0;
        size_t step = 1;
        while (step * 2 < tree_.size())
            step *= 2;
        for (; step > 0; step /= 2) {
            if (position + step < tree_.size() && tree_[position + step] <= sum) {
                position += step;
                sum -= tree_[position];
            }
        }
        return position;
    }

private:
    std::vector<quint32> tree_;
};

constexpr size_t kTickEvery = 4096;
} // namespace

BubbleReplay::BubbleReplay(std::vector<quint32> sorted) : sorted_(std::move(sorted)) {
    // An element moves left by one place a pass; the one that moves
    // farthest has nothing smaller after it, so its distance is its count.
    qint64 farthest = 0;
    for (size_t s = 0; s < sorted_.size(); ++s)
        farthest = std::max(farthest, qint64(sorted_[s]) - qint64(s));
    passes_ = farthest + 1;
}

std::vector<quint32> BubbleReplay::orderAt(qint64 fullPasses, qsizetype lastComparison,
                                           const std::function<void()>& tick) const {
    const size_t size = sorted_.size();
    std::vector<quint32> rank(size);
    for (size_t s = 0; s < size; ++s)
        rank[sorted_[s]] = quint32(s);
    std::vector<quint32> order(size);
    if (fullPasses == 0) {
        for (size_t i = 0; i < size; ++i)
            order[i] = quint32(i);
    } else {
        // The counts left after the full passes, per element.
        std::vector<quint32> left(size);
        Fenwick smaller(size, false);
        for (size_t i = 0; i < size; ++i) {
            const qint64 count = qint64(i) - smaller.before(rank[i]);
            left[i] = quint32(std::max<qint64>(0, count - fullPasses));
            smaller.add(rank[i], 1);
            if (i % kTickEvery == kTickEvery - 1)
                tick();
        }
        // From the smallest up, each element takes the free place that has
        // as many free places before it as the element has greater ones
        // before it: all those still free go to greater elements.
        Fenwick free(size, true);
        for (size_t s = 0; s < size; ++s) {
            const quint32 element = sorted_[s];
            const size_t place = free.exceeding(left[element]);
            order[place] = element;
            free.add(place, -1);
            if (s % kTickEvery == kTickEvery - 1)
                tick();
        }
    }
    PartialPass(
        order, lastComparison, [&rank](quint32 a, quint32 b) { return rank[a] > rank[b]; }, tick);
    return order;
}
