#include "AppError.h"
#include "Bubble.h"
#include "FormState.h"
#include "KeyOrder.h"
#include "ListContents.h"
#include "OptionHandlers.h"
#include "ResultFilters.h"
#include "ScriptedPlatform.h"
#include "SeenTexts.h"
#include "SortKey.h"
#include "SortKeys.h"
#include "SortRun.h"
#include "Sorting.h"
#include "StepByStepBubbleSort.h"
#include "StepByStepTextSort.h"
#include "StepTexts.h"
#include "YieldActions.h"
#include "YieldTrace.h"
#include "clsDomain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <numeric>

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

// Keys collected from addresses, as the text method collects them.
struct Collected {
    explicit Collected(const QStringList& list) {
        for (const QString& address : list)
            store.append(address);
        keys.readFrom(store);
        for (qsizetype i = 0; i < store.count(); ++i)
            keys.append(i);
    }
    QStringList addresses(const std::vector<quint32>& order) const {
        QStringList out;
        for (quint32 key : order)
            out << store.text(key);
        return out;
    }
    AddressStore store;
    SortKeys keys;
};

// When the clock says a real yield is due: a pattern, looked at every stride points.
struct Clock {
    int stride = 1;
    QList<bool> pattern{true};

    FrameClock scripted() const {
        return FrameClock::scripted(stride, [pattern = pattern, looks = qsizetype(0)]() mutable {
            return pattern[looks++ % pattern.size()];
        });
    }
};

// The moment of a stop press: the `occurrence`-th yield at which the bar shows `bar`.
struct Moment {
    QString bar;
    int occurrence = 1;
};

// The moment of the yield at `index` (from 0) of a run that showed `seen`.
Moment MomentOf(const QStringList& seen, qsizetype index) {
    return {seen[index], int(seen.mid(0, index + 1).count(seen[index]))};
}

enum class Sorter { Program, StepByStep };

// One sort of the keys of some addresses, with the bar at every yield. At
// the moment stopAt the sort button is pressed: StopSorting set, the bar reset.
struct Sort {
    Sort(const QString& root, QStringList list, const Clock& clock = {})
        : platform(root), addresses(std::move(list)) {
        platform.clock = clock.scripted();
        form.setProgressValue(7);
        form.setProgressText("before");
        platform.onYield = [this] {
            const QString bar = BarShown(form);
            log.seen << bar;
            if (!stopAt || bar != stopAt->bar || log.seen.count(bar) != stopAt->occurrence)
                return;
            form.globals.StopSorting = true;
            form.setProgressValue(0);
            form.setProgressText("Progress Bar");
        };
    }
    void run(Sorter sorter) {
        if (sorter == Sorter::Program) {
            const Collected c(addresses);
            sorted = c.addresses(BubbleSort(c.keys, form, platform));
            return;
        }
        std::vector<QString> keys;
        std::vector<qsizetype> order;
        for (const QString& address : addresses) {
            order.push_back(qsizetype(keys.size()));
            keys.push_back(SwapAroundAt(address));
        }
        StepByStepBubbleSort(
            order, [&](qsizetype i) -> const QString& { return keys[size_t(i)]; }, form, platform);
        sorted.clear();
        for (qsizetype i : order)
            sorted << addresses[i];
    }

    ScriptedPlatform platform;
    FormState form;
    QStringList addresses;
    BarLog log;
    std::optional<Moment> stopAt;
    QStringList sorted;
};

bool SameAsStepByStep(const QString& root, const QStringList& addresses,
                      const std::optional<Moment>& stopAt = {}, const Clock& clock = {}) {
    Sort ours(root, addresses, clock), reference(root, addresses, clock);
    ours.stopAt = reference.stopAt = stopAt;
    ours.run(Sorter::Program);
    reference.run(Sorter::StepByStep);
    if (ours.sorted == reference.sorted && ours.log.seen == reference.log.seen &&
        BarShown(ours.form) == BarShown(reference.form))
        return true;
    qWarning() << "addresses" << addresses.mid(0, 20) << "stop at"
               << (stopAt ? stopAt->bar : QString()) << (stopAt ? stopAt->occurrence : 0);
    qWarning() << "ours" << ours.sorted.mid(0, 20) << ours.log.seen.size() << BarShown(ours.form);
    qWarning() << "step by step" << reference.sorted.mid(0, 20) << reference.log.seen.size()
               << BarShown(reference.form);
    return false;
}

