#pragma once

#include "AddressStore.h"

#include <QAbstractListModel>
#include <QScopeGuard>

// One address list (the input list or the results list) as a model for a
// view. Appends are announced to views in one batch at the next pass of the
// event loop, so a loop that appends a million entries between two yields
// costs one notification, not a million.
class AddressListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit AddressListModel(QString header, QObject* parent = nullptr);

    qsizetype count() const { return store_.count(); }
    bool isEmpty() const { return store_.isEmpty(); }
    QAnyStringView at(qsizetype i) const { return store_.at(i); }
    QString text(qsizetype i) const { return store_.text(i); }
    const QString& header() const { return header_; }

    void append(QAnyStringView text);
    void removeAt(qsizetype i);
    void clear();
    template <class Keep> qsizetype retainIf(Keep&& keep);
    void truncate(qsizetype count);
    void reserve(qsizetype entries, qsizetype chars) { store_.reserve(entries, chars); }

    // The entries as they are now; later changes of the list do not touch it.
    AddressStore snapshot() const { return store_; }
    qsizetype memoryUsed() const { return store_.memoryUsed(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void announceAppends();

    QString header_;
    AddressStore store_;
    qsizetype announced_ = 0; // entries the views have been told about
    bool announcePosted_ = false;
};

template <class Keep> qsizetype AddressListModel::retainIf(Keep&& keep) {
    beginResetModel();
    const auto reset = qScopeGuard([this] {
        announced_ = store_.count();
        endResetModel();
    });
    return store_.retainIf(std::forward<Keep>(keep));
}
