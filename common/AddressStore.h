#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

// The entries of one address list, packed: all texts in one UTF-16 buffer and
// an offset and a length per entry. Copies share the data until one of them
// changes (copy-on-write), so an export can keep a snapshot for free.
class AddressStore {
public:
    AddressStore();

    qsizetype count() const { return qsizetype(d_->lengths.size()); }
    bool isEmpty() const { return d_->lengths.empty(); }
    // Valid until the store next changes.
    QStringView at(qsizetype i) const {
        return QStringView(d_->chars.data() + d_->offsets[size_t(i)], d_->lengths[size_t(i)]);
    }
    QString text(qsizetype i) const { return at(i).toString(); }

    void append(QStringView text);
    void removeAt(qsizetype i);
    void clear();
    // Removes, in one order-keeping pass, every entry for which keep() is false.
    template <class Keep> qsizetype retainIf(Keep&& keep);
    void reserve(qsizetype entries, qsizetype chars);

    // Bytes held, for the benchmark's memory figures.
    qsizetype memoryUsed() const;

private:
    struct Data {
        std::vector<char16_t> chars;
        std::vector<quint64> offsets;
        std::vector<quint32> lengths;
        qsizetype unusedChars = 0; // left behind by single removals
    };
    void detach();
    void compactIfWasteful();

    std::shared_ptr<Data> d_;
};

template <class Keep> qsizetype AddressStore::retainIf(Keep&& keep) {
    const qsizetype before = count();
    auto fresh = std::make_shared<Data>();
    fresh->offsets.reserve(size_t(before));
    fresh->lengths.reserve(size_t(before));
    for (qsizetype i = 0; i < before; ++i) {
        const QStringView entry = at(i);
        if (!keep(entry))
            continue;
        fresh->offsets.push_back(fresh->chars.size());
        fresh->lengths.push_back(quint32(entry.size()));
        fresh->chars.insert(fresh->chars.end(), entry.utf16(), entry.utf16() + entry.size());
    }
    fresh->chars.shrink_to_fit();
    d_ = std::move(fresh);
    return before - count();
}
