#include "AddressListView.h"
#include "AddressStore.h"
#include "DataFolder.h"
#include "DatabaseIntegrity.h"
#include "DatabaseRows.h"
#include "FormState.h"
#include "ListContents.h"
#include "OptionHandlers.h"
#include "ProgressBarView.h"
#include "RowWriter.h"
#include "ScriptedPlatform.h"
#include "Sorting.h"
#include "SortingDB.h"
#include "StepTexts.h"
#include "TestWindow.h"
#include "YieldActions.h"
#include "YieldTrace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {
const QString kTemplate = QStringLiteral(AMBERVALE_RESOURCES "/dbBlank.mdb");

// A window state and a platform whose data folder holds a fresh working
// database, and whose program folder holds the template.
struct Run {
    QTemporaryDir dir;
    ScriptedPlatform platform{dir.path()};
    FormState form;
    OptionHandlers options{form, platform};

    Run() {
        QDir().mkpath(DataFolder(platform));
        QDir().mkpath(platform.programFolder());
        QFile::copy(kTemplate, templateFile());
        QFile::copy(kTemplate, database());
        QFile(database()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    QString database() { return WorkingDatabase(platform); }
    QString templateFile() { return platform.programFolder() + "/dbBlank.mdb"; }
    void fill(const QStringList& addresses) {
        for (const QString& address : addresses)
            form.ListView1.append(address);
    }
    QStringList sort() {
        SortingDB(form, platform);
        return Entries(form.ListView2);
    }
};

// The rows of tblEmls as the file holds them, in the order they were written,
// or as another query of the file answers them.
QList<QStringList> storedRows(const QString& path,
                              const char* query = "SELECT * FROM tblEmls ORDER BY rowid") {
    QList<QStringList> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, query, -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, c));
            row << (text ? QString::fromUtf16(text, sqlite3_column_bytes16(statement, c) / 2)
                         : QStringLiteral("<null>"));
        }
        rows << row;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

QByteArray bytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& content) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

// A database of the engine holding the tables that `schema` makes.
void makeDatabase(const QString& path, const char* schema) {
    QFile::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8(), &db);
    sqlite3_exec(db, schema, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QString reportOpening(const QString& description, int line) {
    return description + "\r\nin Kelvamore2021/08/31.Sorting.SortingDB at line " +
           QString::number(line) + "\r\r";
}

struct Seen {
    double value;
    QString text;
    QString caption;
    bool operator==(const Seen& o) const {
        return value == o.value && text == o.text && caption == o.caption;
    }
};

QString describe(const QList<Seen>& seen) {
    QStringList lines;
    for (const Seen& s : seen)
        lines << QString("%1 | %2 | %3").arg(s.value).arg(s.text, s.caption);
    return lines.join('\n');
}

const QStringList kMixed = {"b@x.com", "a@x.com", "a@x.com", "B@x.com", "c@y.org",
                            "a@y.org", "d@x.com", "e@X.com", "f@"};
} // namespace

