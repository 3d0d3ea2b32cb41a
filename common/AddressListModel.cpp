#include "AddressListModel.h"

#include "ShownText.h"

#include <QMetaObject>
#include <limits>

namespace {
// Views address rows with an int; a longer list shows its first rows only.
int visibleRows(qsizetype n) {
    return int(std::min<qsizetype>(n, std::numeric_limits<int>::max()));
}
} // namespace

AddressListModel::AddressListModel(QString header, QObject* parent)
    : QAbstractListModel(parent), header_(std::move(header)) {}

void AddressListModel::append(QAnyStringView text) {
    store_.append(text);
    if (!announcePosted_) {
        QMetaObject::invokeMethod(this, &AddressListModel::announceAppends, Qt::QueuedConnection);
        announcePosted_ = true;
    }
}

void AddressListModel::announceAppends() {
    announcePosted_ = false;
    const int first = visibleRows(announced_);
    const int last = visibleRows(store_.count());
    if (last > first) {
        beginInsertRows(QModelIndex(), first, last - 1);
        announced_ = store_.count();
        endInsertRows();
    }
}

void AddressListModel::removeAt(qsizetype i) {
    announceAppends();
    beginRemoveRows(QModelIndex(), int(i), int(i));
    store_.removeAt(i);
    announced_ = store_.count();
    endRemoveRows();
}

void AddressListModel::clear() {
    beginResetModel();
    store_.clear();
    announced_ = 0;
    endResetModel();
}

int AddressListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : visibleRows(announced_);
}

QVariant AddressListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= announced_)
        return {};
    // What a row shows or reads out; the entry itself is text() and at().
    return ShownStart(store_.at(index.row()));
}

QVariant AddressListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return header_;
    return {};
}

void AddressListModel::truncate(qsizetype count) {
    beginResetModel();
    const auto reset = qScopeGuard([this] {
        announced_ = store_.count();
        endResetModel();
    });
    store_.truncate(count);
}
