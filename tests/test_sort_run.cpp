#include "ListContents.h"
#include "ProgressBarView.h"
#include "SortKey.h"
#include "SortRun.h"
#include "StepByStepBubbleSort.h"
#include "TestWindow.h"

#include <QRadioButton>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
// What the window shows: caption, pointer, bar value and text.
QString looks(Form1& form) {
    return form.PushButton17->text() + u'|' + QString::number(int(form.state().mousePointer())) +
           u'|' + QString::number(form.ProgressBar1->value()) + u'|' + form.ProgressBar1->text();
}

const QString kIdle = QStringLiteral("Start Sorting|0|0|Progress Bar");

QStringList boxTexts(const ScriptedPlatform& platform) {
    QStringList out;
    for (const auto& box : platform.shownBoxes)
        out << box.text;
    return out;
}

// The report's first two lines: the description and where it happened.
QString reportHead(const QString& where, int line) {
    return QStringLiteral("Out of memory\r\nin Kelvamore2021/08/31.") + where +
           QStringLiteral(" at line ") + QString::number(line) + u'\r';
}
// A window whose runs use the text method.
Form1& startWithTextMethod(TestWindow& t) {
    Form1& form = t.start();
    form.Option2->click();
    return form;
}
} // namespace

class TestSortRun : public QObject {
    Q_OBJECT

private slots:
    void emptyListIsRefusedWithAMessage() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView2, {"kept@result"});
        QString captionWhileShown;
        t.platform.onMessageBox = [&](const auto&) {
            captionWhileShown = form.PushButton17->text();
        };
        form.PushButton17->click();

        QCOMPARE(boxTexts(t.platform), QStringList{"You forgot to add email in the list."});
        const auto& box = t.platform.shownBoxes.front();
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.caption, QString("Ambervale"));
        QCOMPARE(captionWhileShown, QString("Stop Sorting"));
        QCOMPARE(Entries(form.state().ListView2), QStringList{"kept@result"});
        QCOMPARE(looks(form), kIdle);
        QCOMPARE(t.platform.yieldCount, 0);
    }

    void aWholeRunShowsItsStepsThenDone() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"b@x.org", "a@x.org", "b@x.org", "c@W.com"});
        Fill(form.state().ListView2, {"old@result"});
        form.Check5->click();
        // A previous run's flags must not leak into this one.
        form.state().globals.StopSorting = true;
        form.state().globals.StopAdding = true;
        QStringList captions;
        connect(&form.state(), &FormState::sortCaptionChanged, this,
                [&] { captions << form.state().sortCaption(); });
        bool busyWhileRunning = true;
        t.platform.onYield = [&](int) { busyWhileRunning &= form.state().isBusy(); };
        QString looksAtDone;
        t.platform.onMessageBox = [&](const auto&) { looksAtDone = looks(form); };
        form.PushButton17->click();

        QCOMPARE(Entries(form.state().ListView2), QStringList({"c@W.com", "a@x.org", "b@x.org"}));
        QCOMPARE(captions, QStringList({"Stop Sorting", "Stop Adding", "Start Sorting"}));
        QCOMPARE(looksAtDone, QString("Stop Adding|0|0|Progress Bar"));
        QCOMPARE(boxTexts(t.platform), QStringList{"Done."});
        QCOMPARE(t.platform.shownBoxes.front().icon, MessageIcon::None);
        QCOMPARE(t.platform.shownBoxes.front().caption, QString("Ambervale"));
        QVERIFY(busyWhileRunning);
        QCOMPARE(looks(form), kIdle);
        QVERIFY(!form.state().globals.StopSorting && !form.state().globals.StopAdding);
    }

    void pressingDuringARunStopsIt_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QList<int>>("pressAt");
        QTest::addColumn<QStringList>("afterPresses");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("captionAtDone");
        QTest::addColumn<bool>("stopSorting");
        QTest::addColumn<bool>("stopAdding");
        const QStringList five{"b@z", "a@y", "c@x", "e@w", "d@v"};
        const QStringList reversed{"a@d", "a@c", "a@b", "a@a"};
        // Collecting the next address makes the pointer busy again after a stop.
        const QString kStillStopping = "Start Sorting|11|0|Progress Bar";
        // Yields: one per address, then per pass one and one per comparison, then one per key.
        QTest::newRow("collecting")
            << five << QList<int>{3} << QStringList{kIdle} << QStringList{"a@y", "b@z", "c@x"}
            << "Stop Adding" << true << false;
        QTest::newRow("before the first comparison")
            << reversed << QList<int>{5} << QStringList{kIdle}
            << QStringList{"a@c", "a@d", "a@b", "a@a"} << "Stop Adding" << true << false;
        QTest::newRow("second pass")
            << reversed << QList<int>{11} << QStringList{kIdle}
            << QStringList{"a@b", "a@a", "a@c", "a@d"} << "Stop Adding" << true << false;
        QTest::newRow("adding") << QStringList{"a@a", "b@b", "c@c"} << QList<int>{8}
                                << QStringList{kIdle} << QStringList{"a@a", "b@b"}
                                << "Start Sorting" << false << true;
        QTest::newRow("sorting, then adding")
            << reversed << QList<int>{5, 8} << QStringList{kIdle, kIdle}
            << QStringList{"a@c", "a@d"} << "Start Sorting" << true << true;
        QTest::newRow("start press while stopping is ignored")
            << QStringList{"b@z", "a@y", "c@x"} << QList<int>{2, 3}
            << QStringList{kIdle, kStillStopping} << QStringList{"a@y", "b@z"} << "Stop Adding"
            << true << false;
    }

    void pressingDuringARunStopsIt() {
        QFETCH(QStringList, input);
        QFETCH(QList<int>, pressAt);
        QFETCH(QStringList, afterPresses);
        QFETCH(QStringList, results);
        QFETCH(QString, captionAtDone);
        QFETCH(bool, stopSorting);
        QFETCH(bool, stopAdding);
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, input);
        QStringList afterPress;
        t.platform.onYield = [&](int n) {
            if (!pressAt.contains(n))
                return;
            QTest::mouseClick(form.PushButton17, Qt::LeftButton); // nested in the running click
            afterPress << looks(form);
        };
        QString looksAtDone;
        t.platform.onMessageBox = [&](const auto&) { looksAtDone = looks(form); };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.PushButton17, Qt::LeftButton);

        QCOMPARE(afterPress, afterPresses);
        QCOMPARE(Entries(form.state().ListView2), results);
        QCOMPARE(boxTexts(t.platform), QStringList{"Done."});
        QCOMPARE(looksAtDone, captionAtDone + "|0|0|Progress Bar");
        QCOMPARE(looks(form), kIdle);
        QCOMPARE(form.state().globals.StopSorting, stopSorting);
        QCOMPARE(form.state().globals.StopAdding, stopAdding);
    }

    void limitThatIsNotANumberRefusesTheStart_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<bool>("pressLeavesTheBox"); // the focus was in the limit box
        QTest::addColumn<QStringList>("boxes");
        const QString numeric = "You must input numeric entry.";
        const QString empty = "You forgot to add email in the list.";
        const QStringList three{"a@d", "b@d", "c@d"};
        QTest::newRow("refused") << three << false << QStringList{numeric};
        QTest::newRow("one press, one message") << three << true << QStringList{numeric};
        QTest::newRow("empty list comes first") << QStringList{} << false << QStringList{empty};
        // The press has nothing to refuse; leaving the box still is refused.
        QTest::newRow("empty list, leaving the box")
            << QStringList{} << true << QStringList{empty, numeric};
    }

    void aStopWhileSortingListsTheKeysAsTheStepByStepSortLeftThem() {
        const QStringList input{"e@c", "d@b", "c@a", "b@c", "a@b", "f@a", "g@b"};
        const QString moment = "Step 2 of 3: Sorting, loop 2 of 5, please wait... 3";
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, input);
        t.platform.onYield = [&](int) {
            if (form.ProgressBar1->text() == moment)
                form.PushButton17->click();
        };
        form.PushButton17->click();

        // The same press in the step-by-step sort of the same keys.
        FormState state;
        ScriptedPlatform platform(t.root());
        platform.onYield = [&](int) {
            state.globals.StopSorting |= state.progressText() == moment;
        };
        std::vector<QString> keys;
        for (const QString& address : input)
            keys.push_back(SwapAroundAt(address));
        StepByStepBubbleSort(
            keys, [](const QString& key) { return key; }, state, platform);
        QVERIFY(state.globals.StopSorting);
        QStringList expected;
        for (const QString& key : keys)
            expected << SwapAroundAt(key);
        QCOMPARE(Entries(form.state().ListView2), expected);
        QCOMPARE(boxTexts(t.platform), QStringList{"Done."});
    }

    void limitThatIsNotANumberRefusesTheStart() {
        QFETCH(QStringList, input);
        QFETCH(bool, pressLeavesTheBox);
        QFETCH(QStringList, boxes);
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Fill(form.state().ListView1, input);
        Fill(form.state().ListView2, {"kept@result"});
        form.Check2->click();
        form.Text1->setText("two");
        (pressLeavesTheBox ? static_cast<QWidget*>(form.Text1) : form.PushButton1)->setFocus();
        QStringList captions;
        connect(&form.state(), &FormState::sortCaptionChanged, this,
                [&] { captions << form.state().sortCaption(); });
        // A box waits for its answer in an event loop of its own.
        t.platform.onMessageBox = [](const auto&) { QCoreApplication::processEvents(); };
        QTest::mouseClick(form.PushButton17, Qt::LeftButton);
        QCoreApplication::processEvents();

        QCOMPARE(boxTexts(t.platform), boxes);
        QCOMPARE(t.platform.shownBoxes.front().icon, MessageIcon::None);
        const bool backInTheBox = !input.isEmpty() || pressLeavesTheBox;
        QCOMPARE(QApplication::focusWidget(),
                 backInTheBox ? static_cast<QWidget*>(form.Text1) : form.PushButton17);
        QCOMPARE(Entries(form.state().ListView2), QStringList{"kept@result"});
        QCOMPARE(t.platform.yieldCount, 0);
        if (input.isEmpty())
            return;
        QVERIFY(captions.isEmpty());
        form.Text1->setText("2");
        form.PushButton17->click();
        QCOMPARE(Entries(form.state().ListView2), QStringList({"a@d", "b@d"}));
        QCOMPARE(boxTexts(t.platform).last(), QString("Done."));
    }

    void limitChangedDuringARunKeepsTheLastNumber() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"a@d", "b@d", "c@d", "d@d", "e@d"});
        form.state().setCheck2(true);
        form.Text1->setText("1");
        // Yields 1-5 collect, 6-10 sort, 11 precedes key 0, 12 key 1, 14 key 2.
        t.platform.onYield = [&](int n) {
            if (n == 12)
                form.Text1->setText("3");
            if (n == 14)
                form.Text1->setText("three");
        };
        form.PushButton17->click();
        QCOMPARE(Entries(form.state().ListView2), QStringList({"a@d", "b@d", "c@d"}));
        QCOMPARE(boxTexts(t.platform), QStringList{"Done."});
    }

    void neitherMethodSelectedEmptiesTheResults() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"a@d"});
        Fill(form.state().ListView2, {"old@result"});
        form.state().setOption1(false);
        form.state().setOption2(false);
        form.PushButton17->click();
        QCOMPARE(form.state().ListView2.count(), 0);
        QCOMPARE(boxTexts(t.platform), QStringList{"Done."});
        QCOMPARE(t.platform.yieldCount, 0);
        QCOMPARE(looks(form), kIdle);
    }

    void eitherOptionRunsTheTextMethodWithoutTheEngine() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"z@b", "y@a", "x@b"});
        QStringList runs;
        for (bool engine : {false, true}) {
            for (bool option1 : {true, false}) {
                form.state().globals.DatabaseEngineAvailable = engine;
                option1 ? form.state().setOption1(true) : form.state().setOption2(true);
                form.PushButton17->click();
                runs << Entries(form.state().ListView2).join(u',');
            }
        }
        QCOMPARE(runs, QStringList(4, "y@a,x@b,z@b"));
    }

    void sampleSortedThroughTheDatabaseByDefault() {
        TestWindow t;
        Form1& form = t.start();
        QVERIFY(form.Option1->isChecked());
        form.PushButton7->click();
        form.state().ListView1.append(u"Zed@Mapleton.com");
        form.PushButton17->click();
        QCOMPARE(Entries(form.state().ListView2),
                 QStringList({"Zed@Mapleton.com", "alex1987@gmail.com", "anna@gmail.com",
                              "tom_baker@gmail.com", "ben@mapleton.com", "ruth@mapleton.com",
                              "lena@tidewater.com"}));
        QCOMPARE(boxTexts(t.platform), QStringList{"Done."});
        QCOMPARE(looks(form), kIdle);
    }

    void databaseMethodRunsOnlyWithTheEngine() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path());
        FormState form;
        QStringList calls;
        SortMethods methods;
        methods.database = [&](FormState&, Platform&) { calls << "database"; };
        methods.text = [&](FormState&, Platform&) { calls << "text"; };
        SortRun run(form, platform, methods);
        Fill(form.ListView1, {"a@b"});
        for (bool engine : {true, false}) {
            for (bool option1 : {true, false}) {
                form.globals.DatabaseEngineAvailable = engine;
                option1 ? form.setOption1(true) : form.setOption2(true);
                run.PushButton17_Click();
            }
        }
        QCOMPARE(calls, QStringList({"database", "text", "text", "text"}));
    }

    void failuresAreReportedAndTheRunGoesOn_data() {
        QTest::addColumn<int>("failingYield");
        QTest::addColumn<QString>("report");
        // Yields: 1-3 collect; sorting: 4 pass 1, 5-6 its comparisons, 7-9 pass 2,
        // 10-12 pass 3; adding: 13 key 0, 14 key 1, 15 its bucket, 16 key 2, 17-18 its buckets.
        QTest::newRow("collecting") << 1 << reportHead("Sorting.SortingText", 112);
        QTest::newRow("pass") << 7 << reportHead("Bubble.BubbleSort", 104);
        QTest::newRow("comparison") << 5 << reportHead("Bubble.BubbleSort", 110);
        QTest::newRow("adding") << 14 << reportHead("Sorting.SortingText", 154);
        QTest::newRow("bucket search") << 18 << reportHead("Sorting.SortingText", 176);
    }

    void failuresAreReportedAndTheRunGoesOn() {
        QFETCH(int, failingYield);
        QFETCH(QString, report);
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"c@b", "a@b", "b@a"});
        form.state().setCheck2(true);
        t.platform.onYield = [&](int n) {
            if (n == failingYield)
                t.platform.injectFailure(ScriptedPlatform::Operation::Yield, "Out of memory");
        };
        form.PushButton17->click();
        QCOMPARE(t.platform.yieldCount, 18);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(2));
        QVERIFY2(t.platform.shownBoxes[0].text.startsWith(report),
                 qPrintable(t.platform.shownBoxes[0].text));
        QCOMPARE(t.platform.shownBoxes[0].caption, QString("Application Error"));
        QCOMPARE(t.platform.shownBoxes[1].text, QString("Done."));
        QCOMPARE(Entries(form.state().ListView2), QStringList({"b@a", "a@b", "c@b"}));
        QCOMPARE(looks(form), kIdle);
    }

    void failedDoneBoxIsReportedAndTheButtonStillResets() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"a@b"});
        t.platform.injectFailure(ScriptedPlatform::Operation::MessageBox, "Out of memory");
        form.PushButton17->click();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QVERIFY(
            t.platform.shownBoxes[0].text.startsWith(reportHead("Form1.PushButton17_Click", 148)));
        QCOMPARE(Entries(form.state().ListView2), QStringList{"a@b"});
        QCOMPARE(looks(form), kIdle);
    }
};

QTEST_MAIN(TestSortRun)
#include "test_sort_run.moc"
