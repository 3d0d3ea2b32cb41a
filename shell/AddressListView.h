#pragma once

#include <QAbstractItemView>

class QHeaderView;

// A one-column list whose rows all have the height of a line of its font.
// It keeps nothing per row: the vertical scroll bar counts rows (its value is
// the first row in sight) and only the rows in sight are asked for and
// painted, so a list of millions of entries costs what a screenful costs.
// Likewise a row lays out only the start of its entry that can come into sight.
// A header above the rows shows the column's title; widening the column
// widens the horizontal scroll range.
class AddressListView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit AddressListView(QWidget* parent = nullptr);

    QHeaderView* horizontalHeader() const { return header_; }
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    int rowHeight() const;
    int firstVisibleRow() const;
    // Rows that fit whole in the viewport; at least one.
    int rowsInSight() const;

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void reset() override;

signals:
    // Delete, or a double-click of the left button: the user asks to remove
    // the selected row.
    void removalRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    int rowCount() const;
    qint64 rowAtY(int y) const; // may lie outside the list
    void layOut();
    void rowsChanged();

    QHeaderView* header_;
    QMetaObject::Connection rowsRemoved_;
    bool layingOut_ = false;
    bool layoutAgain_ = false;
};
