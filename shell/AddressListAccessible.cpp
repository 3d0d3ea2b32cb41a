#include "AddressListAccessible.h"

#include "AddressListView.h"
#include "ReaderEvents.h"

#include <QItemSelection>

#include <utility>

namespace {
// A few screenfuls; a reader walking further makes the oldest go.
constexpr int kMaxRows = 256;

// The interface of each view that has one, so the view's reports reach it
// without making one when no reader ever asked.
QHash<const AddressListView*, AddressListAccessible*>& interfaces() {
    static QHash<const AddressListView*, AddressListAccessible*> all;
    return all;
}

AddressListAccessible* existing(const AddressListView* view) {
    return interfaces().value(view);
}

int rowCountOf(const AddressListView* view) {
    return view && view->model() ? view->model()->rowCount(view->rootIndex()) : 0;
}

bool hasFocus(const AddressListView* view) {
    return view->hasFocus() || view->viewport()->hasFocus();
}

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<AddressListView*>(object))
        return new AddressListAccessible(view);
    return nullptr;
}
} // namespace

AddressListAccessible::AddressListAccessible(AddressListView* view)
    : QAccessibleWidget(view, QAccessible::List) {
    interfaces().insert(view, this);
}

AddressListAccessible::~AddressListAccessible() {
    dropAll();
    // The view may be gone already; drop whatever entry still names this.
    for (auto it = interfaces().begin(); it != interfaces().end();) {
        if (it.value() == this)
            it = interfaces().erase(it);
        else
            ++it;
    }
}

void AddressListAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

AddressListView* AddressListAccessible::view() const {
    return static_cast<AddressListView*>(widget());
}

void AddressListAccessible::rowsInserted(AddressListView* view, int first, int last) {
    if (AddressListAccessible* list = existing(view))
        list->shiftRows(first, last - first + 1);
}

void AddressListAccessible::rowsRemoved(AddressListView* view, int first, int last) {
    if (AddressListAccessible* list = existing(view)) {
        list->dropRows(first, last);
        list->shiftRows(last + 1, -(last - first + 1));
    }
}

void AddressListAccessible::modelReset(AddressListView* view) {
    if (AddressListAccessible* list = existing(view))
        list->dropAll();
}

void AddressListAccessible::currentChanged(AddressListView* view, const QModelIndex& current) {
    if (!ReaderEvents::heard() || !current.isValid() || !hasFocus(view))
        return;
    QAccessibleEvent event(view, QAccessible::Focus);
    event.setChild(current.row());
    ReaderEvents::tell(&event);
}

void AddressListAccessible::selectionChanged(AddressListView* view,
                                             const QItemSelection& selected) {
    if (!ReaderEvents::heard() || selected.isEmpty())
        return;
    // One row named when one row was chosen; otherwise readers look again.
    const bool oneRow = selected.size() == 1 && selected.first().height() == 1;
    QAccessibleEvent event(view, oneRow ? QAccessible::Selection : QAccessible::SelectionWithin);
    if (oneRow)
        event.setChild(selected.first().top());
    ReaderEvents::tell(&event);
}

QAccessible::State AddressListAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const auto mode = view()->selectionMode();
    s.multiSelectable = mode == QAbstractItemView::MultiSelection;
    s.extSelectable = mode == QAbstractItemView::ExtendedSelection;
    return s;
}

int AddressListAccessible::childCount() const {
    return rowCountOf(view());
}

QAccessibleInterface* AddressListAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto found = rows_.constFind(index); found != rows_.constEnd())
        return QAccessible::accessibleInterface(found.value());
    if (rows_.size() >= kMaxRows)
        const_cast<AddressListAccessible*>(this)->dropAll();
    auto* row = new AddressRowAccessible(view(), index);
    rows_.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int AddressListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* row = dynamic_cast<const AddressRowAccessible*>(child);
    if (!row || row->view() != view() || !row->isValid())
        return -1;
    return row->row();
}

QAccessibleInterface* AddressListAccessible::childAt(int x, int y) const {
    const QWidget* viewport = view()->viewport();
    const QPoint local = viewport->mapFromGlobal(QPoint(x, y));
    if (!viewport->rect().contains(local))
        return nullptr;
    const QModelIndex index = view()->indexAt(local);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface* AddressListAccessible::focusChild() const {
    const QModelIndex current = view()->currentIndex();
    if (current.isValid() && hasFocus(view()))
        return child(current.row());
    return QAccessibleWidget::focusChild();
}

void AddressListAccessible::dropRows(int first, int last) {
    for (auto it = rows_.begin(); it != rows_.end();) {
        if (it.key() >= first && it.key() <= last) {
            QAccessible::deleteAccessibleInterface(it.value());
            it = rows_.erase(it);
        } else {
            ++it;
        }
    }
}

void AddressListAccessible::shiftRows(int from, int by) {
    QHash<int, QAccessible::Id> moved;
    for (auto it = rows_.begin(); it != rows_.end(); ++it) {
        int row = it.key();
        if (row >= from) {
            row += by;
            static_cast<AddressRowAccessible*>(QAccessible::accessibleInterface(it.value()))
                ->setRow(row);
        }
        moved.insert(row, it.value());
    }
    rows_.swap(moved);
}

void AddressListAccessible::dropAll() {
    for (const QAccessible::Id id : std::as_const(rows_))
        QAccessible::deleteAccessibleInterface(id);
    rows_.clear();
}

QModelIndex AddressRowAccessible::index() const {
    if (!isValid())
        return {};
    return view_->model()->index(row_, 0, view_->rootIndex());
}

bool AddressRowAccessible::isValid() const {
    return row_ >= 0 && row_ < rowCountOf(view_);
}

QWindow* AddressRowAccessible::window() const {
    QAccessibleInterface* list = parent();
    return list ? list->window() : nullptr;
}

QAccessibleInterface* AddressRowAccessible::parent() const {
    return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
}

QString AddressRowAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name)
        return {};
    return index().data(Qt::DisplayRole).toString();
}

QRect AddressRowAccessible::rect() const {
    const QModelIndex row = index();
    if (!row.isValid())
        return {};
    const QRect local = view_->visualRect(row);
    return QRect(view_->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State AddressRowAccessible::state() const {
    QAccessible::State s;
    const QModelIndex row = index();
    if (!row.isValid()) {
        s.invalid = true;
        return s;
    }
    s.selectable = view_->selectionMode() != QAbstractItemView::NoSelection;
    s.selected = view_->selectionModel() && view_->selectionModel()->isSelected(row);
    s.focusable = true;
    s.focused = row == view_->currentIndex() && hasFocus(view_);
    const int first = view_->firstVisibleRow();
    // The partly shown row below the last whole one is in sight too.
    const bool inSight = row_ >= first && row_ <= first + view_->rowsInSight();
    s.invisible = !view_->isVisible() || !inSight;
    s.offscreen = s.invisible;
    return s;
}
