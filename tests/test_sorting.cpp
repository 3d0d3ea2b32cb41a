#include "AppError.h"
#include "Bubble.h"
#include "FormState.h"
#include "ListContents.h"
#include "ScriptedPlatform.h"
#include "SortKey.h"
#include "Sorting.h"
#include "clsDomain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {
// The bar as each yield finds it, then as the run leaves it.
struct BarLog {
    QStringList seen;
    void attach(ScriptedPlatform& platform, const FormState& form) {
        platform.onYield = [this, &form](int) { seen << state(form); };
    }
    static QString state(const FormState& form) {
        return QString::number(form.progressValue()) + u'|' + form.progressText();
    }
};

const QString kLoop = QStringLiteral("Step 2 of 3: Sorting, loop ");
const QString kAdding = QStringLiteral("Step 3 of 3: Adding emails, please wait... ");
const QString kSearching = QStringLiteral("Step 3 of 3: Adding  emails, please wait... ");

// A platform whose clock answers from a pattern, checked only every stride points.
class PatternPlatform : public ScriptedPlatform {
public:
    PatternPlatform(const QString& root, int stride, QList<bool> pattern)
        : ScriptedPlatform(root), pattern_(std::move(pattern)) {
        setYieldStride(stride);
    }

protected:
    bool isYieldDue() override { return pattern_[looks_++ % pattern_.size()]; }

private:
    QList<bool> pattern_;
    int looks_ = 0;
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
        QCOMPARE(BarLog::state(form), atEnd);
        QCOMPARE(QStringList(array.begin(), array.end()), sorted);
        QVERIFY(platform.shownBoxes.empty());
    }

    void bubbleSortStopsAfterTheComparisonDuringWhichItWasStopped() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        // Yields: 1 starts pass 1, 2 to 4 precede its comparisons, 5 starts pass 2,
        // 6 and 7 precede its first two comparisons.
        platform.onYield = [&](int n) { form.globals.StopSorting = n == 7; };
        std::vector<QString> array{"d", "c", "b", "a"};
        BubbleSort(array, form, platform);
        QCOMPARE(platform.yieldCount, 7);
        QCOMPARE(QStringList(array.begin(), array.end()), QStringList({"b", "a", "c", "d"}));
        QCOMPARE(BarLog::state(form), "50|" + kLoop + "2 of 2, please wait... 1");
    }

    void textSortShowsWhatEachStepLeavesAtEveryYield() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        BarLog log;
        log.attach(platform, form);
        sortText(form, platform, {"c@b", "a@b", "b@a"});
        const QString step1 = "Step 1 of 3: Processing email: ";
        QCOMPARE(log.seen, QStringList({
                               "33|" + step1 + "c@b",
                               "66|" + step1 + "a@b",
                               "100|" + step1 + "b@a",
                               // pass 1
                               "100|" + step1 + "b@a",
                               "100|" + step1 + "b@a",
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
        QCOMPARE(BarLog::state(form), "100|" + kAdding + "2");
        QCOMPARE(Entries(form.ListView2), QStringList({"b@a", "a@b", "c@b"}));
        QCOMPARE(form.sortCaption(), QString("Stop Adding"));
        QCOMPARE(form.mousePointer(), MousePointer::Busy);
    }

    void textSortShowsTheBucketSearch() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        form.setCheck2(true);
        form.setText1("1");
        BarLog log;
        log.attach(platform, form);
        sortText(form, platform, {"x@d", "y@d", "z@e"});
        QCOMPARE(log.seen.mid(6),
                 QStringList({
                     "100|" + kLoop + "1 of 1, please wait... 1", "0|" + kAdding + "0",
                     "50|" + kAdding + "1", // before bucket 1 of key 1
                     "50|" + kSearching + "1.1",
                     "100|" + kAdding + "2", // before bucket 1 of key 2
                 }));
        QCOMPARE(BarLog::state(form), "100|" + kSearching + "2.1");
        QCOMPARE(Entries(form.ListView2), QStringList({"x@d", "z@e"}));
    }

    void singleAddressLeavesTheStepThreeValue() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        BarLog log;
        log.attach(platform, form);
        sortText(form, platform, {"solo@x"});
        // Step 1, the pass without comparisons, then key 0.
        QCOMPARE(platform.yieldCount, 3);
        QCOMPARE(BarLog::state(form), "100|" + kAdding + "0");
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
        QTest::newRow("unique domains wins") << false << true << true << "3" << oneEach;
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
        form.setCheck5(check5);
        form.setCheck1(check1);
        form.setCheck2(check2);
        form.setText1(text1);
        form.ListView2.append(u"stale@result");
        sortText(form, platform,
                 {"bob@mail.com", "amy@mail.com", "bob@mail.com", "cy@Mail.com", "al@b.c",
                  "al@b.c.d", "zed@mail.com@old", "amy@mail.com", "x@", "@d", "Amy@mail.com"});
        QCOMPARE(Entries(form.ListView2), results);
        QVERIFY(platform.shownBoxes.empty());
    }

    void yieldsBeforeEveryBucketExamined() {
        // Sorted, the domains are a, b, c and c again: a new domain examines
        // every bucket before it, the second c finds the third bucket.
        ScriptedPlatform platform(dir.path());
        FormState form;
        form.setCheck2(true);
        form.setText1("2");
        sortText(form, platform, {"1@c", "1@a", "1@b", "2@c"});
        const int step1 = 4, step2 = 1 + 3 + 1 + 3; // a pass that exchanges, one that checks
        const int step3 = 4 + (0 + 1 + 2 + 3);
        QCOMPARE(platform.yieldCount, step1 + step2 + step3);
        QCOMPARE(Entries(form.ListView2), QStringList({"1@a", "1@b", "1@c", "2@c"}));
    }

    void askingForManyYieldPointsAnswersAsAskingOneByOne_data() {
        QTest::addColumn<int>("stride");
        QTest::addColumn<QList<bool>>("pattern");
        QTest::newRow("every point real") << 1 << QList<bool>{true};
        QTest::newRow("stride, sometimes due") << 4 << QList<bool>{false, true, false, false, true};
        QTest::newRow("stride, never due") << 3 << QList<bool>{false};
    }

    void askingForManyYieldPointsAnswersAsAskingOneByOne() {
        QFETCH(int, stride);
        QFETCH(QList<bool>, pattern);
        PatternPlatform single(dir.path(), stride, pattern);
        PatternPlatform bulk(dir.path(), stride, pattern);
        QList<int> dueOneByOne;
        QList<int> dueInRuns;
        int point = 0;
        for (qsizetype run : {0, 1, 2, 7, 3, 16, 1, 5, 30}) {
            for (qsizetype k = 0; k < run; ++k)
                if (single.yieldDue())
                    dueOneByOne << point + int(k);
            qsizetype asked = 0;
            while (asked < run) {
                const qsizetype first = bulk.firstYieldDue(run - asked);
                if (first == run - asked)
                    break;
                dueInRuns << point + int(asked + first);
                asked += first + 1;
            }
            point += int(run);
        }
        QCOMPARE(dueInRuns, dueOneByOne);
        QVERIFY(!dueOneByOne.isEmpty() || !pattern.contains(true));
    }
};

QTEST_GUILESS_MAIN(TestSorting)
#include "test_sorting.moc"
