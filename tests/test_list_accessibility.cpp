#include "AddressListAccessible.h"
#include "ListContents.h"
#include "ReaderEvents.h"
#include "ShownList.h"
#include "TestWindow.h"

#include <QAccessible>
#include <QScrollBar>
#include <QtTest>

namespace {
struct Shown : ShownList {
    using ShownList::ShownList;
    QAccessibleInterface* iface() { return QAccessible::queryAccessibleInterface(&view); }
    QString textOf(int row) {
        QAccessibleInterface* item = iface()->child(row);
        return item ? item->text(QAccessible::Name) : QStringLiteral("<none>");
    }
    QAccessible::State stateOf(int row) { return iface()->child(row)->state(); }
};

struct Heard {
    QAccessible::Event type;
    QObject* object;
    int child;
};
QList<Heard> heard;

void record(QAccessibleEvent* event) {
    heard.append({event->type(), event->object(), event->child()});
}

// Listens to what the views tell readers for as long as it lives; the
// offscreen platform has no readers of its own.
struct Listening {
    ReaderEvents::Listener previous = ReaderEvents::setListener(record);
    Listening() { heard.clear(); }
    ~Listening() {
        ReaderEvents::setListener(previous);
        heard.clear();
    }
    static bool has(QAccessible::Event type, QObject* object, int child) {
        for (const Heard& h : std::as_const(heard))
            if (h.type == type && h.object == object && h.child == child)
                return true;
        return false;
    }
};
} // namespace

class TestListAccessibility : public QObject {
    Q_OBJECT

private slots:
    void listIsNamedAndCountsItsRows() {
        Shown s(0);
        QAccessibleInterface* list = s.iface();
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Results"));
        QCOMPARE(list->childCount(), 0);
        QVERIFY(!list->child(0));

        AppendShown(s.list, 5);
        QCOMPARE(list->childCount(), 5);
        QVERIFY(!list->child(5));
        QVERIFY(!list->child(-1));
        s.list.removeAt(2);
        QCOMPARE(list->childCount(), 4);
        s.list.clear();
        QCOMPARE(list->childCount(), 0);
        QVERIFY(!list->child(0));
    }