// Up to `most` characters, mostly a few ASCII ones (so that keys meet as
// equals, prefixes and letter-case variants), now and then one from 0xFF up.
QString RandomPiece(QRandomGenerator& random, int most) {
    static const QStringList units =
        QStringLiteral("a a A b b B . - 0 \u00e9 \u00ff \u0100 \U0001F600").split(u' ');
    QString piece;
    for (int c = random.bounded(most + 1); c > 0; --c)
        piece += units[random.bounded(int(units.size()))];
    return piece;
}

// Shapes: 0 random, 1 sorted, 2 reversed, 3 all equal, 4 a few distinct,
// 5 prefixes of one another; -1 any of them.
QStringList RandomAddresses(QRandomGenerator& random, int count, int shape = -1) {
    if (shape < 0)
        shape = random.bounded(6);
    auto address = [&] {
        QString text = RandomPiece(random, 3);
        if (random.bounded(10) > 0) // now and then no "@" at all
            text += u'@' + RandomPiece(random, 3);
        if (random.bounded(8) == 0)
            text += u'@' + RandomPiece(random, 2);
        return text;
    };
    const QString one = address(), other = address(), stem = RandomPiece(random, 8);
    QStringList list;
    for (int i = 0; i < count; ++i) {
        switch (shape) {
        case 3:
            list << one;
            break;
        case 4:
            list << (random.bounded(2) ? one : other);
            break;
        case 5:
            list << (random.bounded(2) ? stem.left(random.bounded(9)) + "@d"
                                       : "x@" + stem.left(random.bounded(9)));
            break;
        default:
            list << address();
        }
    }
    if (shape == 1 || shape == 2) {
        std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
            return SwapAroundAt(a) < SwapAroundAt(b);
        });
        if (shape == 2)
            std::reverse(list.begin(), list.end());
    }
    return list;
}

// A press of Start Sorting with one text method, and what the user does
// whenever it yields, drawn from a seeded generator: two runs that yield at
// the same points meet the same acts. Each yield records the window's state.
struct MeddledRun {
    MeddledRun(const QString& root, const Clock& clock, quint32 seed, bool meddles)
        : platform(root), options(form, platform), random(seed), meddle(meddles) {
        platform.clock = clock.scripted();
        platform.onYield = [this] {
            seen << BarShown(form) + u'|' + form.sortCaption() + u'|' +
                        QString::number(int(form.mousePointer())) + u'|' +
                        QString::number(form.ListView2.count());
            if (meddle)
                act();
        };
    }
    void act() {
        AddressListModel& input = form.ListView1;
        switch (random.bounded(90)) {
        case 0:
        case 1:
            run->PushButton17_Click();
            break;
        case 2:
            options.setCheck5(!form.check5());
            break;
        case 3:
            options.setCheck1(!form.check1());
            break;
        case 4:
            options.setCheck2(!form.check2());
            break;
        case 5:
            options.setText1(QStringList{"0", "1", "2", "x"}[random.bounded(4)]);
            break;
        case 6:
            RemoveResultsContaining(form.ListView2, "A");
            break;
        case 7:
            RemoveResultsNotContaining(form.ListView2, "b");
            break;
        case 8:
            if (!input.isEmpty())
                input.removeAt(random.bounded(int(input.count())));
            break;
        case 9:
            input.append(u"n@b");
            break;
        }
    }
    void start(const SortMethod& method, const QStringList& input, quint32 ticks) {
        Fill(form.ListView1, input);
        options.setCheck5(ticks & 1);
        options.setCheck1(ticks & 2);
        options.setCheck2(ticks & 4);
        options.setText1(QString::number(ticks >> 3));
        SortRun sortRun(form, platform, {nullptr, method});
        run = &sortRun;
        sortRun.PushButton17_Click();
        run = nullptr;
    }

