#include "HeapInUse.h"
#include "ListContents.h"
#include "ShownList.h"
#include "ShownText.h"

#include <QAccessible>
#include <QHeaderView>
#include <QProxyStyle>
#include <QScrollBar>
#include <QtTest>

namespace {
// Notes the longest text a row was drawn with.
struct RecordingStyle : QProxyStyle {
    mutable qsizetype longest = 0;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (const auto* row = qstyleoption_cast<const QStyleOptionViewItem*>(option))
            longest = qMax(longest, row->text.size());
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

struct Shown : ShownList {
    using ShownList::ShownList;
    int current() const { return view.currentIndex().row(); }
    int selected() const {
        const QModelIndexList rows = view.selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -rows.size() - 1;
    }
    QPoint centreOf(int row) const { return view.visualRect(list.index(row, 0)).center(); }
};
} // namespace

class TestAddressListView : public QObject {
    Q_OBJECT

private slots:
    void indexAtAndVisualRectAgreeForRowsInSight() {
        Shown s(100);
        s.view.verticalScrollBar()->setValue(37);
        const int h = s.view.rowHeight();
        QCOMPARE(h, s.view.fontMetrics().height());
        for (int row = 37; row < 37 + s.view.rowsInSight(); ++row) {
            const QRect cell = s.view.visualRect(s.list.index(row, 0));
            QCOMPARE(cell.height(), h);
            QCOMPARE(cell.top(), (row - 37) * h);
            QCOMPARE(s.view.indexAt(cell.topLeft()).row(), row);
            QCOMPARE(s.view.indexAt(cell.bottomRight()).row(), row);
        }
        QVERIFY(!s.view.indexAt(QPoint(5, -1)).isValid());
        QVERIFY(!s.view.indexAt(QPoint(s.view.columnWidth(0) + 1, 2)).isValid());
        // Past the last row of a short list there is nothing.
        Shown few(2);
        QVERIFY(few.view.indexAt(QPoint(5, h + 1)).isValid());
        QVERIFY(!few.view.indexAt(QPoint(5, 2 * h + 1)).isValid());
    }

    void scrollRangeFollowsAppendsRemovalsAndClear() {
        Shown s(0);
        QScrollBar* rows = s.view.verticalScrollBar();
        const int inSight = s.view.rowsInSight();
        QVERIFY(inSight > 3);
        QCOMPARE(rows->maximum(), 0);

        AppendShown(s.list, inSight);
        QCOMPARE(rows->maximum(), 0);
        AppendShown(s.list, 1000);
        QCOMPARE(rows->maximum(), 1000);
        QCOMPARE(rows->pageStep(), inSight);

        // At the end or at the top, appending keeps the first row in sight where it was.
        rows->setValue(rows->maximum());
        AppendShown(s.list, 50);
        QCOMPARE(rows->maximum(), 1050);
        QCOMPARE(s.view.firstVisibleRow(), 1000);
        rows->setValue(0);
        AppendShown(s.list, 50);
        QCOMPARE(s.view.firstVisibleRow(), 0);

        rows->setValue(rows->maximum());
        s.list.removeAt(0);
        QCOMPARE(rows->maximum(), 1099);
        QCOMPARE(s.view.firstVisibleRow(), 1099);

        s.list.retainIf(
            [](QAnyStringView text) { return text.toString().endsWith(u"0@example.com"); });
        QCOMPARE(rows->maximum(), qMax(0, int(s.list.count()) - inSight));
        QVERIFY(s.view.firstVisibleRow() <= rows->maximum());

        s.list.clear();
        QCOMPARE(rows->maximum(), 0);
        QCOMPARE(s.view.firstVisibleRow(), 0);
        QCOMPARE(s.view.columnWidth(0), 300); // the user's width outlives the rows
        QVERIFY(!s.view.indexAt(QPoint(5, 5)).isValid());
    }

    void keysMoveTheCurrentRow_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("expected"); // -1: the last row; -2: a page down; -3: a page up
        QTest::newRow("down twice") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 2;
        QTest::newRow("up stops at the top")
            << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Up} << 0;
        QTest::newRow("end") << QList<int>{Qt::Key_End} << -1;
        QTest::newRow("down stops at the end") << QList<int>{Qt::Key_End, Qt::Key_Down} << -1;
        QTest::newRow("end then home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
        QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << -2;
        QTest::newRow("page up from the end") << QList<int>{Qt::Key_End, Qt::Key_PageUp} << -3;
        QTest::newRow("sideways stays")
            << QList<int>{Qt::Key_Down, Qt::Key_Right, Qt::Key_Left} << 1;
    }

