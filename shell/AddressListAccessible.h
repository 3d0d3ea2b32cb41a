#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class AddressListView;
class QItemSelection;
class QModelIndex;

// What a screen reader sees of an AddressListView: a list whose children are
// its rows. Row interfaces are made only for the rows a reader asks for and
// only a few are kept, so a list of millions costs what a screenful costs.
class AddressListAccessible : public QAccessibleWidget {
public:
    explicit AddressListAccessible(AddressListView* view);
    ~AddressListAccessible() override;

    // Makes Qt ask this class for every AddressListView; later calls do nothing.
    static void install();

    // The view reports its changes here so that kept rows follow their
    // entries and readers hear of the current row.
    static void rowsInserted(AddressListView* view, int first, int last);
    static void rowsRemoved(AddressListView* view, int first, int last);
    static void modelReset(AddressListView* view);
    static void currentChanged(AddressListView* view, const QModelIndex& current);
    static void selectionChanged(AddressListView* view, const QItemSelection& selected);

    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    AddressListView* view() const;
    void dropRows(int first, int last);
    void shiftRows(int from, int by);
    void dropAll();

    // Row -> id of its registered interface; at most kMaxRows entries.
    mutable QHash<int, QAccessible::Id> rows_;
};

// One row of an AddressListView as a reader sees it. It names its row by
// number; the list interface moves or drops it when rows come and go.
class AddressRowAccessible : public QAccessibleInterface {
public:
    AddressRowAccessible(AddressListView* view, int row) : view_(view), row_(row) {}

    int row() const { return row_; }
    void setRow(int row) { row_ = row; }
    const AddressListView* view() const { return view_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QModelIndex index() const;

    QPointer<AddressListView> view_;
    int row_;
};
