#pragma once

#include "AddressStore.h"

#include <QAnyStringView>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

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
// text, which must stay as it is while the set lives; a text is found as the
// number it was added with. Open addressing: membership costs one hash and,
// nearly always, one comparison. Growing moves the texts to the larger table
// a few at each insert, so that no insert takes time in proportion to the
// set's size.
template <class TextOf> class SeenTexts {
public:
    explicit SeenTexts(TextOf textOf) : textOf_(std::move(textOf)) {}

    // Adds the text of `number` unless an equal text is in the set already;
    // answers whether it was added.
    bool insert(quint32 number) {
        if (2 * (used_ + 1) > table_.size)
            grow();
        moveSome(kMovesPerInsert);
        const QAnyStringView text = textOf_(number);
        const quint32 hash = HashText(text);
        if (lookup(table_, hash, text) >= 0 || lookup(old_, hash, text) >= 0)
            return false;
        const size_t mask = table_.size - 1;
        size_t i = hash & mask;
        while (table_.cells[i].numberPlusOne != 0)
            i = (i + 1) & mask;
        table_.cells[i] = {number + 1, hash};
        ++used_;
        return true;
    }
    // The number whose text equals `text`, or -1 when there is none.
    qint64 find(QAnyStringView text) const {
        const quint32 hash = HashText(text);
        const qint64 found = lookup(table_, hash, text);
        return found >= 0 ? found : lookup(old_, hash, text);
    }

private:
    struct Slot {
        quint32 numberPlusOne; // 0: free
        quint32 hash;
    };
    // Zeroed by the system page by page as it is first touched: a large
    // table costs nothing until it is used.
    struct Table {
        explicit Table(size_t count = 0)
            : cells(static_cast<Slot*>(count ? std::calloc(count, sizeof(Slot)) : nullptr),
                    &std::free),
              size(count) {
            if (count && !cells)
                throw std::bad_alloc();
        }
        std::unique_ptr<Slot[], decltype(&std::free)> cells;
        size_t size = 0;
    };
    // The larger table must hold every text of the old one before it grows
    // again: the old one has twice as many cells as there are inserts until
    // then.
    static constexpr size_t kMovesPerInsert = 4;

    // The old table is left as it was: a text already moved is found in
    // either table.
    qint64 lookup(const Table& table, quint32 hash, QAnyStringView text) const {
        if (table.size == 0)
            return -1;
        const size_t mask = table.size - 1;
        for (size_t i = hash & mask; table.cells[i].numberPlusOne != 0; i = (i + 1) & mask) {
            const Slot& slot = table.cells[i];
            if (slot.hash == hash && QAnyStringView::equal(textOf_(slot.numberPlusOne - 1), text))
                return qint64(slot.numberPlusOne) - 1;
        }
        return -1;
    }
    void grow() {
        moveSome(old_.size);
        old_ = std::move(table_);
        table_ = Table(std::max<size_t>(16, 2 * old_.size));
        moved_ = 0;
    }
    void moveSome(size_t count) {
        if (old_.size == 0)
            return;
        const size_t end = std::min(old_.size, moved_ + count);
        const size_t mask = table_.size - 1;
        for (; moved_ < end; ++moved_) {
            const Slot slot = old_.cells[moved_];
            if (slot.numberPlusOne == 0)
                continue;
            size_t i = slot.hash & mask;
            while (table_.cells[i].numberPlusOne != 0)
                i = (i + 1) & mask;
            table_.cells[i] = slot;
        }
        if (moved_ == old_.size)
            old_ = Table();
    }

    TextOf textOf_;
    Table table_;
    Table old_;        // the table before the last growth, while texts are moved from it
    size_t moved_ = 0; // the cells of old_ moved so far
    size_t used_ = 0;
};