    void keysMoveTheCurrentRow() {
        QFETCH(QList<int>, keys);
        QFETCH(int, expected);
        constexpr int kRows = 500;
        Shown s(kRows);
        s.view.setCurrentIndex(s.list.index(0, 0));
        for (int key : keys)
            QTest::keyClick(&s.view, Qt::Key(key));
        const int inSight = s.view.rowsInSight();
        const int want = expected == -1   ? kRows - 1
                         : expected == -2 ? inSight
                         : expected == -3 ? kRows - 1 - inSight
                                          : expected;
        QCOMPARE(s.current(), want);
        QCOMPARE(s.selected(), want);
        // The current row is in sight, whole.
        const QRect cell = s.view.visualRect(s.view.currentIndex());
        QVERIFY(cell.top() >= 0);
        QVERIFY(cell.bottom() < s.view.viewport()->height());
    }

    void clickSelectsTheRowUnderTheMouse() {
        Shown s(300);
        s.view.verticalScrollBar()->setValue(120);
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.centreOf(123));
        QCOMPARE(s.selected(), 123);
        QCOMPARE(s.current(), 123);
        QTest::mouseClick(s.view.viewport(), Qt::LeftButton, {}, s.centreOf(121));
        QCOMPARE(s.selected(), 121); // one row at a time
    }

    void headerShowsTheTitleAndTheColumnWidth() {
        Shown s(10);
        QHeaderView* header = s.view.horizontalHeader();
        QCOMPARE(header->orientation(), Qt::Horizontal);
        QCOMPARE(header->count(), 1);
        QCOMPARE(header->model()->headerData(0, Qt::Horizontal).toString(), QString("Result(s)"));
        QVERIFY(header->isVisible());
        QVERIFY(header->height() > 0);
        QCOMPARE(s.view.viewport()->geometry().top(), header->geometry().bottom() + 1);

        s.view.setColumnWidth(0, 900);
        QCOMPARE(s.view.columnWidth(0), 900);
        QCOMPARE(header->sectionSize(0), 900);
        QScrollBar* columns = s.view.horizontalScrollBar();
        QCOMPARE(columns->maximum(), 900 - s.view.viewport()->width());
        QCOMPARE(s.view.visualRect(s.list.index(0, 0)).width(), 900);

        // Scrolling sideways moves the rows and the header together.
        columns->setValue(200);
        QCOMPARE(header->offset(), 200);
        QCOMPARE(s.view.visualRect(s.list.index(0, 0)).left(), -200);
        QCOMPARE(s.view.indexAt(QPoint(5, 2)).row(), 0);

        // A user's resize of the section is a width change too.
        header->resizeSection(0, 100);
        QCOMPARE(s.view.columnWidth(0), 100);
        QCOMPARE(columns->maximum(), 0);
    }

    void removalKeepsAValidSelection_data() {
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("selectedAfter");
        QTest::addColumn<int>("entryBefore"); // where the selected entry was before
        QTest::newRow("middle: the next entry") << 4 << 4 << 5;
        QTest::newRow("last: the entry before") << 9 << 8 << 8;
        QTest::newRow("first") << 0 << 0 << 1;
    }

    void removalKeepsAValidSelection() {
        QFETCH(int, removed);
        QFETCH(int, selectedAfter);
        QFETCH(int, entryBefore);
        Shown s(10);
        s.view.setCurrentIndex(s.list.index(removed, 0));
        QCOMPARE(s.selected(), removed);
        s.list.removeAt(removed);
        QCOMPARE(s.list.count(), 9);
        QCOMPARE(s.selected(), selectedAfter);
        QCOMPARE(s.current(), selectedAfter);
        QCOMPARE(s.list.text(selectedAfter), NumberedAddress(entryBefore));

        // Removing the only row leaves nothing selected.
        Shown one(1);
        one.view.setCurrentIndex(one.list.index(0, 0));
        one.list.removeAt(0);
        QCOMPARE(one.selected(), -1);
        QVERIFY(!one.view.currentIndex().isValid());
    }

    void resetDropsSelectionAndPaintsAnEmptyList() {
        Shown s(20);
        s.view.setCurrentIndex(s.list.index(5, 0));
        s.list.clear();
        QCOMPARE(s.selected(), -1);
        QVERIFY(!s.view.currentIndex().isValid());
        QTest::keyClick(&s.view, Qt::Key_End); // nothing to move to
        QVERIFY(!s.view.currentIndex().isValid());
        s.view.repaint();
        AppendShown(s.list, 3);
        // With no current row the first key picks the first row.
        QTest::keyClick(&s.view, Qt::Key_End);
        QCOMPARE(s.current(), 0);
        QTest::keyClick(&s.view, Qt::Key_End);
        QCOMPARE(s.current(), 2);
    }

    void paintsOnlyTheRowsInSight() {
        // Each data() call is a row read for painting; a list of 5,000,000 rows
        // must be painted from a screenful of them.
        struct Counting : AddressListModel {
            using AddressListModel::AddressListModel;
            mutable int reads = 0;
            QVariant data(const QModelIndex& index, int role) const override {
                if (role == Qt::DisplayRole)
                    ++reads;
                return AddressListModel::data(index, role);
            }
        };
        Counting list(QStringLiteral("Result(s)"));
        list.reserve(5000000, 5 * qsizetype(5000000));
        for (int i = 0; i < 5000000; ++i)
            list.append(u"a@b.c");
        AddressListView view;
        view.setModel(&list);
        view.resize(260, 200);
        view.show();
        QCoreApplication::processEvents();
        QCOMPARE(view.model()->rowCount(), 5000000);
        QCOMPARE(view.verticalScrollBar()->maximum(), 5000000 - view.rowsInSight());

        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        list.reads = 0;
        view.viewport()->repaint();
        QVERIFY(list.reads > 0);
        QVERIFY2(list.reads <= view.rowsInSight() + 1, qPrintable(QString::number(list.reads)));
        const QModelIndex last = list.index(4999999, 0);
        QVERIFY(view.viewport()->rect().contains(view.visualRect(last)));
        QCOMPARE(view.indexAt(view.visualRect(last).center()), last);
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(view.currentIndex(), last);
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.currentIndex().row(), 0);
        QCOMPARE(view.firstVisibleRow(), 0);
    }

    void aLongEntryIsPaintedFromItsStart_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("scrolled");
        QTest::newRow("column as set up") << 300 << 0;
        QTest::newRow("widened and scrolled to its end") << 3000 << 2800;
    }

    void aLongEntryIsPaintedFromItsStart() {
        QFETCH(int, column);
        QFETCH(int, scrolled);
        // Laying out tens of megabytes on one line takes Qt tens of seconds.
        const QString entry = QStringLiteral("start@of.the.entry ") + QString(20'000'000, u'x');
        RecordingStyle style;
        qsizetype reach = 0;
        auto painted = [&](const QString& text) {
            ShownList s(0);
            s.view.setStyle(&style);
            s.list.append(text);
            QCoreApplication::processEvents();
            s.view.setColumnWidth(0, column);
            s.view.horizontalScrollBar()->setValue(scrolled);
            reach = qMin(column, scrolled + s.view.viewport()->width());
            style.longest = 0;
            return s.view.viewport()->grab().toImage();
        };
        // A start far wider than the column ends in the same ellipsis.
        const QImage start = painted(entry.first(6000));
        QElapsedTimer timer;
        timer.start();
        const QImage whole = painted(entry);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        QCOMPARE(whole, start);
        // No more characters laid out than pixels can show them, and an ellipsis.
        QVERIFY2(style.longest <= reach + 1, qPrintable(QString::number(style.longest)));

        ShownList s(0);
        s.list.append(entry);
        QCoreApplication::processEvents();
        QCOMPARE(s.list.text(0), entry);
        // Readers, screen readers among them, get the start too.
        const QString shown = s.list.data(s.list.index(0, 0), Qt::DisplayRole).toString();
        QCOMPARE(shown, entry.first(kMostShownChars) + u'\u2026');
        QCOMPARE(QAccessible::queryAccessibleInterface(&s.view)->child(0)->text(QAccessible::Name),
                 shown);
    }

    void appendedBatchesCostNothingPerRow() {
        // Before anything is announced, the view is measured; announcing
        // 2,000,000 rows in 20 batches must not make it hold memory per row
        // (a per-row table of 8 bytes would be 16 MB here).
        constexpr int kBatches = 20;
        constexpr int kBatch = 100000;
        AddressListModel list(QStringLiteral("Result(s)"));
        list.reserve(qsizetype(kBatches) * kBatch, 24 * qsizetype(kBatches) * kBatch);
        AddressListView view;
        view.setModel(&list);
        view.resize(260, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.viewport()->repaint();
        QCoreApplication::processEvents();

        qint64 grown = 0;
        for (int batch = 0; batch < kBatches; ++batch) {
            for (int i = 0; i < kBatch; ++i)
                list.append(NumberedAddress(batch * kBatch + i));
            const qint64 before = HeapInUse();
            QCoreApplication::processEvents(); // the announcement and a repaint
            grown += HeapInUse() - before;
        }
        QCOMPARE(view.model()->rowCount(), kBatches * kBatch);
        QCOMPARE(view.verticalScrollBar()->maximum(), kBatches * kBatch - view.rowsInSight());
        QVERIFY2(grown < 1024 * 1024, qPrintable(QStringLiteral("%1 bytes").arg(grown)));
    }
};

QTEST_MAIN(TestAddressListView)
#include "test_address_list_view.moc"