    void rowsAnswerTheirEntries_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("ascii") << QStringLiteral("anna@example.org");
        QTest::newRow("latin-1") << QStringLiteral("jürgen@straße.de");
        QTest::newRow("cyrillic") << QStringLiteral("почта@пример.рф");
        QTest::newRow("han") << QStringLiteral("用户@例子.中国");
    }
    void rowsAnswerTheirEntries() {
        QFETCH(QString, entry);
        Shown s(2);
        s.list.append(entry);
        QCoreApplication::processEvents();
        QAccessibleInterface* list = s.iface();
        for (int row = 0; row < 3; ++row) {
            QAccessibleInterface* item = list->child(row);
            QVERIFY(item);
            QCOMPARE(item->role(), QAccessible::ListItem);
            QCOMPARE(item->text(QAccessible::Name), row == 2 ? entry : NumberedAddress(row));
            QCOMPARE(list->indexOfChild(item), row);
            QCOMPARE(item->parent(), list);
            QCOMPARE(list->child(row), item); // asked again, the same one
        }
    }

    void childAtFindsTheRowUnderAPoint() {
        Shown s(100);
        s.view.verticalScrollBar()->setValue(40);
        QAccessibleInterface* list = s.iface();
        const QRect cell = s.view.visualRect(s.list.index(42, 0));
        const QPoint centre = s.view.viewport()->mapToGlobal(cell.center());
        QAccessibleInterface* item = list->childAt(centre.x(), centre.y());
        QVERIFY(item);
        QCOMPARE(item->text(QAccessible::Name), NumberedAddress(42));
        QCOMPARE(item->rect(), QRect(s.view.viewport()->mapToGlobal(cell.topLeft()), cell.size()));
        QVERIFY(item->rect().contains(centre));

        const QPoint outside = s.view.mapToGlobal(QPoint(-5, -5));
        QVERIFY(!list->childAt(outside.x(), outside.y()));
    }

    void childAtBelowTheLastRowFindsNothing() {
        Shown s(2);
        const QPoint below =
            s.view.viewport()->mapToGlobal(QPoint(10, s.view.viewport()->height() - 2));
        QVERIFY(!s.iface()->childAt(below.x(), below.y()));
    }

    void stateFollowsSelectionAndSight() {
        Shown s(1000);
        s.view.selectionModel()->select(s.list.index(3, 0), QItemSelectionModel::ClearAndSelect);
        QVERIFY(s.stateOf(3).selected);
        QVERIFY(s.stateOf(3).selectable);
        QVERIFY(!s.stateOf(4).selected);
        QVERIFY(!s.stateOf(3).invisible);
        QVERIFY(s.stateOf(500).invisible);

        s.view.scrollTo(s.list.index(500, 0), QAbstractItemView::PositionAtTop);
        QVERIFY(!s.stateOf(500).invisible);
        QVERIFY(s.stateOf(3).invisible);

        s.view.selectionModel()->select(s.list.index(500, 0), QItemSelectionModel::ClearAndSelect);
        QVERIFY(!s.stateOf(3).selected);
        QVERIFY(s.stateOf(500).selected);
    }

    void currentRowIsToldAndFocused() {
        Shown s(20);
        s.view.activateWindow();
        s.view.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&s.view));
        QTRY_VERIFY(s.view.hasFocus());
        Listening listening;

        s.view.setCurrentIndex(s.list.index(7, 0));
        QVERIFY(Listening::has(QAccessible::Focus, &s.view, 7));
        QVERIFY(Listening::has(QAccessible::Selection, &s.view, 7));
        QAccessibleInterface* focused = s.iface()->focusChild();
        QVERIFY(focused);
        QCOMPARE(focused->text(QAccessible::Name), NumberedAddress(7));
        QVERIFY(focused->state().focused);
        QVERIFY(focused->state().selected);
        QVERIFY(!s.stateOf(6).focused);

        heard.clear();
        QTest::keyClick(&s.view, Qt::Key_Down);
        QCOMPARE(s.view.currentIndex().row(), 8);
        QVERIFY(Listening::has(QAccessible::Focus, &s.view, 8));
    }

    void noFocusToldWhileTheListHasNoFocus() {
        Shown s(20);
        Listening listening;
        s.view.clearFocus();
        s.view.setCurrentIndex(s.list.index(3, 0));
        QVERIFY(!Listening::has(QAccessible::Focus, &s.view, 3));
    }

    void aRangeChosenAtOnceIsToldAsAChangeWithin() {
        Shown s(20);
        s.view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        Listening listening;
        s.view.selectionModel()->select(QItemSelection(s.list.index(2, 0), s.list.index(9, 0)),
                                        QItemSelectionModel::ClearAndSelect);
        QVERIFY(Listening::has(QAccessible::SelectionWithin, &s.view, -1));
        QVERIFY(!Listening::has(QAccessible::Selection, &s.view, 2));
        QVERIFY(s.stateOf(9).selected);
        QVERIFY(s.iface()->state().extSelectable);
    }

    void theWindowsListsAreListsOfTheirEntries() {
        TestWindow t;
        Form1& form = t.start();
        form.state().ListView1.append(u"first@example.com");
        QCoreApplication::processEvents();
        QAccessibleInterface* input = QAccessible::queryAccessibleInterface(form.ListView1);
        QCOMPARE(input->role(), QAccessible::List);
        QCOMPARE(input->text(QAccessible::Name), form.ListView1->accessibleName());
        QCOMPARE(input->text(QAccessible::Description), form.ListView1->toolTip());
        QCOMPARE(input->childCount(), 1);
        QCOMPARE(input->child(0)->text(QAccessible::Name), QStringLiteral("first@example.com"));
        QAccessibleInterface* results = QAccessible::queryAccessibleInterface(form.ListView2);
        QCOMPARE(results->role(), QAccessible::List);
        QCOMPARE(results->childCount(), 0);
    }

    void removedRowsNeverAnswerTheirOldText() {
        Shown s(5);
        QAccessibleInterface* list = s.iface();
        const QAccessible::Id first = QAccessible::uniqueId(list->child(0));
        const QAccessible::Id second = QAccessible::uniqueId(list->child(1));
        const QAccessible::Id last = QAccessible::uniqueId(list->child(4));
        s.list.removeAt(0);

        QCOMPARE(s.textOf(0), NumberedAddress(1));
        QVERIFY(!QAccessible::accessibleInterface(first));
        // The rows after it keep their interfaces under their new numbers.
        QCOMPARE(QAccessible::uniqueId(list->child(0)), second);
        QCOMPARE(list->indexOfChild(QAccessible::accessibleInterface(last)), 3);
        QCOMPARE(QAccessible::accessibleInterface(last)->text(QAccessible::Name),
                 NumberedAddress(4));
    }

    void clearingDropsEveryRow() {
        Shown s(5);
        const QAccessible::Id id = QAccessible::uniqueId(s.iface()->child(2));
        s.list.clear();
        QVERIFY(!QAccessible::accessibleInterface(id));
        s.list.append(QStringLiteral("new@example.com"));
        QCoreApplication::processEvents();
        QCOMPARE(s.textOf(0), QStringLiteral("new@example.com"));
    }

    void retainedRowsAreAskedAgain() {
        Shown s(6);
        const QAccessible::Id id = QAccessible::uniqueId(s.iface()->child(1));
        s.list.retainIf(
            [](QAnyStringView text) { return text != QLatin1StringView("user0@example.com"); });
        QVERIFY(!QAccessible::accessibleInterface(id));
        QCOMPARE(s.textOf(0), NumberedAddress(1));
    }

    void walkingAHugeListKeepsFewRows() {
        Shown s(0);
        for (int i = 0; i < 200000; ++i)
            s.list.append(NumberedAddress(i));
        QCoreApplication::processEvents();
        QAccessibleInterface* list = s.iface();
        QCOMPARE(list->childCount(), 200000);
        const QAccessible::Id first = QAccessible::uniqueId(list->child(0));
        for (int row = 1; row < 5000; ++row)
            QCOMPARE(list->child(row)->text(QAccessible::Name), NumberedAddress(row));
        QVERIFY(!QAccessible::accessibleInterface(first));
        QCOMPARE(list->child(199999)->text(QAccessible::Name), NumberedAddress(199999));
    }

    void rowsOutliveNoView() {
        QAccessible::Id id;
        {
            Shown s(3);
            id = QAccessible::uniqueId(s.iface()->child(1));
            QVERIFY(QAccessible::accessibleInterface(id));
        }
        QVERIFY(!QAccessible::accessibleInterface(id));
    }
};

QTEST_MAIN(TestListAccessibility)
#include "test_list_accessibility.moc"