    ScriptedPlatform platform;
    FormState form;
    OptionHandlers options;
    QRandomGenerator random;
    bool meddle;
    SortRun* run = nullptr;
    QStringList seen;
};

// Runs the program's method and the step-by-step one alike; false, with
// what differs, when anything seen at a yield or at the end differs.
// Options: bits 0 to 2 tick the three options in turn (the unique domains and
// the limit untick each other), the rest is the limit.
bool TextMethodSameAsStepByStep(const QString& root, const QStringList& input, quint32 seed,
                                quint32 options, const Clock& clock, bool meddle) {
    MeddledRun ours(root, clock, seed, meddle), reference(root, clock, seed, meddle);
    ours.start(SortingText, input, options);
    reference.start(StepByStepSortingText, input, options);
    if (ours.seen == reference.seen &&
        Entries(ours.form.ListView2) == Entries(reference.form.ListView2) &&
        Entries(ours.form.ListView1) == Entries(reference.form.ListView1) &&
        ours.platform.shownBoxes.size() == reference.platform.shownBoxes.size())
        return true;
    qWarning() << "seed" << seed << "options" << options << "input" << input.mid(0, 20);
    for (qsizetype i = 0; i < std::max(ours.seen.size(), reference.seen.size()); ++i) {
        if (ours.seen.value(i) != reference.seen.value(i)) {
            qWarning() << "yield" << i << "ours" << ours.seen.value(i) << "step by step"
                       << reference.seen.value(i);
            break;
        }
    }
    qWarning() << "ours" << Entries(ours.form.ListView2).mid(0, 20) << "step by step"
               << Entries(reference.form.ListView2).mid(0, 20);
    return false;
}
} // namespace