class TestSortingDB : public QObject {
    Q_OBJECT

private slots:
    void storedValues_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("plain") << "ann@example.com"
                               << QStringList{"ann@example.com", "ann", "example.com"};
        QTest::newRow("double quotes") << "\"a\"@b\"c" << QStringList{"'a'@b'c", "'a'", "b'c"};
        QTest::newRow("second at") << "a@b@c" << QStringList{"a@b@c", "a", "b"};
        QTest::newRow("empty domain") << "a@" << QStringList{"a@", "a", ""};
        QTest::newRow("empty local part") << "@d" << QStringList{"@d", "", "d"};
        const QString local(300, u'l');
        QTest::newRow("300 characters")
            << local + "@d.com" << QStringList{local.left(255), local.left(255), "d.com"};
        const QString pair = QString::fromUtf16(u"\U0001F600");
        const QString split = QString(254, u'x') + pair + "@d";
        QTest::newRow("pair at the cut")
            << split << QStringList{QString(254, u'x'), QString(254, u'x'), "d"};
        const QString fits = QString(253, u'x') + pair + "@d";
        QTest::newRow("pair before the cut")
            << fits << QStringList{fits.left(255), fits.left(255), "d"};
        QTest::newRow("latin-1 beyond ascii")
            << QString::fromUtf16(u"jü\"rgen@straße\"@x")
            << QStringList{QString::fromUtf16(u"jü'rgen@straße'@x"), QString::fromUtf16(u"jü'rgen"),
                           QString::fromUtf16(u"straße'")};
        QTest::newRow("beyond latin-1")
            << QString::fromUtf16(u"李\"@例子.cn")
            << QStringList{QString::fromUtf16(u"李'@例子.cn"), QString::fromUtf16(u"李'"),
                           QString::fromUtf16(u"例子.cn")};
        const QString latin1Long = QString(300, QChar(0xe9)) + "@d";
        QTest::newRow("300 latin-1 characters")
            << latin1Long << QStringList{latin1Long.left(255), latin1Long.left(255), "d"};
    }

    // From a text of its own and from one as a list holds it (in one byte a
    // character when it fits).
    void storedValues() {
        QFETCH(QString, address);
        QFETCH(QStringList, stored);
        AddressStore list;
        list.append(address);
        for (QAnyStringView held : {QAnyStringView(address), list.at(0)}) {
            DatabaseRow row;
            row.fill(u"placeholder\"@\"x");
            row.fill(held);
            QCOMPARE(row.email().toString(), stored[0]);
            QCOMPARE(row.localPart().toString(), stored[1]);
            QCOMPARE(row.domain().toString(), stored[2]);
        }
    }

    // Stored as the engine's UTF-8 whatever the width the list holds them in,
    // ordered by those bytes, listed as they were.
    void textBeyondAsciiIsStoredAndListedExactly() {
        Run run;
        const QString latin1 = QString::fromUtf16(u"b@ß.de"), wide = QString::fromUtf16(u"c@例.cn");
        run.fill({wide, latin1, "a@z.de"});
        QCOMPARE(run.sort(), QStringList({"a@z.de", latin1, wide}));
        const QList<QStringList> expected = {{wide, "c", QString::fromUtf16(u"例.cn")},
                                             {latin1, "b", QString::fromUtf16(u"ß.de")},
                                             {"a@z.de", "a", "z.de"}};
        QCOMPARE(storedRows(run.database()), expected);
    }

    void rowsAreInTheFileAndListedAsStored() {
        Run run;
        const QString longLocal(300, u'a');
        run.fill({"b@y.com", "c\"q@x.com", "m@a@b", "x\"); DROP TABLE tblEmls; --@d", "e@",
                  longLocal + "@b"});
        QCOMPARE(run.sort(), QStringList({"e@", "m@a@b", longLocal.left(255),
                                          "x'); DROP TABLE "
                                          "tblEmls; --@d",
                                          "c'q@x.com", "b@y.com"}));
        const QList<QStringList> expected = {
            {"b@y.com", "b", "y.com"},
            {"c'q@x.com", "c'q", "x.com"},
            {"m@a@b", "m", "a"},
            {"x'); DROP TABLE tblEmls; --@d", "x'); DROP TABLE tblEmls; --", "d"},
            {"e@", "e", ""},
            {longLocal.left(255), longLocal.left(255), "b"}};
        QCOMPARE(storedRows(run.database()), expected);

        // The next run empties the table first.
        run.form.ListView1.clear();
        run.fill({"z@z"});
        QCOMPARE(run.sort(), QStringList{"z@z"});
        const QList<QStringList> replaced = {{"z@z", "z", "z"}};
        QCOMPARE(storedRows(run.database()), replaced);
        QVERIFY(run.platform.shownBoxes.empty());
    }

    void optionMatrix_data() {
        QTest::addColumn<bool>("check5");
        QTest::addColumn<bool>("check1");
        QTest::addColumn<bool>("check2");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QStringList>("results");
        // Ordered by domain then address, byte by byte: "" < "X.com" < "x.com" < "y.org".
        QTest::newRow("no option")
            << false << false << false << "5"
            << QStringList{"f@",      "e@X.com", "B@x.com", "a@x.com", "a@x.com",
                           "b@x.com", "d@x.com", "a@y.org", "c@y.org"};
        QTest::newRow("remove duplicates")
            << true << false << false << "5"
            << QStringList{"f@",      "e@X.com", "B@x.com", "a@x.com",
                           "b@x.com", "d@x.com", "a@y.org", "c@y.org"};
        // The empty domain equals the empty starting domain, so it is never listed.
        QTest::newRow("unique domains")
            << false << true << false << "5" << QStringList{"e@X.com", "B@x.com", "a@y.org"};
        QTest::newRow("unique domains, no duplicates")
            << true << true << false << "5" << QStringList{"e@X.com", "B@x.com", "a@y.org"};
        QTest::newRow("three per domain")
            << false << false << true << "3"
            << QStringList{"f@", "e@X.com", "B@x.com", "a@x.com", "a@x.com", "a@y.org", "c@y.org"};
        QTest::newRow("three per domain, no duplicates")
            << true << false << true << "3"
            << QStringList{"f@", "e@X.com", "B@x.com", "a@x.com", "b@x.com", "a@y.org", "c@y.org"};
        QTest::newRow("half rounds to even")
            << false << false << true << "2.5"
            << QStringList{"f@", "e@X.com", "B@x.com", "a@x.com", "a@y.org", "c@y.org"};
        QTest::newRow("one per domain") << false << false << true << " 1 "
                                        << QStringList{"f@", "e@X.com", "B@x.com", "a@y.org"};
        QTest::newRow("zero lists nothing") << false << false << true << "0" << QStringList{};
        QTest::newRow("negative lists nothing") << true << false << true << "-3" << QStringList{};
        QTest::newRow("not a number lists nothing")
            << false << false << true << "abc" << QStringList{};
    }

    void optionMatrix() {
        QFETCH(bool, check5);
        QFETCH(bool, check1);
        QFETCH(bool, check2);
        QFETCH(QString, limit);
        QFETCH(QStringList, results);
        Run run;
        run.fill(kMixed);
        run.options.setCheck5(check5);
        run.options.setCheck1(check1);
        run.options.setCheck2(check2);
        run.options.setText1(limit);
        QCOMPARE(run.sort(), results);
        QVERIFY(run.platform.shownBoxes.empty());
    }

    // Removing duplicates lists rows of every shape as the engine groups them,
    // and per domain as without removing them.
    void groupingKeepsEveryShapeOfRow() {
        const QString longLocal(300, u'a');
        const QString cutLocal(250, u'a'); // stored Emails equal, Domains not
        const QStringList addresses = {QString::fromUtf16(u"c@例.cn"),
                                       QString::fromUtf16(u"C@例.cn"),
                                       QString::fromUtf16(u"ß@ß.de"),
                                       QString::fromUtf16(u"ß@ß.de"),
                                       "m@a@b",
                                       "m@a@c",
                                       "e@",
                                       "e@",
                                       "q\"@a",
                                       "q'@a",
                                       longLocal + "@b",
                                       longLocal + "x@b",
                                       "x@" + QString(300, u'd'),
                                       "y@" + QString(300, u'd'),
                                       "y@" + QString(301, u'd'),
                                       cutLocal + "@abcdef",
                                       cutLocal + "@abcdeg",
                                       "b@a"};
        for (const bool unique : {false, true}) {
            QStringList lists[2];
            QStringList grouped;
            for (const bool check5 : {false, true}) {
                Run run;
                run.fill(addresses);
                run.options.setCheck5(check5);
                run.options.setCheck1(unique);
                lists[check5] = run.sort();
                QVERIFY(run.platform.shownBoxes.empty());
                grouped.clear();
                for (const QStringList& row :
                     storedRows(run.database(), "SELECT Email FROM tblEmls GROUP BY Domain, "
                                                "Email ORDER BY Domain, Email"))
                    grouped << row;
            }
            QCOMPARE(lists[0].size(), unique ? 7 : addresses.size());
            QCOMPARE(lists[1], unique ? lists[0] : grouped);
            QCOMPARE(lists[1].size(), unique ? 7 : 13);
        }
    }

    void limitThatStopsBeingANumberKeepsTheLastGoodValue() {
        Run run;
        run.fill({"a@d", "b@d", "c@d", "d@d", "e@e", "f@e", "g@e"});
        run.options.setCheck2(true);
        run.options.setText1("2");
        // "x" comes before "b@d", "3" before "f@e".
        YieldActions actions(run.platform, run.form);
        actions.whenBar(kAdding + "0", [&] { run.options.setText1("x"); })
            .whenBar(kAdding + "4", [&] { run.options.setText1("3"); });
        QCOMPARE(run.sort(), QStringList({"a@d", "b@d", "e@e", "f@e", "g@e"}));
        QVERIFY(actions.done());
    }

    void progressAtEveryYield() {
        Run run;
        run.fill({"b@y.com", "dir/a@x.com", "c@x.com"});
        run.form.setSortCaption("Stop Sorting");
        QList<Seen> seen;
        run.platform.onYield = [&] {
            seen << Seen{run.form.progressValue(), run.form.progressText(), run.form.sortCaption()};
        };
        QCOMPARE(run.sort(), QStringList({"c@x.com", "dir/a@x.com", "b@y.com"}));
        const QString s = "Stop Sorting", a = "Stop Adding";
        const QList<Seen> expected = {{33, kCollecting + "b@y.com", s},
                                      {66, kCollecting + "a@x.com", s},
                                      {100, kCollecting + "c@x.com", s},
                                      {100, kCollecting + "c@x.com", s},
                                      {100, kQuerying, s},
                                      {100, kQuerying, s},
                                      {100, kQuerying, s},
                                      {100, kQuerying, a},
                                      {25, kAdding + "0", a},
                                      {50, kAdding + "1", a}};
        QVERIFY2(seen == expected, qPrintable(describe(seen)));
        QCOMPARE(run.form.progressValue(), 75.0);
        QCOMPARE(run.form.progressText(), kAdding + "2");
        QCOMPARE(run.form.mousePointer(), MousePointer::Busy);
    }

    // With duplicates removed the bar counts the groups, not the rows written.
    void groupedRowsAreCountedExactly() {
        Run run;
        run.fill({"b@y.com", "a@x.com", "b@y.com", "c@x.com", "a@x.com"});
        run.options.setCheck5(true);
        QList<double> values;
        run.platform.onYield = [&] {
            if (run.form.progressText().startsWith(kAdding))
                values << run.form.progressValue();
        };
        QCOMPARE(run.sort(), QStringList({"a@x.com", "c@x.com", "b@y.com"}));
        QCOMPARE(values, QList<double>({25, 50}));
        QCOMPARE(run.form.progressValue(), 75.0);
        QCOMPARE(run.form.progressText(), kAdding + "2");
    }

    // The engine's long statements give the window turns, where the bar
    // already shows what it shows until the statement ends. Loading more
    // addresses or clearing the results there, before they are all listed,
    // leaves the run whole.
    void turnsInsideLongStatements() {
        Run run;
        QStringList addresses;
        for (int i = 0; i < 3000; ++i)
            addresses << QString("u%1@d%2.com").arg(i % 2500).arg(i % 37);
        QList<std::pair<QString, QString>> unique; // (domain, address), once each
        for (const QString& address : QSet<QString>(addresses.begin(), addresses.end()))
            unique.append({address.section('@', 1), address});
        std::sort(unique.begin(), unique.end());
        QStringList expected;
        for (const auto& [domain, address] : unique)
            expected << address;
        const QString listed = kAdding + QString::number(expected.size() - 1);
        run.fill(addresses);
        run.sort(); // rows for the next run to empty
        run.options.setCheck5(true);
        const QString atStart = run.form.progressText();
        QSet<QString> texts;
        run.platform.onCallYield = [&] {
            texts << run.form.progressText();
            if (run.form.progressText() != listed)
                run.form.ListView2.clear();
            if (run.form.progressText() == kQuerying) {
                for (int k = 0; k < 50; ++k)
                    run.form.ListView1.append(u"late@a.com");
            }
        };
        const QStringList results = run.sort();

        QVERIFY2(run.platform.callYieldCount > 10,
                 qPrintable(QString::number(run.platform.callYieldCount)));
        QVERIFY(texts.contains(kQuerying));
        QVERIFY2((texts - QSet<QString>{atStart, kCollecting + addresses.last(), kQuerying, listed})
                     .isEmpty(),
                 qPrintable(texts.values().join('\n')));
        QCOMPARE(results, expected);
        QCOMPARE(run.form.progressText(), listed);
        QCOMPARE(storedRows(run.database()).size(), addresses.size());
    }

    void sparseYieldsShowWhatEveryYieldWouldShow() {
        QStringList addresses;
        for (int i = 0; i < 20; ++i)
            addresses << QString("u%1@d%2.com").arg(i).arg(i % 4);
        Run dense, sparse;
        YieldTrace denseTrace(dense.platform, dense.form);
        YieldTrace sparseTrace(sparse.platform, sparse.form, 3);
        dense.fill(addresses);
        sparse.fill(addresses);
        QCOMPARE(sparse.sort(), dense.sort());
        QVERIFY2(SparseMismatch(denseTrace, sparseTrace).isEmpty(),
                 qPrintable(SparseMismatch(denseTrace, sparseTrace)));
        QVERIFY(sparseTrace.yields() < denseTrace.yields() / 2);
        QCOMPARE(BarShown(sparse.form), BarShown(dense.form));
    }

    // Between two real yields rows go to the engine in groups; what is
    // stored is the same, row for row, also when a stop press ends the step.
    void rowsWrittenInGroupsAreStoredRowForRow() {
        // Two full groups between yields, then a few rows one at a time.
        constexpr int kPeriod = 2 * RowWriter::kGroup + 5;
        QStringList addresses;
        const QString wide = QString::fromUtf16(u"李"), latin1 = QString::fromUtf16(u"ß");
        for (int i = 0; i < 3 * kPeriod - 11; ++i) {
            QString address = QString("u%1@d%2.com").arg(i).arg(i % 7);
            if (i % 5 == 1)
                address.insert(1, '"');
            if (i % 9 == 2)
                address.prepend(wide);
            if (i % 11 == 3)
                address.append(latin1);
            if (i == 50)
                address = QString(300, 'x') + address;
            addresses << address;
        }
        Run run;
        run.platform.clock =
            FrameClock(0, kPeriod); // real yields before rows kPeriod and 2 kPeriod
        run.fill(addresses);
        YieldActions actions(run.platform, run.form);
        actions.whenBar(kCollecting + addresses[2 * kPeriod - 1],
                        [&] { run.form.globals.StopSorting = true; });
        run.sort();
        QVERIFY(actions.done());
        QList<QStringList> expected;
        for (qsizetype i = 0; i < 2 * kPeriod; ++i) {
            DatabaseRow row;
            row.fill(addresses[i]);
            expected << QStringList{row.email().toString(), row.localPart().toString(),
                                    row.domain().toString()};
        }
        QCOMPARE(storedRows(run.database()), expected);
        QCOMPARE(run.form.ListView2.count(), 2 * kPeriod);
    }

    void stopSortingKeepsWhatWasWritten() {
        Run run;
        run.fill({"e@e", "d@d", "c@c", "b@b", "a@a"});
        YieldActions actions(run.platform, run.form);
        actions.whenBar(kCollecting + "c@c", [&] {
            run.form.globals.StopSorting = true;
            run.form.setMousePointer(MousePointer::Default);
        });
        QCOMPARE(run.sort(), QStringList({"c@c", "d@d", "e@e"}));
        QVERIFY(actions.done());
        QCOMPARE(storedRows(run.database()).size(), 3);
        // Counted among the three rows written, not the five addresses.
        QCOMPARE(run.form.progressValue(), 75.0);
        QCOMPARE(run.form.progressText(), kAdding + "2");
        QCOMPARE(run.form.mousePointer(), MousePointer::Busy);
    }

    void stopPressWhileWriting_data() {
        QTest::addColumn<QString>("sameTurn");
        QTest::addColumn<QStringList>("inputAfter");
        QTest::newRow("press only") << "" << QStringList{"e@e", "d@d", "c@c", "b@b", "a@a"};
        QTest::newRow("and Clear List") << "clear" << QStringList{};
        QTest::newRow("and Delete of the address shown")
            << "delete" << QStringList{"e@e", "d@d", "b@b", "a@a"};
    }

    // The press leaves the bar at rest until step 2 names itself (its value stays), and
    // the address shown when it came is the last one written, whatever the same turn of
    // the window does to the input list.
    void stopPressWhileWriting() {
        QFETCH(QString, sameTurn);
        QFETCH(QStringList, inputAfter);
        TestWindow t;
        Form1& form = t.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Fill(form.state().ListView1, {"e@e", "d@d", "c@c", "b@b", "a@a"});
        QCoreApplication::processEvents(); // the view learns of the rows
        QStringList barAfterPress;         // each change, until step 3
        t.platform.onYield = [&] {
            const QString text = form.ProgressBar1->text();
            if (barAfterPress.isEmpty() && text != kCollecting + "c@c")
                return;
            if (barAfterPress.isEmpty()) {
                QTest::mouseClick(form.PushButton17, Qt::LeftButton);
                if (sameTurn == "clear")
                    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
                if (sameTurn == "delete") {
                    form.ListView1->selectionModel()->select(form.ListView1->model()->index(2, 0),
                                                             QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
                    QTest::keyClick(form.ListView1, Qt::Key_Delete);
                }
            }
            const QString shown =
                QString::number(form.ProgressBar1->value()) + '|' + form.ProgressBar1->text();
            if (!text.startsWith(kAdding) && barAfterPress.value(barAfterPress.size() - 1) != shown)
                barAfterPress << shown;
        };
        QTest::mouseClick(form.PushButton17, Qt::LeftButton);

        QCOMPARE(barAfterPress, QStringList({"0|Progress Bar", "0|" + kQuerying}));
        QCOMPARE(Entries(form.state().ListView2), QStringList({"c@c", "d@d", "e@e"}));
        QCOMPARE(Entries(form.state().ListView1), inputAfter);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes.front().text, QString("Done."));
    }

    void stopAddingEndsAfterTheCurrentRow() {
        Run run;
        run.fill({"e@e", "d@d", "c@c", "b@b", "a@a"});
        YieldActions actions(run.platform, run.form);
        actions.whenBar(kAdding + "0", [&] { run.form.globals.StopAdding = true; });
        QCOMPARE(run.sort(), QStringList({"a@a", "b@b"}));
        QVERIFY(actions.done());
        QCOMPARE(run.form.progressText(), kAdding + "1");
        QCOMPARE(run.form.progressValue(), 2.0 / 6.0 * 100);
    }

    void emptyQueryResultClearsTheResults() {
        Run run;
        run.form.ListView2.append(u"old@result");
        QCOMPARE(run.sort(), QStringList{});
        QCOMPARE(run.form.sortCaption(), QString("Stop Adding"));
        QCOMPARE(run.form.progressText(), kQuerying);
        QVERIFY(run.platform.shownBoxes.empty());
    }

    void databaseFaultsAreReportedOnce_data() {
        QTest::addColumn<int>("operation");        // injected, or -1
        QTest::addColumn<QString>("diskFullFrom"); // the bar's text from which the disk is full
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("listed");  // the results were listed before the fault
        QTest::addColumn<bool>("emptied"); // the last run's rows were emptied before the fault
        const int none = -1;
        QTest::newRow("open fails") << int(ScriptedPlatform::Operation::OpenDatabase) << QString()
                                    << "Disk not ready" << 106 << false << false;
        QTest::newRow("no connection") << int(ScriptedPlatform::Operation::CreateConnection)
                                       << QString() << "Disk not ready" << 100 << false << false;
        // The engine's files grow first when the table is emptied (the journal),
        // last when the rows are kept for good.
        QTest::newRow("disk full from the start") << none << ""
                                                  << "Disk full" << 110 << false << false;
        QTest::newRow("disk full once listed")
            << none << kAdding << "Disk full" << 220 << true << true;
    }

    // One report; the file stays whole, with the rows it had unless the run had
    // emptied them, and serves the next run.
    void databaseFaultsAreReportedOnce() {
        QFETCH(int, operation);
        QFETCH(QString, diskFullFrom);
        QFETCH(QString, message);
        QFETCH(int, line);
        QFETCH(bool, listed);
        QFETCH(bool, emptied);
        Run run;
        run.fill({"z@z"});
        run.sort();
        const QList<QStringList> before = storedRows(run.database());
        run.form.ListView1.clear();
        run.form.setProgressText("Progress Bar"); // as the sort button leaves it
        QStringList addresses, sorted;
        for (int i = 0; i < 300; ++i)
            addresses.prepend(QString("u%1@d.com").arg(i, 3, 10, QChar('0')));
        sorted = addresses;
        std::reverse(sorted.begin(), sorted.end());
        run.fill(addresses);
        if (operation >= 0)
            run.platform.injectFailure(ScriptedPlatform::Operation(operation), message);
        run.platform.onCallYield = [&] {
            if (!diskFullFrom.isNull() && run.form.progressText().startsWith(diskFullFrom))
                run.platform.databaseDiskFull = true;
        };
        run.form.ListView2.clear();
        run.form.ListView2.append(u"kept@result");
        QCOMPARE(run.sort(), listed ? sorted : QStringList{"kept@result"});
        QCOMPARE(run.platform.shownBoxes.size(), size_t(1));
        const auto& box = run.platform.shownBoxes.front();
        QCOMPARE(box.caption, QString("Application Error"));
        QVERIFY2(box.text.startsWith(reportOpening(message, line)), qPrintable(box.text));
        QCOMPARE(storedRows(run.database()), emptied ? QList<QStringList>() : before);
        QCOMPARE(DatabaseIntegrity(run.database()), QString("ok"));

        run.platform.databaseDiskFull = false;
        run.platform.onCallYield = {};
        QCOMPARE(run.sort(), sorted);
        QCOMPARE(storedRows(run.database()).size(), 300);
        QCOMPARE(run.platform.shownBoxes.size(), size_t(1));
    }

    void unusableWorkingDatabaseIsSetAsideAndReplaced_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("line");
        QTest::newRow("zero bytes") << "zero"
                                    << "no such table: tblEmls" << 110;
        QTest::newRow("garbage") << "garbage"
                                 << "file is not a database" << 106;
        QTest::newRow("cut short") << "cut"
                                   << "database disk image is malformed" << 106;
        QTest::newRow("no tblEmls") << "other"
                                    << "no such table: tblEmls" << 110;
        QTest::newRow("tblEmls of two columns")
            << "two"
            << "table tblEmls has 2 columns but 3 values were supplied" << 112;
        QTest::newRow("a folder, with a journal") << "folder"
                                                  << "unable to open database file" << 106;
        QTest::newRow("missing") << "missing" << QString() << 106;
    }

    // One report where the run failed, then the run completes on a fresh copy
    // of the template; the file that failed is kept beside it.
    void unusableWorkingDatabaseIsSetAsideAndReplaced() {
        QFETCH(QString, form);
        QFETCH(QString, words);
        QFETCH(int, line);
        Run run;
        const QString database = run.database();
        const QByteArray journal("a journal of the file");
        if (form == "zero") {
            writeBytes(database, {});
        } else if (form == "garbage") {
            writeBytes(database, QByteArray(4096, 'g'));
        } else if (form == "cut") {
            QStringList many;
            for (int i = 0; i < 3000; ++i)
                many << QString("user%1@domain%2.org").arg(i).arg(i % 40);
            run.fill(many);
            run.sort();
            run.form.ListView1.clear();
            QFile(database).resize(QFileInfo(database).size() / 2);
        } else if (form == "other") {
            makeDatabase(database, "CREATE TABLE other (x TEXT)");
        } else if (form == "two") {
            makeDatabase(database, "CREATE TABLE tblEmls (Email TEXT, Domain TEXT)");
        } else if (form == "folder") {
            QFile::remove(database);
            QDir().mkdir(database);
            writeBytes(database + "-journal", journal);
        } else {
            QFile::remove(database);
        }
        const QByteArray damaged = bytes(database);
        run.fill({"b@y.com", "a@x.com", "c@x.com"});
        run.form.ListView2.append(u"old@result");
        QCOMPARE(run.sort(), QStringList({"a@x.com", "c@x.com", "b@y.com"}));

        const QString aside = DataFolder(run.platform) + "/dbData-damaged-1.mdb";
        const QString done =
            form == "missing"
                ? "The working database dbData.mdb is missing. A fresh copy of dbBlank.mdb took "
                  "its place."
                : "The working database dbData.mdb cannot be used (" + words +
                      "). It was set aside as dbData-damaged-1.mdb, and a fresh copy of "
                      "dbBlank.mdb took its place.";
        QCOMPARE(run.platform.shownBoxes.size(), size_t(1));
        QVERIFY2(run.platform.shownBoxes.front().text.startsWith(reportOpening(done, line)),
                 qPrintable(run.platform.shownBoxes.front().text));
        QCOMPARE(QFileInfo(aside).isDir(), form == "folder");
        QCOMPARE(QFileInfo::exists(aside), form != "missing");
        if (form != "folder" && form != "missing")
            QCOMPARE(bytes(aside), damaged);
        if (form == "folder")
            QCOMPARE(bytes(aside + "-journal"), journal);
        QCOMPARE(storedRows(database).size(), 3);
        QCOMPARE(DatabaseIntegrity(database), QString("ok"));

        run.sort();
        QCOMPARE(run.platform.shownBoxes.size(), size_t(1));
        QVERIFY(!QFileInfo::exists(DataFolder(run.platform) + "/dbData-damaged-2.mdb"));
    }

    void unusableTemplateGivesOneReport_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("words");
        QTest::newRow("damaged") << true
                                 << " The template dbBlank.mdb beside the program, which would "
                                    "replace it, is not a usable database.";
        QTest::newRow("missing")
            << false << " There is no template dbBlank.mdb beside the program to replace it.";
    }

    // Nothing is set aside or copied; the text method lists as it always does.
    void unusableTemplateGivesOneReport() {
        QFETCH(bool, present);
        QFETCH(QString, words);
        Run run;
        const QByteArray garbage(5000, 'x');
        writeBytes(run.database(), garbage);
        if (present)
            writeBytes(run.templateFile(), garbage);
        else
            QFile::remove(run.templateFile());
        run.fill({"b@y.com", "a@x.com", "c@x.com"});
        QCOMPARE(run.sort(), QStringList());
        QCOMPARE(run.platform.shownBoxes.size(), size_t(1));
        const QString text = run.platform.shownBoxes.front().text;
        QVERIFY2(text.startsWith(reportOpening("The working database dbData.mdb cannot be used "
                                               "(file is not a database)." +
                                                   words,
                                               106)),
                 qPrintable(text));
        QCOMPARE(bytes(run.database()), garbage);
        QCOMPARE(QDir(DataFolder(run.platform))
                     .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"dbData.mdb"});

        SortingText(run.form, run.platform);
        QCOMPARE(Entries(run.form.ListView2), QStringList({"a@x.com", "c@x.com", "b@y.com"}));
        QCOMPARE(run.platform.shownBoxes.size(), size_t(1));
    }

    // From before it empties the table until its rows are read back and kept,
    // a run holds the database: no other window's run can write in between.
    void aRunHoldsTheDatabaseUntilItsRowsAreKept() {
        Run run;
        run.fill({"b@y.com", "a@x.com", "c@x.com"});
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(run.database().toUtf8(), &other), SQLITE_OK);
        auto tryToWrite = [&] {
            const int code = sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            if (code == SQLITE_OK)
                sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            return code;
        };
        QStringList free;
        QSet<QString> steps;
        run.platform.onYield = [&] {
            steps << run.form.progressText().left(6);
            if (tryToWrite() != SQLITE_BUSY)
                free << run.form.progressText();
        };
        QCOMPARE(run.sort(), QStringList({"a@x.com", "c@x.com", "b@y.com"}));
        QCOMPARE(steps, QSet<QString>({"Step 1", "Step 2", "Step 3"}));
        QCOMPARE(free, QStringList());
        QCOMPARE(tryToWrite(), SQLITE_OK);
        sqlite3_close(other);
    }

    void waitsForAnotherWindowsRun_data() {
        QTest::addColumn<bool>("stopPressed");
        QTest::addColumn<bool>(
            "afterEmptying"); // the other run starts once this one emptied the table
        QTest::newRow("the other run ends") << false << false;
        QTest::newRow("stop pressed while waiting") << true << false;
        QTest::newRow("the other run comes after the emptying") << false << true;
    }

    // Another window's run holds the database: this run waits, its window
    // getting turns and showing the run's start, then lists its own rows; or
    // a stop press ends the wait at once, with nothing written.
    void waitsForAnotherWindowsRun() {
        QFETCH(bool, stopPressed);
        QFETCH(bool, afterEmptying);
        TestWindow t;
        Form1& form = t.start();
        const QString database = t.dataFolder() + "/dbData.mdb";
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(database.toUtf8(), &other), SQLITE_OK);
        bool otherHolds = false;
        const auto otherRunStarts = [&] {
            otherHolds = true;
            QCOMPARE(sqlite3_exec(other,
                                  "BEGIN EXCLUSIVE; INSERT INTO tblEmls VALUES ('o@other.org', "
                                  "'o', 'other.org')",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
        };
        int begins = 0;
        if (afterEmptying) {
            t.platform.onExecute = [&](const QString& sql) {
                if (sql.startsWith("BEGIN") && ++begins == 2)
                    otherRunStarts();
            };
        } else {
            otherRunStarts();
        }
        Fill(form.state().ListView1, {"b@y.com", "a@x.com"});
        QSet<QString> whileWaiting;
        int turns = 0;
        QElapsedTimer sinceStop;
        qint64 stopToDone = -1;
        t.platform.onCallYield = [&] {
            if (turns < 0 || !otherHolds)
                return;
            whileWaiting << QString("%1|%2|%3")
                                .arg(form.ProgressBar1->value())
                                .arg(form.ProgressBar1->text(), form.PushButton17->text());
            if (++turns < 5)
                return;
            turns = -1;
            if (stopPressed) {
                sinceStop.start();
                form.PushButton17->click();
            } else {
                QCOMPARE(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
            }
        };
        t.platform.onMessageBox = [&](const ScriptedPlatform::ShownBox&) {
            if (sinceStop.isValid())
                stopToDone = sinceStop.elapsed();
        };
        form.PushButton17->click();

        QCOMPARE(turns, -1);
        QCOMPARE(whileWaiting, QSet<QString>{"0|Progress Bar|Stop Sorting"});
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes.front().text, QString("Done."));
        const QList<QStringList> own = {{"b@y.com", "b", "y.com"}, {"a@x.com", "a", "x.com"}};
        if (stopPressed) {
            QVERIFY2(stopToDone >= 0 && stopToDone < 100, qPrintable(QString::number(stopToDone)));
            QCOMPARE(Entries(form.state().ListView2), QStringList());
            QCOMPARE(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
            QCOMPARE(storedRows(database), QList<QStringList>({{"o@other.org", "o", "other.org"}}));
        } else {
            QCOMPARE(Entries(form.state().ListView2), QStringList({"a@x.com", "b@y.com"}));
            QCOMPARE(storedRows(database), own);
        }
        sqlite3_close(other);
        QCOMPARE(DatabaseIntegrity(database), QString("ok"));
    }
};

QTEST_MAIN(TestSortingDB)
#include "test_sorting_db.moc"
