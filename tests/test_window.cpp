#include "AddressListView.h"
#include "ListContents.h"
#include "ProgressBarView.h"
#include "TestWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
// Filled, and shown to the views.
void fill(AddressListModel& list, const QStringList& texts) {
    Fill(list, texts);
    QCoreApplication::processEvents();
}

void select(AddressListView* view, int row) {
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void moveMouseOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void doubleClick(AddressListView* view, int row, Qt::MouseButton button = Qt::LeftButton) {
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseDClick(view->viewport(), button, {}, cell.center());
}
} // namespace

class TestWindowBehaviour : public QObject {
    Q_OBJECT

private slots:
    void layoutFollowsTheFormTable() {
        TestWindow t;
        Form1& form = t.start();
        QCOMPARE(form.size(), QSize(1064, 375));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(form.ListView1->geometry(), QRect(8, 8, 520, 121));
        QCOMPARE(form.PushButton17->geometry(), QRect(536, 7, 520, 27));
        QCOMPARE(form.Text1->geometry(), QRect(352, 65, 81, 23));
        QCOMPARE(form.ProgressBar1->geometry(), QRect(536, 338, 520, 27));
        QCOMPARE(form.Check2->parentWidget(), form.Frame1);
        QCOMPARE(form.Option2->parentWidget(), form.Frame2);
        QCOMPARE(form.PushButton23->text(), QString("Remove Results Not Cont. X"));
        QCOMPARE(form.PushButton13->font().pointSizeF(), 11.25);
        QVERIFY(form.PushButton13->font().bold());
        QCOMPARE(form.Check1->font().pointSizeF(), 9.0);
        QCOMPARE(form.ListView1->model()->headerData(0, Qt::Horizontal).toString(),
                 QString(" Email(s)"));
        QCOMPARE(form.ListView2->model()->headerData(0, Qt::Horizontal).toString(),
                 QString("Result(s)"));
        QCOMPARE(form.ListView1->columnWidth(0), 466);
        QVERIFY(form.ListView2->toolTip().startsWith("Double-click item to remove it."));
        QCOMPARE(form.ProgressBar1->text(), QString("Progress Bar"));
        QCOMPARE(form.ProgressBar1->value(), 0);
        QVERIFY(form.Option1->isChecked());
        for (QWidget* control : form.findChildren<QWidget*>()) {
            if (!control->objectName().isEmpty() && !control->objectName().startsWith("qt_"))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }

    void deleteAndDoubleClickRemoveTheSelectedEntry() {
        TestWindow t;
        Form1& form = t.start();
        form.show();
        fill(form.state().ListView1, {"1@a", "2@a", "3@a", "4@a", "5@a"});
        fill(form.state().ListView2, {"r1@x", "r2@x"});

        select(form.ListView1, 2);
        QTest::keyClick(form.ListView1, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(Entries(form.state().ListView1), QStringList({"1@a", "2@a", "4@a", "5@a"}));

        for (Qt::Key other : {Qt::Key_Backspace, Qt::Key_D, Qt::Key_Return}) {
            select(form.ListView1, 0);
            QTest::keyClick(form.ListView1, other);
        }
        QCOMPARE(form.state().ListView1.count(), 4);

        for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
            select(form.ListView2, 1);
            doubleClick(form.ListView2, 1, other);
        }
        QCOMPARE(form.state().ListView2.count(), 2);
        select(form.ListView2, 1);
        doubleClick(form.ListView2, 1);
        QCOMPARE(Entries(form.state().ListView2), QStringList{"r1@x"});
        QCOMPARE(form.state().ListView1.count(), 4);

        form.state().setMousePointer(MousePointer::Busy);
        select(form.ListView1, 0);
        QTest::keyClick(form.ListView1, Qt::Key_Delete);
        doubleClick(form.ListView1, 0);
        form.PushButton1->click();
        QCOMPARE(form.state().ListView1.count(), 4);
        form.PushButton2->click();
        QCOMPARE(form.state().ListView2.count(), 0);

        form.state().setMousePointer(MousePointer::Default);
        form.PushButton1->click();
        QCOMPARE(form.state().ListView1.count(), 0);
        QCOMPARE(form.ListView1->model()->headerData(0, Qt::Horizontal).toString(),
                 QString(" Email(s)"));
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void mouseMovesSetPointerUnlessBusy() {
        TestWindow t;
        Form1& form = t.start();
        form.show();
        moveMouseOver(form.PushButton4);
        QCOMPARE(form.state().mousePointer(), MousePointer::Custom);
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        moveMouseOver(form.Frame1);
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        moveMouseOver(form.PushButton22);
        moveMouseOver(form.ListView1->viewport());
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        moveMouseOver(form.Check5);
        moveMouseOver(&form);
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        // The limit box has no say in the pointer.
        moveMouseOver(form.PushButton4);
        moveMouseOver(form.Text1);
        QCOMPARE(form.state().mousePointer(), MousePointer::Custom);

        form.state().setMousePointer(MousePointer::Busy);
        moveMouseOver(form.PushButton17);
        moveMouseOver(form.ListView2->viewport());
        moveMouseOver(form.Frame2);
        QCOMPARE(form.state().mousePointer(), MousePointer::Busy);
        QCOMPARE(form.cursor().shape(), Qt::WaitCursor);
        for (QWidget* control : form.findChildren<QWidget*>())
            QVERIFY2(control->cursor().shape() == Qt::WaitCursor,
                     qPrintable(control->objectName()));
        form.state().setMousePointer(MousePointer::Default);
        QCOMPARE(form.Text1->cursor().shape(), Qt::IBeamCursor);
    }

    void windowMirrorsTheState() {
        TestWindow t;
        Form1& form = t.start();
        form.state().setProgressText("Step 1 of 3: Processing email: 100%p@x");
        form.state().setProgressValue(42.6);
        QCOMPARE(form.ProgressBar1->text(), QString("Step 1 of 3: Processing email: 100%p@x"));
        QCOMPARE(form.ProgressBar1->value(), 43);
        form.state().setProgressValue(100.05);
        QCOMPARE(form.ProgressBar1->value(), 100);
        form.state().setSortCaption("Stop Adding");
        QCOMPARE(form.PushButton17->text(), QString("Stop Adding"));
    }

    void closingTheWindowEndsTheProgram() {
        TestWindow t;
        Form1& form = t.start();
        form.show();
        form.close();
        QVERIFY(t.platform.programEnded);
    }

    void rendersTheWindowToAPicture() {
        TestWindow t;
        Form1& form = t.start();
        form.state().ListView1.append(u"anna@example.com");
        form.state().ListView2.append(u"bob@example.org");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString path = QStringLiteral(AMBERVALE_BUILD_DIR "/window.png");
        QVERIFY(form.grab().save(path));
        QVERIFY(QFileInfo(path).size() > 1000);
    }
};

QTEST_MAIN(TestWindowBehaviour)
#include "test_window.moc"
