#include "AddressListView.h"

#include "AddressListAccessible.h"
#include "ShownText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
// Rows far out of sight get a position this far away at most, so pixel
// arithmetic on millions of rows never overflows an int.
constexpr qint64 kFarAway = qint64(1) << 28;

qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
} // namespace

AddressListView::AddressListView(QWidget* parent)
    : QAbstractItemView(parent), header_(new QHeaderView(Qt::Horizontal, this)) {
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    AddressListAccessible::install();
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
}

int AddressListView::columnWidth(int column) const {
    return header_->sectionSize(column);
}

void AddressListView::setColumnWidth(int column, int width) {
    header_->resizeSection(column, width);
}

int AddressListView::rowHeight() const {
    return qMax(1, fontMetrics().height());
}

int AddressListView::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

int AddressListView::rowsInSight() const {
    return qMax(1, viewport()->height() / rowHeight());
}

int AddressListView::rowCount() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

qint64 AddressListView::rowAtY(int y) const {
    return firstVisibleRow() + floorDiv(y, rowHeight());
}

void AddressListView::setModel(QAbstractItemModel* model) {
    disconnect(rowsRemoved_);
    QAbstractItemView::setModel(model);
    header_->setModel(model);
    if (model)
        rowsRemoved_ =
            connect(model, &QAbstractItemModel::rowsRemoved, this, &AddressListView::rowsChanged);
    AddressListAccessible::modelReset(this);
    rowsChanged();
}

QRect AddressListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex())
        return {};
    const qint64 y = (qint64(index.row()) - firstVisibleRow()) * rowHeight();
    return QRect(-horizontalOffset(), int(qBound(-kFarAway, y, kFarAway)), columnWidth(0),
                 rowHeight());
}

QModelIndex AddressListView::indexAt(const QPoint& point) const {
    const int x = point.x() + horizontalOffset();
    const qint64 row = rowAtY(point.y());
    if (point.y() < 0 || x < 0 || x >= columnWidth(0) || row >= rowCount())
        return {};
    return model()->index(int(row), 0, rootIndex());
}

void AddressListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.model() != model())
        return;
    const int row = index.row();
    const int top = firstVisibleRow();
    const int inSight = rowsInSight();
    int first = top;
    switch (hint) {
    case PositionAtTop:
        first = row;
        break;
    case PositionAtBottom:
        first = row - inSight + 1;
        break;
    case PositionAtCenter:
        first = row - inSight / 2;
        break;
    case EnsureVisible:
        if (row < top)
            first = row;
        else if (row >= top + inSight)
            first = row - inSight + 1;
        break;
    }
    verticalScrollBar()->setValue(first);
}

QModelIndex AddressListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int rows = rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0, rootIndex());
    qint64 row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row -= rowsInSight();
        break;
    case MovePageDown:
        row += rowsInSight();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return model()->index(int(qBound(qint64(0), row, qint64(rows) - 1)), 0, rootIndex());
}

int AddressListView::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int AddressListView::verticalOffset() const {
    return int(qMin<qint64>(qint64(firstVisibleRow()) * rowHeight(), kFarAway));
}

bool AddressListView::isIndexHidden(const QModelIndex&) const {
    return false;
}

void AddressListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const qint64 top = rowAtY(area.top());
    const qint64 bottom = rowAtY(area.bottom());
    const int rows = rowCount();
    QItemSelection selection;
    if (bottom >= 0 && top < rows)
        selection.select(model()->index(int(qMax<qint64>(top, 0)), 0, rootIndex()),
                         model()->index(int(qMin<qint64>(bottom, rows - 1)), 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion AddressListView::visualRegionForSelection(const QItemSelection& selection) const {
    const int first = firstVisibleRow();
    const int last = first + rowsInSight(); // the partly shown row below too
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || range.left() > 0)
            continue;
        const int top = qMax(range.top(), first);
        const int bottom = qMin(range.bottom(), last);
        if (top <= bottom)
            region += QRect(-horizontalOffset(), (top - first) * rowHeight(), columnWidth(0),
                            (bottom - top + 1) * rowHeight());
    }
    return region;
}

void AddressListView::initViewItemOption(QStyleOptionViewItem* option) const {
    QAbstractItemView::initViewItemOption(option);
    option->showDecorationSelected = true;
}

void AddressListView::updateGeometries() {
    // Showing or hiding a scroll bar resizes the viewport, which asks for a
    // layout while this one runs; that asks for another pass, not a nested one.
    if (layingOut_) {
        layoutAgain_ = true;
        return;
    }
    layingOut_ = true;
    for (int pass = 0; pass < 3; ++pass) {
        layoutAgain_ = false;
        layOut();
        if (!layoutAgain_)
            break;
    }
    layingOut_ = false;
    QAbstractItemView::updateGeometries();
}

void AddressListView::layOut() {
    const int headerHeight = header_->isHidden() ? 0 : header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);

    QScrollBar* rows = verticalScrollBar();
    rows->setSingleStep(1);
    rows->setPageStep(rowsInSight());
    rows->setRange(0, qMax(0, rowCount() - rowsInSight()));

    const int width = viewport()->width();
    QScrollBar* columns = horizontalScrollBar();
    columns->setSingleStep(rowHeight());
    columns->setPageStep(width);
    columns->setRange(0, qMax(0, columnWidth(0) - width));

    const QRect area = viewport()->geometry();
    header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    header_->setOffset(columns->value());
}

void AddressListView::scrollContentsBy(int dx, int) {
    if (dx != 0)
        header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void AddressListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int height = rowHeight();
    const int first = firstVisibleRow();
    const QRect area = event->rect();
    const int from = first + qMax(0, area.top() / height);
    const int to = qMin<qint64>(rowCount() - 1, qint64(first) + area.bottom() / height);
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus() || viewport()->hasFocus();
    // A glyph takes a pixel at least: no more characters than pixels from the
    // column's start to the end of what is in sight need laying out.
    const int reach = qMin(columnWidth(0), horizontalOffset() + viewport()->width());
    option.features |= QStyleOptionViewItem::HasDisplay;
    for (int row = from; row <= to; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        QStyleOptionViewItem cell = option;
        cell.rect = visualRect(index);
        cell.index = index;
        cell.text = ShownStart(index.data(Qt::DisplayRole).toString(), reach);
        if (selectionModel() && selectionModel()->isSelected(index))
            cell.state |= QStyle::State_Selected;
        if (focused && index == current)
            cell.state |= QStyle::State_HasFocus;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &cell, &painter, this);
        style()->drawControl(QStyle::CE_ItemViewItem, &cell, &painter, this);
    }
}

void AddressListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent == rootIndex())
        AddressListAccessible::rowsInserted(this, start, end);
    updateGeometries();
    if (start <= firstVisibleRow() + rowsInSight())
        viewport()->update();
}

// Before the rows go, so that readers told of the removal find the rows after
// it under their new numbers already.
void AddressListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    if (parent == rootIndex())
        AddressListAccessible::rowsRemoved(this, start, end);
}

void AddressListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    AddressListAccessible::currentChanged(this, current);
}

void AddressListView::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
    AddressListAccessible::selectionChanged(this, selected);
}

void AddressListView::rowsChanged() {
    updateGeometries();
    viewport()->update();
}

void AddressListView::reset() {
    AddressListAccessible::modelReset(this);
    QAbstractItemView::reset();
    rowsChanged();
}

void AddressListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Delete)
        return QAbstractItemView::keyPressEvent(event);
    event->accept();
    emit removalRequested();
}

void AddressListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractItemView::mouseDoubleClickEvent(event);
    event->accept();
    emit removalRequested();
}
