#include "AppError.h"
#include "Bubble.h"
#include "FormState.h"
#include "ListContents.h"
#include "OptionHandlers.h"
#include "ScriptedPlatform.h"
#include "SortKey.h"
#include "Sorting.h"
#include "StepTexts.h"
#include "YieldActions.h"
#include "YieldTrace.h"
#include "clsDomain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {
// The bar as each yield finds it (or only where the sort button reads
// `caption`), then as the run leaves it.
struct BarLog {
    QStringList seen;
    void attach(ScriptedPlatform& platform, const FormState& form, const QString& caption = {}) {
        platform.onYield = [this, &form, caption] {
            if (caption.isEmpty() || form.sortCaption() == caption)
                seen << BarShown(form);
        };
    }
};
} // namespace

class TestSorting : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    void sortText(FormState& form, ScriptedPlatform& platform, const QStringList& input) {
        Fill(form.ListView1, input);
        SortingText(form, platform);
    }

private slots:
    void domainBucketCounts() {
        clsDomain bucket;
        QCOMPARE(bucket.Count(), qint16(0));
        QCOMPARE(bucket.Domain(), QString());
        bucket.AddEmailAddress("a@d");
        bucket.AddEmailAddress("a@d");
        QCOMPARE(bucket.Count(), qint16(2));
        bucket.setDomain("d");
        bucket.setDomain("e");
        QCOMPARE(bucket.Domain(), QString("e"));

        for (int i = 2; i < 32767; ++i)
            bucket.AddEmailAddress("x@e");
        QCOMPARE(bucket.Count(), qint16(32767));
        bucket.AddEmailAddress("x@e");
        try {
            bucket.Count();
            QFAIL("a count past 32767 must not wrap around");
        } catch (const AppError& error) {
            QCOMPARE(error.description(), QString("Overflow"));
            QCOMPARE(error.number(), 6);
        }
    }

    void keysAndOutputTexts_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("output");
        QTest::newRow("plain") << "L@D"
                               << "D@L"
                               << "L@D";
        QTest::newRow("two at signs") << "a@b@c"
                                      << "b@a"
                                      << "a@b";
        QTest::newRow("three at signs") << "a@@c@d"
                                        << "@a"
                                        << "a@";
        QTest::newRow("leading at") << "@d"
                                    << "d@"
                                    << "@d";
        QTest::newRow("trailing at") << "x@"
                                     << "@x"
                                     << "x@";
        QTest::newRow("only at") << "@"
                                 << "@"
                                 << "@";
        QTest::newRow("no at") << "plain"
                               << "@plain"
                               << "plain@";
        QTest::newRow("case and blanks kept") << " Ann @Mail.COM "
                                              << "Mail.COM @ Ann "
                                              << " Ann @Mail.COM ";
    }

    void keysAndOutputTexts() {
        QFETCH(QString, address);
        QFETCH(QString, key);
        QFETCH(QString, output);
        QCOMPARE(SwapAroundAt(address), key);
        QCOMPARE(SwapAroundAt(key), output);
    }

    void bubbleSortOrdersByCodeUnits_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("prefix") << QStringList{"abc", "ab", "a", ""}
                                << QStringList{"", "a", "ab", "abc"};
        QTest::newRow("equal keys")
            << QStringList{"b", "a", "b", "a", "b"} << QStringList{"a", "a", "b", "b", "b"};
        QTest::newRow("beyond latin")
            << QStringList{QString::fromUtf8("é"), "z", QString::fromUtf8("😀"),
                           QString::fromUtf8("\uFFFD")}
            << QStringList{"z", QString::fromUtf8("é"), QString::fromUtf8("😀"),
                           QString::fromUtf8("\uFFFD")};
    }

    void bubbleSortOrdersByCodeUnits() {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, sorted);
        ScriptedPlatform platform(dir.path());
        FormState form;
        std::vector<QString> array(keys.begin(), keys.end());
        BubbleSort(array, form, platform);
        QCOMPARE(QStringList(array.begin(), array.end()), sorted);
        QVERIFY(platform.shownBoxes.empty());
    }

    void bubbleSortAgreesWithAStableSort() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        QRandomGenerator random(7);
        std::vector<QString> array;
        for (int i = 0; i < 300; ++i) {
            QString key;
            for (int c = random.bounded(5); c > 0; --c)
                key += QChar(u"aAb.@\u00e9"[random.bounded(6)]);
            array.push_back(key);
        }
        std::vector<QString> expected = array;
        std::stable_sort(expected.begin(), expected.end());
        BubbleSort(array, form, platform);
        QCOMPARE(array, expected);
    }

    void bubbleSortShowsEachComparison_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("stopAtStart");
        QTest::addColumn<QStringList>("atYields");
        QTest::addColumn<QString>("atEnd");
        QTest::addColumn<QStringList>("sorted");
        const QString rest = "7|before";
        QTest::newRow("empty") << QStringList{} << false << QStringList{rest} << rest
                               << QStringList{};
        QTest::newRow("one key") << QStringList{"a"} << false << QStringList{rest} << rest
                                 << QStringList{"a"};
        // Two keys: the last pair index is 0, so the bar value never moves.
        QTest::newRow("two keys swapped")
            << QStringList{"b", "a"} << false
            << QStringList{rest, rest, "7|" + kLoop + "1 of 0, please wait... 0",
                           "7|" + kLoop + "1 of 0, please wait... 0"}
            << "7|" + kLoop + "2 of 0, please wait... 0" << QStringList{"a", "b"};
        QTest::newRow("already sorted")
            << QStringList{"a", "b", "c", "d"} << false
            << QStringList{rest, rest, "0|" + kLoop + "1 of 2, please wait... 0",
                           "50|" + kLoop + "1 of 2, please wait... 1"}
            << "100|" + kLoop + "1 of 2, please wait... 2" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("stopped before it began")
            << QStringList{"c", "b", "a"} << true << QStringList{rest, rest}
            << "0|" + kLoop + "1 of 1, please wait... 0" << QStringList{"b", "c", "a"};
    }

    void bubbleSortShowsEachComparison() {
        QFETCH(QStringList, keys);
        QFETCH(bool, stopAtStart);
        QFETCH(QStringList, atYields);
        QFETCH(QString, atEnd);
        QFETCH(QStringList, sorted);
        ScriptedPlatform platform(dir.path());
        FormState form;
        form.setProgressValue(7);
        form.setProgressText("before");
        form.globals.StopSorting = stopAtStart;
        BarLog log;
        log.attach(platform, form);
        std::vector<QString> array(keys.begin(), keys.end());
        BubbleSort(array, form, platform);
        QCOMPARE(log.seen, atYields);
        QCOMPARE(BarShown(form), atEnd);
        QCOMPARE(QStringList(array.begin(), array.end()), sorted);
        QVERIFY(platform.shownBoxes.empty());
    }

    void bubbleSortStopsAfterTheComparisonDuringWhichItWasStopped() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        YieldActions actions(platform, form);
        actions.whenBar(kLoop + "2 of 2, please wait... 0",
                        [&] { form.globals.StopSorting = true; });
        std::vector<QString> array{"d", "c", "b", "a"};
        BubbleSort(array, form, platform);
        QVERIFY(actions.done());
        QCOMPARE(QStringList(array.begin(), array.end()), QStringList({"b", "a", "c", "d"}));
        QCOMPARE(BarShown(form), "50|" + kLoop + "2 of 2, please wait... 1");
    }

    void textSortShowsWhatEachStepLeavesAtEveryYield() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        BarLog log;
        log.attach(platform, form);
        sortText(form, platform, {"c@b", "a@b", "b@a"});
        QCOMPARE(log.seen, QStringList({
                               "33|" + kCollecting + "c@b",
                               "66|" + kCollecting + "a@b",
                               "100|" + kCollecting + "b@a",
                               // pass 1
                               "100|" + kCollecting + "b@a",
                               "100|" + kCollecting + "b@a",
                               "0|" + kLoop + "1 of 1, please wait... 0",
                               // pass 2
                               "100|" + kLoop + "1 of 1, please wait... 1",
                               "100|" + kLoop + "1 of 1, please wait... 1",
                               "0|" + kLoop + "2 of 1, please wait... 0",
                               // pass 3 exchanges nothing
                               "100|" + kLoop + "2 of 1, please wait... 1",
                               "100|" + kLoop + "2 of 1, please wait... 1",
                               "0|" + kLoop + "3 of 1, please wait... 0",
                               // adding
                               "100|" + kLoop + "3 of 1, please wait... 1",
                               "0|" + kAdding + "0",
                               "50|" + kAdding + "1",
                           }));
        QCOMPARE(BarShown(form), "100|" + kAdding + "2");
        QCOMPARE(Entries(form.ListView2), QStringList({"b@a", "a@b", "c@b"}));
        QCOMPARE(form.sortCaption(), QString("Stop Adding"));
        QCOMPARE(form.mousePointer(), MousePointer::Busy);
    }

    // Sorted, the domains are a, b, c and c again: a new domain examines
    // every bucket before it, the second c finds the third bucket.
    void textSortShowsEachBucketExamined() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        OptionHandlers options(form, platform);
        options.setCheck2(true);
        options.setText1("2");
        BarLog log;
        log.attach(platform, form, "Stop Adding");
        sortText(form, platform, {"1@c", "1@a", "1@b", "2@c"});
        QCOMPARE(log.seen, QStringList({
                               "100|" + kLoop + "2 of 2, please wait... 2",
                               "0|" + kAdding + "0",
                               "33|" + kAdding + "1", // before bucket 1 of key 1
                               "33|" + kSearching + "1.1",
                               "66|" + kAdding + "2", // before buckets 1 and 2 of key 2
                               "66|" + kSearching + "2.1",
                               "66|" + kSearching + "2.2",
                               "100|" + kAdding + "3", // before buckets 1 to 3 of key 3
                               "100|" + kSearching + "3.1",
                               "100|" + kSearching + "3.2",
                           }));
        QCOMPARE(BarShown(form), "100|" + kSearching + "3.3");
        QCOMPARE(Entries(form.ListView2), QStringList({"1@a", "1@b", "1@c", "2@c"}));
    }

    void singleAddressLeavesTheStepThreeValue() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        sortText(form, platform, {"solo@x"});
        QCOMPARE(BarShown(form), "100|" + kAdding + "0");
        QCOMPARE(Entries(form.ListView2), QStringList{"solo@x"});
        QVERIFY(platform.shownBoxes.empty());
    }

    void optionMatrix_data() {
        QTest::addColumn<bool>("check5");
        QTest::addColumn<bool>("check1");
        QTest::addColumn<bool>("check2");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QStringList>("results");
        const QStringList head{"x@", "cy@Mail.com", "al@b.c.d", "al@b.c", "@d"};
        const QStringList mail{"Amy@mail.com", "amy@mail.com", "amy@mail.com",
                               "bob@mail.com", "bob@mail.com", "zed@mail.com"};
        const QStringList oneEach = head + QStringList{"Amy@mail.com"};
        QTest::newRow("none") << false << false << false << "5" << head + mail;
        QTest::newRow("no duplicates")
            << true << false << false << "5"
            << head + QStringList{"Amy@mail.com", "amy@mail.com", "bob@mail.com", "zed@mail.com"};
        QTest::newRow("unique domains") << false << true << false << "5" << oneEach;
        QTest::newRow("two per domain") << false << false << true << "2" << head + mail.mid(0, 2);
        QTest::newRow("three per domain") << false << false << true << "3" << head + mail.mid(0, 3);
        QTest::newRow("three, no duplicates")
            << true << false << true << "3"
            << head + QStringList{"Amy@mail.com", "amy@mail.com", "bob@mail.com"};
        QTest::newRow("zero per domain") << false << false << true << "0" << oneEach;
        QTest::newRow("negative per domain") << false << false << true << "-5" << oneEach;
        QTest::newRow("half rounds to even")
            << false << false << true << "2.5" << head + mail.mid(0, 2);
        QTest::newRow("half rounds up to even")
            << false << false << true << "3.5" << head + mail.mid(0, 4);
        QTest::newRow("huge limit") << false << false << true << "1e9" << head + mail;
    }

    void optionMatrix() {
        QFETCH(bool, check5);
        QFETCH(bool, check1);
        QFETCH(bool, check2);
        QFETCH(QString, text1);
        QFETCH(QStringList, results);
        ScriptedPlatform platform(dir.path());
        FormState form;
        OptionHandlers options(form, platform);
        options.setCheck5(check5);
        options.setCheck1(check1);
        options.setCheck2(check2);
        options.setText1(text1);
        form.ListView2.append(u"stale@result");
        sortText(form, platform,
                 {"bob@mail.com", "amy@mail.com", "bob@mail.com", "cy@Mail.com", "al@b.c",
                  "al@b.c.d", "zed@mail.com@old", "amy@mail.com", "x@", "@d", "Amy@mail.com"});
        QCOMPARE(Entries(form.ListView2), results);
        QVERIFY(platform.shownBoxes.empty());
    }

    // Where the window gets fewer turns, each shows what it would show with a
    // turn at every yield point.
    void sparseYieldsShowWhatEveryYieldWouldShow_data() {
        QTest::addColumn<bool>("limit");
        QTest::newRow("no option") << false;
        QTest::newRow("bucket search") << true;
    }

    void sparseYieldsShowWhatEveryYieldWouldShow() {
        QFETCH(bool, limit);
        QStringList addresses;
        for (int i = 0; i < 24; ++i)
            addresses << QString("u%1@d%2.com").arg((i * 7) % 24).arg(i % 5);
        FormState denseForm, sparseForm;
        ScriptedPlatform densePlatform(dir.path()), sparsePlatform(dir.path());
        YieldTrace dense(densePlatform, denseForm), sparse(sparsePlatform, sparseForm, 3);
        for (auto [form, platform] :
             {std::pair(&denseForm, &densePlatform), std::pair(&sparseForm, &sparsePlatform)}) {
            OptionHandlers options(*form, *platform);
            options.setCheck2(limit);
            options.setText1("3");
        }
        sortText(denseForm, densePlatform, addresses);
        sortText(sparseForm, sparsePlatform, addresses);
        QVERIFY2(SparseMismatch(dense, sparse).isEmpty(),
                 qPrintable(SparseMismatch(dense, sparse)));
        QVERIFY(sparse.yields() < dense.yields() / 2);
        QCOMPARE(BarShown(sparseForm), BarShown(denseForm));
        QCOMPARE(Entries(sparseForm.ListView2), Entries(denseForm.ListView2));
    }

    // A window's clock looks at the time once every stride points, and lets a
    // yield through once a frame has passed since the last one.
    void frameClockYieldsOnceAFrame() {
        qint64 now = 0;
        int looks = 0;
        FrameClock clock(12, 4, [&] {
            ++looks;
            return now;
        });
        looks = 0;
        QList<bool> answers;
        for (int i = 0; i < 8; ++i)
            answers << clock.due();
        now = 12;
        for (int i = 0; i < 4; ++i)
            answers << clock.due();
        QCOMPARE(answers, QList<bool>(11, false) << true);
        QCOMPARE(looks, 3);
        // A run of points: one look decides for all of them.
        clock.restart();
        QCOMPARE(clock.firstDue(1000), qsizetype(1000));
        now = 30;
        QCOMPARE(clock.firstDue(1000), qsizetype(0));
        QCOMPARE(looks, 6);
        QCOMPARE(clock.pointsAsked(), 12 + 1000 + 1);
    }

    // Without an interval every stride-th point is due, asked one by one or in runs.
    void clockWithoutIntervalLetsEveryStrideThrough() {
        FrameClock clock(0, 3);
        QCOMPARE(clock.firstDue(2), qsizetype(2));
        QCOMPARE(clock.firstDue(5), qsizetype(0));
        QCOMPARE(clock.firstDue(5), qsizetype(2));
        QCOMPARE(QList<bool>({clock.due(), clock.due(), clock.due()}),
                 QList<bool>({false, false, true}));
        QCOMPARE(clock.pointsAsked(), 9);
    }
};

QTEST_GUILESS_MAIN(TestSorting)
#include "test_sorting.moc"