class TestSorting : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    void sortText(FormState& form, ScriptedPlatform& platform, const QStringList& input) {
        Fill(form.ListView1, input);
        SortingText(form, platform);
    }

    // The options as the user sets them, in this order.
    static void setOptions(FormState& form, Platform& platform, bool check5, bool check1,
                           bool check2, const QString& text1) {
        OptionHandlers options(form, platform);
        options.setCheck5(check5);
        options.setCheck1(check1);
        options.setCheck2(check2);
        options.setText1(text1);
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

    void keysSortByCodeUnits_data() {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("prefix") << QStringList{"abc@d", "ab@d", "a@d", "@d", "x@"}
                                << QStringList{"x@", "@d", "a@d", "ab@d", "abc@d"};
        QTest::newRow("domain continued below @")
            << QStringList{"a@b.c", "a@b.c.d", "a@b-c", "a@b"}
            << QStringList{"a@b-c", "a@b.c.d", "a@b.c", "a@b"};
        QTest::newRow("equal keys keep their order")
            << QStringList{"b@x", "a@x@1", "b@x", "a@x@2", "b@x@3"}
            << QStringList{"a@x@1", "a@x@2", "b@x", "b@x", "b@x@3"};
        QTest::newRow("beyond latin") << QStringList{QStringLiteral("a@\u00ff"),
                                                     QStringLiteral("a@\u0100"),
                                                     QStringLiteral("a@\U0001F600"),
                                                     QStringLiteral("a@\uFFFD"),
                                                     QStringLiteral("a@\u00fe\u00ff"),
                                                     "a@z",
                                                     QStringLiteral("a@\u00ff\u00ff\u00ff\u00ff")}
                                      << QStringList{"a@z",
                                                     QStringLiteral("a@\u00fe\u00ff"),
                                                     QStringLiteral("a@\u00ff"),
                                                     QStringLiteral("a@\u00ff\u00ff\u00ff\u00ff"),
                                                     QStringLiteral("a@\u0100"),
                                                     QStringLiteral("a@\U0001F600"),
                                                     QStringLiteral("a@\uFFFD")};
        QTest::newRow("nul characters")
            << QStringList{QStringLiteral("a\0b@d"), QStringLiteral("a\0@d"), "a@d",
                           QStringLiteral("a@d\0")}
            << QStringList{QStringLiteral("a@d\0"), "a@d", QStringLiteral("a\0@d"),
                           QStringLiteral("a\0b@d")};
    }

    void keysSortByCodeUnits() {
        QFETCH(QStringList, addresses);
        QFETCH(QStringList, sorted);
        const Collected c(addresses);
        QCOMPARE(c.addresses(*SortedKeyOrder(c.keys, [](double) { return true; })), sorted);
    }

    void sortedKeysAgreeWithAStableSortAtLength() {
        // Long common beginnings and many equal keys: groups sorted again
        // and again, by radix and by comparison.
        QRandomGenerator random(11);
        QStringList addresses;
        const QString stem = QStringLiteral("common.domain.with.a.long.name");
        for (int i = 0; i < 20000; ++i) {
            const QString domain = stem.left(10 + random.bounded(stem.size() - 9));
            addresses << RandomPiece(random, 12) + u'@' + domain;
        }
        const Collected c(addresses);
        int calls = 0;
        const std::vector<quint32> order = *SortedKeyOrder(c.keys, [&](double share) {
            ++calls;
            return share >= 0 && share < 1;
        });
        std::vector<quint32> expected(order.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](quint32 a, quint32 b) {
            return SwapAroundAt(addresses[a]) < SwapAroundAt(addresses[b]);
        });
        QCOMPARE(order, expected);
        QVERIFY(calls > 10);
        for (int i = 0; i < 2000; ++i) {
            const quint32 a = random.bounded(20000), b = random.bounded(20000);
            const int cmp = SwapAroundAt(addresses[a]).compare(SwapAroundAt(addresses[b]));
            QCOMPARE(CompareKeys(c.keys, a, b), cmp < 0 ? -1 : cmp > 0 ? 1 : 0);
        }
        QVERIFY(!SortedKeyOrder(c.keys, [](double) { return false; }));
    }

    void longKeysSortInTimeLinearInTheirLength() {
        // Equal for a hundred thousand characters, some from 0xFF up: a
        // word after a word, never read from the start again.
        const QString common = QString(QStringLiteral("\u00ffa\u0100")).repeated(40000);
        const QStringList addresses{common + "c@d", common + "b@d", common + "c@d", "a@d"};
        const Collected c(addresses);
        QCOMPARE(c.addresses(*SortedKeyOrder(c.keys, [](double) { return true; })),
                 QStringList({"a@d", common + "b@d", common + "c@d", common + "c@d"}));
        QCOMPARE(CompareKeys(c.keys, 0, 2), 0);
        QCOMPARE(CompareKeys(c.keys, 0, 1), 1);
    }

    void seenTextsAnswerAsASetWhileTheyGrow() {
        // Texts met again before and after growths, while they are being
        // moved to the larger table and after.
        QRandomGenerator random(5);
        QStringList texts;
        for (int i = 0; i < 30000; ++i)
            texts << QString::number(random.bounded(12000));
        const auto textOf = [&texts](quint32 n) { return QAnyStringView(texts[n]); };
        SeenTexts<decltype(textOf)> seen(textOf);
        QHash<QString, qint64> first;
        for (quint32 n = 0; n < quint32(texts.size()); ++n) {
            const bool isNew = !first.contains(texts[n]);
            QCOMPARE(seen.find(texts[n]), isNew ? -1 : first[texts[n]]);
            QCOMPARE(seen.insert(n), isNew);
            first.insert(texts[n], first.value(texts[n], n));
        }
    }

    void bubbleSortShowsEachComparison_data() {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<bool>("stopAtStart");
        QTest::addColumn<QStringList>("atYields");
        QTest::addColumn<QString>("atEnd");
        QTest::addColumn<QStringList>("sorted");
        const QString rest = "7|before";
        QTest::newRow("empty") << QStringList{} << false << QStringList{rest} << rest
                               << QStringList{};
        QTest::newRow("one key") << QStringList{"a@d"} << false << QStringList{rest} << rest
                                 << QStringList{"a@d"};
        // Two keys: the last pair index is 0, so the bar value never moves.
        QTest::newRow("two keys swapped")
            << QStringList{"b@d", "a@d"} << false
            << QStringList{rest, rest, "7|" + kLoop + "1 of 0, please wait... 0",
                           "7|" + kLoop + "1 of 0, please wait... 0"}
            << "7|" + kLoop + "2 of 0, please wait... 0" << QStringList{"a@d", "b@d"};
        QTest::newRow("already sorted")
            << QStringList{"a@d", "b@d", "c@d", "d@d"} << false
            << QStringList{rest, rest, "0|" + kLoop + "1 of 2, please wait... 0",
                           "50|" + kLoop + "1 of 2, please wait... 1"}
            << "100|" + kLoop + "1 of 2, please wait... 2"
            << QStringList{"a@d", "b@d", "c@d", "d@d"};
        QTest::newRow("stopped before it began")
            << QStringList{"c@d", "b@d", "a@d"} << true << QStringList{rest, rest}
            << "0|" + kLoop + "1 of 1, please wait... 0" << QStringList{"b@d", "c@d", "a@d"};
    }

    void bubbleSortShowsEachComparison() {
        QFETCH(QStringList, addresses);
        QFETCH(bool, stopAtStart);
        QFETCH(QStringList, atYields);
        QFETCH(QString, atEnd);
        QFETCH(QStringList, sorted);
        for (const Sorter sorter : {Sorter::Program, Sorter::StepByStep}) {
            Sort sort(dir.path(), addresses);
            sort.form.globals.StopSorting = stopAtStart;
            sort.run(sorter);
            QCOMPARE(sort.log.seen, atYields);
            QCOMPARE(BarShown(sort.form), atEnd);
            QCOMPARE(sort.sorted, sorted);
            QVERIFY(sort.platform.shownBoxes.empty());
        }
    }

    void bubbleSortStopsAfterTheComparisonDuringWhichItWasStopped() {
        // Pressed while the first comparison of pass 2 shows: the second one
        // is still made.
        for (const Sorter sorter : {Sorter::Program, Sorter::StepByStep}) {
            Sort sort(dir.path(), {"d@x", "c@x", "b@x", "a@x"});
            sort.stopAt = Moment{"0|" + kLoop + "2 of 2, please wait... 0"};
            sort.run(sorter);
            QCOMPARE(sort.sorted, QStringList({"b@x", "a@x", "c@x", "d@x"}));
            QCOMPARE(BarShown(sort.form), "50|" + kLoop + "2 of 2, please wait... 1");
        }
    }

    void bubbleSortMatchesTheStepByStepSort() {
        for (quint32 seed = 0; seed < 2000; ++seed) {
            QRandomGenerator random(seed);
            const QStringList addresses = RandomAddresses(random, random.bounded(11));
            QVERIFY(SameAsStepByStep(dir.path(), addresses));
        }
    }

    void stopAtAnyYieldLeavesWhatTheStepByStepSortLeaves() {
        for (quint32 seed = 0; seed < 150; ++seed) {
            QRandomGenerator random(seed);
            const QStringList addresses = RandomAddresses(random, 2 + random.bounded(5));
            Sort whole(dir.path(), addresses);
            whole.run(Sorter::StepByStep);
            for (qsizetype yield = 0; yield < whole.log.seen.size(); ++yield)
                QVERIFY(SameAsStepByStep(dir.path(), addresses, MomentOf(whole.log.seen, yield)));
        }
    }

    void longerSortsWithFewRealYields() {
        // A real yield at one point in 48: some fall while the order is being
        // found, the others in later passes.
        const Clock clock{16, {false, false, true}};
        for (quint32 seed = 0; seed < 3; ++seed) {
            QRandomGenerator random(seed);
            const QStringList addresses = RandomAddresses(random, 1000, int(seed) * 2);
            Sort whole(dir.path(), addresses, clock);
            whole.run(Sorter::StepByStep);
            QVERIFY(SameAsStepByStep(dir.path(), addresses, {}, clock));
            for (qsizetype yield : {0, 2, 39, 3999}) {
                if (yield < whole.log.seen.size())
                    QVERIFY(SameAsStepByStep(dir.path(), addresses, MomentOf(whole.log.seen, yield),
                                             clock));
            }
        }
    }

    void textMethodMatchesTheStepByStepMethod() {
        // Every option and limit, every point or some of them real yields, and
        // in most runs stop presses, option changes, filters and list changes
        // while it yields.
        for (quint32 seed = 0; seed < 1500; ++seed) {
            QRandomGenerator random(seed);
            const QStringList input = RandomAddresses(random, random.bounded(13));
            Clock clock;
            if (random.bounded(2)) {
                clock.stride = 1 + random.bounded(3);
                clock.pattern = {random.bounded(2) == 0, true, random.bounded(2) == 0};
            }
            QVERIFY(TextMethodSameAsStepByStep(dir.path(), input, seed, random.bounded(32u), clock,
                                               seed % 4 != 0));
        }
    }

    void textMethodMatchesTheStepByStepMethodWithFewRealYields() {
        const Clock clock{7, {false, false, true}};
        for (quint32 seed = 0; seed < 16; ++seed) {
            QRandomGenerator random(seed);
            const QStringList input = RandomAddresses(random, 300, int(seed % 6));
            QVERIFY(TextMethodSameAsStepByStep(dir.path(), input, seed, seed % 2 ? 12 + seed : seed,
                                               clock, seed % 3 != 0));
        }
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

    void collectingReadsTheListAsItStandsAtEachAddress() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        Fill(form.ListView1, {"c@x", "b@x", "a@x", "d@x"});
        // While the second address is shown (it was read before the yield),
        // the first is deleted and one is added: the third and fourth
        // addresses are then read from the changed list.
        platform.onYield = [&] {
            if (!form.progressText().endsWith("b@x"))
                return;
            form.ListView1.removeAt(0);
            form.ListView1.append(u"z@y");
        };
        SortingText(form, platform);
        QCOMPARE(Entries(form.ListView1), QStringList({"b@x", "a@x", "d@x", "z@y"}));
        QCOMPARE(Entries(form.ListView2), QStringList({"b@x", "c@x", "d@x", "z@y"}));
    }

    void domainsAreEqualWhateverTheCharactersOfTheirAddresses_data() {
        QTest::addColumn<bool>("check1");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("one per domain") << true << "5" << QStringList{"b@d.com"};
        QTest::newRow("two per domain")
            << false << "2" << QStringList{"b@d.com", QStringLiteral("\u00e9@d.com")};
    }

    void domainsAreEqualWhateverTheCharactersOfTheirAddresses() {
        // Addresses held one byte a character and two, with one domain.
        QFETCH(bool, check1);
        QFETCH(QString, text1);
        QFETCH(QStringList, results);
        ScriptedPlatform platform(dir.path());
        FormState form;
        setOptions(form, platform, false, check1, !check1, text1);
        sortText(form, platform,
                 {QStringLiteral("\u0101@d.com"), "b@d.com", QStringLiteral("\u00e9@d.com")});
        QCOMPARE(Entries(form.ListView2), results);
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
        setOptions(form, platform, check5, check1, check2, text1);
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
        // However short, a run is looked at: it may stand for much work.
        now = 60;
        QCOMPARE(clock.firstDue(1), qsizetype(0));
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
