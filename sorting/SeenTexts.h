#pragma once

#include "AddressStore.h"

#include <QAnyStringView>
#include <algorithm>
#include <vector>

// A hash of the code units: the same for a text held as Latin-1 or as UTF-16.
inline quint32 HashText(QAnyStringView text) {
    return VisitText(text, [](auto view) {
        quint64 hash = 0xcbf29ce484222325ull;
        for (qsizetype i = 0; i < view.size(); ++i)
            hash = (hash ^ quint64(view.at(i).unicode())) * 0x100000001b3ull;
        return quint32(hash ^ (hash >> 32));
    });
}

// A set of texts, exact and case-sensitive, that holds each text as the
// number of something that has it (a key, say): textOf(number) answers the
// text, which must stay as it is while the set lives. Open addressing:
// membership costs one hash and, nearly always, one comparison.
template <class TextOf> class SeenTexts {
public:
    explicit SeenTexts(TextOf textOf) : textOf_(std::move(textOf)) {}

    // Adds the text of `number` unless an equal text is in the set already;
    // answers whether it was added.
    bool insert(quint32 number) {
        const QAnyStringView text = textOf_(number);
        if (2 * (used_ + 1) > slots_.size())
            grow();
        const quint32 hash = HashText(text);
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.numberPlusOne == 0) {
                slot = {number + 1, hash};
                ++used_;
                return true;
            }
            if (slot.hash == hash && QAnyStringView::equal(textOf_(slot.numberPlusOne - 1), text))
                return false;
        }
    }

private:
    struct Slot {
        quint32 numberPlusOne; // 0: free
        quint32 hash;
    };
    void grow() {
        std::vector<Slot> old(std::max<size_t>(16, 2 * slots_.size()), Slot{0, 0});
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.numberPlusOne == 0)
                continue;
            size_t i = slot.hash & mask;
            while (slots_[i].numberPlusOne != 0)
                i = (i + 1) & mask;
            slots_[i] = slot;
        }
    }

    TextOf textOf_;
    std::vector<Slot> slots_;
    size_t used_ = 0;
};
