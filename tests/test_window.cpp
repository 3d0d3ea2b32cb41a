#include "AddressListView.h"
#include "ListContents.h"
#include "ProgressBarView.h"
#include "ReaderEvents.h"
#include "TestWindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cmath>

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

Form1& showActive(TestWindow& t) {
    Form1& form = t.start();
    form.show();
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("the window did not become active");
    return form;
}

// The controls Tab visits, in order: of the two option buttons only the selected one.
QList<QWidget*> tabChain(Form1& f) {
    QWidget* method = f.Option1->isChecked() ? f.Option1 : f.Option2;
    return {f.ListView1,    f.PushButton6,  f.PushButton3, f.PushButton1,  f.PushButton7,
            f.Check5,       f.Check1,       f.Check2,      f.Text1,        method,
            f.PushButton17, f.ListView2,    f.PushButton4, f.PushButton13, f.PushButton5,
            f.PushButton2,  f.PushButton22, f.PushButton23};
}

QRect inWindow(const QWidget* control, QRect area) {
    return area.translated(control->mapTo(control->window(), QPoint(0, 0)));
}

// Contrast ratio of two colours as the accessibility guidelines define it (1 to 21).
double contrast(QColor a, QColor b) {
    auto luminance = [](QColor c) {
        auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// An area's most frequent colour (what the text is drawn on) and the strongest
// contrast a pixel of the area makes with it (the text itself).
struct Ink {
    QColor background;
    double contrast = 1;
};
Ink inkIn(const QImage& shot, QRect area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    Ink ink;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            ink.background = QColor(it.key());
        }
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ink.contrast = std::max(ink.contrast, contrast(QColor(it.key()), ink.background));
    return ink;
}

// Where a control draws its caption, in window coordinates.
QRect captionArea(QWidget* control) {
    QStyle* style = control->style();
    QRect area = control->rect();
    if (qobject_cast<QCheckBox*>(control))
        area.setLeft(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control));
    else if (qobject_cast<QRadioButton*>(control))
        area.setLeft(style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, control) +
                     style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, control));
    else if (qobject_cast<QGroupBox*>(control))
        area.setHeight(control->fontMetrics().height());
    else
        area.adjust(4, 4, -4, -4); // inside the frame
    return inWindow(control, area);
}

QAccessibleInterface* readerView(QObject* control) {
    return QAccessible::queryAccessibleInterface(control);
}

