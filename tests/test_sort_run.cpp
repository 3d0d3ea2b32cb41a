#include "Boxes.h"
#include "ListContents.h"
#include "ProgressBarView.h"
#include "SortKey.h"
#include "SortRun.h"
#include "StepByStepBubbleSort.h"
#include "StepTexts.h"
#include "TestWindow.h"
#include "YieldActions.h"

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

        QCOMPARE(BoxTexts(t.platform), QStringList{"You forgot to add email in the list."});
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
        t.platform.onYield = [&] {
            busyWhileRunning &= form.state().isBusy() && form.state().sortRunActive();
        };
        QString looksAtDone;
        t.platform.onMessageBox = [&](const auto&) { looksAtDone = looks(form); };
        form.PushButton17->click();

        QCOMPARE(Entries(form.state().ListView2), QStringList({"c@W.com", "a@x.org", "b@x.org"}));
        QCOMPARE(captions, QStringList({"Stop Sorting", "Stop Adding", "Start Sorting"}));
        QCOMPARE(looksAtDone, QString("Stop Adding|0|0|Progress Bar"));
        QCOMPARE(BoxTexts(t.platform), QStringList{"Done."});
        QCOMPARE(t.platform.shownBoxes.front().icon, MessageIcon::None);
        QCOMPARE(t.platform.shownBoxes.front().caption, QString("Ambervale"));
        QVERIFY(busyWhileRunning);
        QCOMPARE(looks(form), kIdle);
        QVERIFY(!form.state().sortRunActive());
        QVERIFY(!form.state().globals.StopSorting && !form.state().globals.StopAdding);
    }

    void pressingDuringARunStopsIt_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("pressWhenBarShows");
        QTest::addColumn<QStringList>("afterPresses");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("captionAtDone");
        QTest::addColumn<bool>("stopSorting");
        QTest::addColumn<bool>("stopAdding");
        const QStringList five{"b@z", "a@y", "c@x", "e@w", "d@v"};
        const QStringList reversed{"a@d", "a@c", "a@b", "a@a"};
        // Collecting the next address makes the pointer busy again after a stop.
        const QString kStillStopping = "Start Sorting|11|0|Progress Bar";
        QTest::newRow("collecting")
            << five << QStringList{kCollecting + "c@x"} << QStringList{kIdle}
            << QStringList{"a@y", "b@z", "c@x"} << "Stop Adding" << true << false;
        // All keys collected, then a single comparison.
        QTest::newRow("collecting the last address")
            << reversed << QStringList{kCollecting + "a@a"} << QStringList{kIdle}
            << QStringList{"a@c", "a@d", "a@b", "a@a"} << "Stop Adding" << true << false;
        QTest::newRow("second pass")
            << reversed << QStringList{kLoop + "2 of 2, please wait... 0"} << QStringList{kIdle}
            << QStringList{"a@b", "a@a", "a@c", "a@d"} << "Stop Adding" << true << false;
        QTest::newRow("adding") << QStringList{"a@a", "b@b", "c@c"} << QStringList{kAdding + "0"}
                                << QStringList{kIdle} << QStringList{"a@a", "b@b"}
                                << "Start Sorting" << false << true;
        QTest::newRow("collecting, then adding")
            << reversed << QStringList{kCollecting + "a@a", kAdding + "0"}
            << QStringList{kIdle, kIdle} << QStringList{"a@c", "a@d"} << "Start Sorting" << true
            << true;
        QTest::newRow("start press while stopping is ignored")
            << QStringList{"b@z", "a@y", "c@x"} << QStringList{kCollecting + "a@y", "Progress Bar"}
            << QStringList{kIdle, kStillStopping} << QStringList{"a@y", "b@z"} << "Stop Adding"
            << true << false;
    }

    void pressingDuringARunStopsIt() {
        QFETCH(QStringList, input);
        QFETCH(QStringList, pressWhenBarShows);
        QFETCH(QStringList, afterPresses);
        QFETCH(QStringList, results);
        QFETCH(QString, captionAtDone);
        QFETCH(bool, stopSorting);
        QFETCH(bool, stopAdding);
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, input);
        QStringList afterPress;
        bool windingDown = true; // the stopped run is still going
        YieldActions actions(t.platform, form.state());
        for (const QString& step : pressWhenBarShows) {
            actions.whenBar(step, [&] {
                QTest::mouseClick(form.PushButton17, Qt::LeftButton); // nested in the running click
                afterPress << looks(form);
                windingDown &= form.state().sortRunActive();
            });
        }
        QString looksAtDone;
        t.platform.onMessageBox = [&](const auto&) { looksAtDone = looks(form); };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.PushButton17, Qt::LeftButton);

        QVERIFY(actions.done());
        QCOMPARE(afterPress, afterPresses);
        QVERIFY(windingDown);
        QVERIFY(!form.state().sortRunActive());
        QCOMPARE(Entries(form.state().ListView2), results);
        QCOMPARE(BoxTexts(t.platform), QStringList{"Done."});
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
        t.platform.onYield = [&] {
            if (form.ProgressBar1->text() == moment)
                form.PushButton17->click();
        };
        form.PushButton17->click();

        // The same press in the step-by-step sort of the same keys.
        FormState state;
        ScriptedPlatform platform(t.root());
        platform.onYield = [&] { state.globals.StopSorting |= state.progressText() == moment; };
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
        QCOMPARE(BoxTexts(t.platform), QStringList{"Done."});
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

        QCOMPARE(BoxTexts(t.platform), boxes);
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
        QCOMPARE(BoxTexts(t.platform).last(), QString("Done."));
    }

    void limitChangedDuringARunKeepsTheLastNumber() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"a@d", "b@d", "c@d", "d@d", "e@d"});
        form.Check2->click();
        form.Text1->setText("1");
        // Before key 1, and before key 2 after key 1 has searched the buckets.
        YieldActions actions(t.platform, form.state());
        actions.whenBar(kAdding + "0", [&] { form.Text1->setText("3"); })
            .whenBar(kSearching + "1.1", [&] { form.Text1->setText("three"); });
        form.PushButton17->click();
        QVERIFY(actions.done());
        QCOMPARE(Entries(form.state().ListView2), QStringList({"a@d", "b@d", "c@d"}));
        QCOMPARE(BoxTexts(t.platform), QStringList{"Done."});
    }

    void neitherMethodSelectedEmptiesTheResults() {
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"a@d"});
        Fill(form.state().ListView2, {"old@result"});
        form.options().setOption1(false);
        form.options().setOption2(false);
        form.PushButton17->click();
        QCOMPARE(form.state().ListView2.count(), 0);
        QCOMPARE(BoxTexts(t.platform), QStringList{"Done."});
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
                // Chosen while the engine is there, or the option's handler turns to the text
                // method itself.
                form.state().globals.DatabaseEngineAvailable = true;
                (option1 ? form.Option1 : form.Option2)->click();
                form.state().globals.DatabaseEngineAvailable = engine;
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
        QCOMPARE(BoxTexts(t.platform), QStringList{"Done."});
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
        OptionHandlers options(form, platform);
        Fill(form.ListView1, {"a@b"});
        for (bool engine : {true, false}) {
            for (bool option1 : {true, false}) {
                form.globals.DatabaseEngineAvailable = true;
                option1 ? options.setOption1(true) : options.setOption2(true);
                form.globals.DatabaseEngineAvailable = engine;
                run.PushButton17_Click();
            }
        }
        QCOMPARE(calls, QStringList({"database", "text", "text", "text"}));
    }

    void failuresAreReportedAndTheRunGoesOn_data() {
        QTest::addColumn<QString>("failWhenBarShows");
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("line");
        QTest::newRow("collecting") << kCollecting + "c@b"
                                    << "Sorting.SortingText" << 112;
        QTest::newRow("comparison") << kLoop + "1 of 1, please wait... 0"
                                    << "Bubble.BubbleSort" << 110;
        QTest::newRow("pass") << kLoop + "1 of 1, please wait... 1"
                              << "Bubble.BubbleSort" << 104;
        QTest::newRow("adding") << kAdding + "0"
                                << "Sorting.SortingText" << 154;
        QTest::newRow("bucket search") << kSearching + "2.1"
                                       << "Sorting.SortingText" << 176;
    }

    void failuresAreReportedAndTheRunGoesOn() {
        QFETCH(QString, failWhenBarShows);
        QFETCH(QString, procedure);
        QFETCH(int, line);
        TestWindow t;
        Form1& form = startWithTextMethod(t);
        Fill(form.state().ListView1, {"c@b", "a@b", "b@a"});
        form.Check2->click();
        YieldActions actions(t.platform, form.state());
        actions.whenBar(failWhenBarShows, [&] {
            t.platform.injectFailure(ScriptedPlatform::Operation::Yield, "Out of memory");
        });
        form.PushButton17->click();
        QVERIFY(actions.done());
        QCOMPARE(t.platform.shownBoxes.size(), size_t(2));
        QVERIFY2(
            t.platform.shownBoxes[0].text.startsWith(ReportHead("Out of memory", procedure, line)),
            qPrintable(t.platform.shownBoxes[0].text));
        QCOMPARE(t.platform.shownBoxes[0].caption, kErrorCaption);
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
        QVERIFY(t.platform.shownBoxes[0].text.startsWith(
            ReportHead("Out of memory", "Form1.PushButton17_Click", 148)));
        QCOMPARE(Entries(form.state().ListView2), QStringList{"a@b"});
        QCOMPARE(looks(form), kIdle);
    }
};

QTEST_MAIN(TestSortRun)
#include "test_sort_run.moc"
