#include "DatabaseIntegrity.h"
#include "DriverProgram.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kAddresses = 200000;

// The only box of a run that went well.
const QStringList kDone{"box : Done."};
const QStringList kCheckRun{"state", "fill:3000", "run", "results"};
} // namespace

class TestKillCycles : public QObject {
    Q_OBJECT

private slots:
    // What a run gives when nothing goes wrong, in a home of its own.
    void initTestCase() {
        QTemporaryDir referenceHome;
        DriverProgram reference(referenceHome.path());
        reference.start(QStringList{"check5", "text1:3"} + kCheckRun);
        const QStringList lines = reference.finish();
        QCOMPARE(Matching(lines, "box"), kDone);
        QCOMPARE(Matching(lines, "results").size(), 1);
        expected = Matching(lines, "results").front();
        QVERIFY(!expected.startsWith("results 0 "));
    }

    void killedDuringARunStartsCleanAndSortsAgain() {

        QTemporaryDir home;
        const QString database = home.path() + "/data/Quillmere/Ambervale/dbData.mdb";
        {
            DriverProgram first(home.path());
            first.start({"check5", "text1:3"});
            QCOMPARE(Matching(first.finish(), "box"), QStringList());
        }
        int kills = 0;
        for (const QString marker : {"step1", "step3", "step1", "step3"}) {
            {
                DriverProgram victim(home.path());
                victim.start({"hold:" + marker, "fill:" + QString::number(kAddresses), "run"});
                QVERIFY2(victim.waitFor(marker), qPrintable(marker));
                QVERIFY(victim.kill());
                ++kills;
            }
            QCOMPARE(DatabaseIntegrity(database), QString("ok"));

            DriverProgram next(home.path());
            next.start(kCheckRun);
            const QStringList lines = next.finish();
            QCOMPARE(Matching(lines, "box"), kDone);
            QCOMPARE(Matching(lines, "state"),
                     QStringList{"state check5=1 check1=0 check2=0 text1=3 option1=1"});
            QCOMPARE(Matching(lines, "results"), QStringList{expected});
            QCOMPARE(DatabaseIntegrity(database), QString("ok"));
        }
        QCOMPARE(kills, 4);
    }

    void closedDuringARunEndsAtOnceAndStartsClean_data() {
        QTest::addColumn<bool>("database");
        QTest::addColumn<QString>("step");
        for (const bool database : {true, false})
            for (const char* step : {"Step 1", "Step 2", "Step 3"})
                QTest::addRow("%s, %s", database ? "database" : "text", step) << database << step;
    }

    void closedDuringARunEndsAtOnceAndStartsClean() {
        QFETCH(bool, database);
        QFETCH(QString, step);
        QTemporaryDir home;
        {
            DriverProgram closed(home.path());
            closed.start({"check5", "text1:3", database ? "option1" : "option2", "fill:3000",
                          "close-in:" + step, "run", "results"});
            const QStringList lines = closed.finish();
            QCOMPARE(Matching(lines, "closing in ").size(), 1);
            QVERIFY2(Matching(lines, "closing in ").front().startsWith("closing in " + step),
                     qPrintable(lines.join('\n')));
            // Nothing runs after the close: no box, no end of the run, no further command.
            QCOMPARE(Matching(lines, "box"), QStringList());
            QCOMPARE(Matching(lines, "ended"), QStringList{"ended"});
            QCOMPARE(Matching(lines, "results"), QStringList());
            QVERIFY(closed.endedWell());
        }
        const QString file = home.path() + "/data/Quillmere/Ambervale/dbData.mdb";
        QCOMPARE(DatabaseIntegrity(file), QString("ok"));

        DriverProgram next(home.path());
        next.start(QStringList{"state", "option1"} + kCheckRun.mid(1));
        const QStringList lines = next.finish();
        QCOMPARE(
            Matching(lines, "state"),
            QStringList{
                QString("state check5=1 check1=0 check2=0 text1=3 option1=%1").arg(int(database))});
        QCOMPARE(Matching(lines, "box"), kDone);
        QCOMPARE(Matching(lines, "results"), QStringList{expected});
        QCOMPARE(DatabaseIntegrity(file), QString("ok"));
    }

private:
    QString expected; // the results of an uninterrupted database run
};

QTEST_MAIN(TestKillCycles)
#include "test_kill_cycles.moc"