// The names a reader is told of the progress bar as they change.
QObject* toldBar = nullptr;
QStringList toldBarNames;
void hearBarNames(QAccessibleEvent* event) {
    if (event->type() == QAccessible::NameChanged && event->object() == toldBar)
        toldBarNames << readerView(toldBar)->text(QAccessible::Name);
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
                QVERIFY2(!readerView(control)->text(QAccessible::Name).isEmpty(),
                         qPrintable(control->objectName()));
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

    void aStepTextOfAnyLengthIsDrawnFromItsStart() {
        TestWindow t;
        Form1& form = t.start();
        const QString step = QStringLiteral("Step 1 of 3: Processing email: ");
        form.state().setProgressText(step + QString(20'000'000, u'x') + QStringLiteral("@y"));
        QElapsedTimer timer;
        timer.start();
        form.ProgressBar1->grab();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        const QString shown = form.ProgressBar1->text();
        QVERIFY(shown.startsWith(step + QStringLiteral("xxx")));
        QVERIFY2(shown.size() <= form.ProgressBar1->width() + 1,
                 qPrintable(QString::number(shown.size())));
    }

    void captionsStayReadableUnderADarkDesktopPalette() {
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        QApplication::setPalette(QPalette(QColor(53, 53, 53), QColor(43, 43, 43)));
        TestWindow t;
        Form1& form = t.start();
        form.state().ListView1.append(u"anna@example.com");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage shot = form.grab().toImage();

        // Captions on the window's own white first, then controls with faces of their own.
        const QList<QWidget*> controls = {form.Frame1,
                                          form.Frame2,
                                          form.Check5,
                                          form.Check1,
                                          form.Check2,
                                          form.Option1,
                                          form.Option2,
                                          form.PushButton17,
                                          form.PushButton3,
                                          form.Text1,
                                          form.ProgressBar1,
                                          form.ListView1->viewport(),
                                          form.ListView1->horizontalHeader()};
        const int onWhite = 7;
        for (int i = 0; i < controls.size(); ++i) {
            const Ink ink = inkIn(shot, captionArea(controls[i]));
            const QString where = controls[i]->objectName() + QString::number(i);
            QVERIFY2(ink.contrast >= 4.5, qPrintable(where + ": " + QString::number(ink.contrast)));
            if (i < onWhite) // white, or as near as a style's frame tint goes
                QVERIFY2(contrast(ink.background, Qt::white) < 1.05, qPrintable(where));
        }
    }

    void tabFollowsTheLayoutShiftTabGoesBack() {
        TestWindow t;
        Form1& form = showActive(t);
        form.Check2->click(); // the limit box takes the focus only while this is ticked
        const QList<QWidget*> chain = tabChain(form);
        chain.front()->setFocus(Qt::TabFocusReason);
        for (int i = 1; i <= chain.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(),
                     chain[i % chain.size()]->objectName());
        }
        for (int i = chain.size() - 1; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget()->objectName(), chain[i]->objectName());
        }
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void returnEnterAndSpacePressTheFocusedButton() {
        TestWindow t;
        Form1& form = showActive(t);
        const QPair<Qt::Key, Qt::KeyboardModifiers> presses[] = {
            {Qt::Key_Return, Qt::NoModifier},
            {Qt::Key_Enter, Qt::KeypadModifier},
            {Qt::Key_Space, Qt::NoModifier}};
        for (const auto& [key, modifiers] : presses) {
            const qsizetype before = form.state().ListView1.count();
            form.PushButton7->setFocus(Qt::TabFocusReason);
            QTest::keyClick(form.PushButton7, key, modifiers);
            QCOMPARE(form.state().ListView1.count(), before + 6);
        }
    }

    // Every control that can take the focus, the empty lists included, shows a
    // clearly contrasting mark while it has it: more than a faint outline's worth.
    void focusIsVisibleOnEveryControl() {
        TestWindow t;
        Form1& form = showActive(t);
        form.Check2->click();
        for (QWidget* control : form.findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->focusPolicy() == Qt::NoFocus)
                continue;
            if (QWidget* focused = QApplication::focusWidget())
                focused->clearFocus();
            const QImage without = form.grab().toImage();
            control->setFocus(Qt::TabFocusReason);
            const QImage with = form.grab().toImage();
            const QRect around = inWindow(control, control->rect()).adjusted(-4, -4, 4, 4);
            int marked = 0;
            for (int y = around.top(); y <= around.bottom(); ++y)
                for (int x = around.left(); x <= around.right(); ++x)
                    marked += contrast(without.pixel(x, y), with.pixel(x, y)) >= 3;
            const int outline = 2 * (control->width() + control->height());
            QVERIFY2(2 * marked >= 3 * outline,
                     qPrintable(control->objectName() + ": " + QString::number(marked)));
        }
    }

    void progressBarTellsReadersItsText() {
        TestWindow t;
        Form1& form = t.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QAccessibleInterface* bar = readerView(form.ProgressBar1);
        QCOMPARE(bar->role(), QAccessible::ProgressBar);
        QCOMPARE(bar->text(QAccessible::Name), QString("Progress Bar"));

        toldBar = form.ProgressBar1;
        const auto previous = ReaderEvents::setListener(hearBarNames);
        const auto restore = qScopeGuard([&] {
            ReaderEvents::setListener(previous);
            toldBarNames.clear();
        });
        auto step = [](int i) { return "Step 1 of 3: Processing email: " + QString::number(i); };
        for (int i = 1; i <= 500; ++i) {
            form.state().setProgressValue(i / 5.0);
            form.state().setProgressText(step(i));
        }
        const QString last = step(500);
        QCOMPARE(bar->text(QAccessible::Name), last);
        QCOMPARE(bar->valueInterface()->currentValue().toInt(), 100);
        QTRY_VERIFY(!toldBarNames.isEmpty() && toldBarNames.last() == last);
        QVERIFY2(toldBarNames.size() < 500, "readers are told at the window's turns, not per set");

        form.state().setProgressValue(0);
        form.state().setProgressText(kProgressBarRest);
        QCOMPARE(bar->text(QAccessible::Name), QString("Progress Bar"));
        QTRY_COMPARE(toldBarNames.last(), QString("Progress Bar"));
    }

    // Also while "Done." is open, when the caption is still "Stop Adding".
    void sortButtonIsNamedByItsCaptionThroughARun() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView1, {"b@x.org", "a@y.org", "c@x.org"});
        QSet<QString> named;
        QStringList mismatches;
        auto check = [&] {
            const QString name = readerView(form.PushButton17)->text(QAccessible::Name);
            named << name;
            if (name != form.PushButton17->text())
                mismatches << name + " while showing " + form.PushButton17->text();
        };
        QString atDone;
        t.platform.onYield = [&] { check(); };
        t.platform.onMessageBox = [&](const auto&) {
            check();
            atDone = readerView(form.PushButton17)->text(QAccessible::Name);
        };
        form.PushButton17->click();
        check();
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join("; ")));
        QCOMPARE(named, QSet<QString>({"Stop Sorting", "Stop Adding", "Start Sorting"}));
        QCOMPARE(atDone, QString("Stop Adding"));
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
