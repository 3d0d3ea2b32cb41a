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
    void killedDuringARunStartsCleanAndSortsAgain() {
        // What a run gives when nothing goes wrong, in a home of its own.
        QTemporaryDir referenceHome;
        QString expected;
        {
            DriverProgram reference(referenceHome.path());
            reference.start(QStringList{"check5", "text1:3"} + kCheckRun);
            const QStringList lines = reference.finish();
            QCOMPARE(Matching(lines, "box"), kDone);
            QCOMPARE(Matching(lines, "results").size(), 1);
            expected = Matching(lines, "results").front();
        }
        QVERIFY(!expected.startsWith("results 0 "));

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
                victim.start({"fill:" + QString::number(kAddresses), "run"});
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
};

QTEST_MAIN(TestKillCycles)
#include "test_kill_cycles.moc"
