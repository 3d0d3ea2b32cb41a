#include "AddressGenerator.h"
#include "DatabaseIntegrity.h"
#include "DatabaseRows.h"
#include "DriverProgram.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {
constexpr int kAddresses = 200000;

// What the database method lists for the generated addresses, without
// options, as the driver prints it: stored values ordered by their bytes,
// domain first.
QString expectedResults(qint64 count, quint64 seed) {
    std::vector<std::pair<QByteArray, QByteArray>> rows; // (domain, address)
    DatabaseRow row;
    for (const QString& address : GenerateAddresses(count, seed)) {
        row.fill(address);
        rows.emplace_back(row.domain().toString().toUtf8(), row.email().toString().toUtf8());
    }
    std::sort(rows.begin(), rows.end());
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const auto& [domain, address] : rows) {
        hash.addData(address);
        hash.addData("\n");
    }
    return QStringLiteral("results %1 %2").arg(rows.size()).arg(hash.result().toHex());
}

// The program's first start in `home` makes the data folder and dbData.mdb.
bool firstStart(const QString& home) {
    DriverProgram first(home);
    first.start({});
    return first.waitFor("done");
}

struct Turns {
    qint64 waitedMs = 0;
    int whileWaiting = 0;
    qint64 longestGapMs = 0;
    qint64 stopToBoxMs = -1;
};

Turns turnsOf(const QStringList& lines) {
    static const QRegularExpression pattern(
        "^turns waited=(\\d+) while-waiting=(\\d+) longest-gap=(\\d+) stop-to-box=(-?\\d+)$");
    const QStringList found = Matching(lines, "turns");
    const QRegularExpressionMatch match = pattern.match(found.value(0));
    if (found.size() != 1 || !match.hasMatch())
        return {-1, -1, -1, -1};
    return {match.captured(1).toLongLong(), match.captured(2).toInt(),
            match.captured(3).toLongLong(), match.captured(4).toLongLong()};
}
} // namespace

class TestTwoWindows : public QObject {
    Q_OBJECT

private slots:
    // Two windows of one account press Start Sorting together, each on its
    // own addresses: both list exactly their own, without a box, and the
    // one that waits for the other keeps getting turns.
    void twoWindowsSortOneDatabaseAtOnce() {
        QTemporaryDir home;
        QVERIFY(firstStart(home.path()));
        DriverProgram one(home.path()), two(home.path());
        one.start({"fill:" + QString::number(kAddresses) + ":1", "go", "run", "results"});
        two.start({"fill:" + QString::number(kAddresses) + ":2", "go", "run", "results"});
        const QString expectedOne = expectedResults(kAddresses, 1),
                      expectedTwo = expectedResults(kAddresses, 2);
        QVERIFY(one.waitFor("ready"));
        QVERIFY(two.waitFor("ready"));
        one.send("go");
        two.send("go");
        const QStringList linesOne = one.finish(), linesTwo = two.finish();

        QCOMPARE(Matching(linesOne, "box"), QStringList{"box : Done."});
        QCOMPARE(Matching(linesTwo, "box"), QStringList{"box : Done."});
        QCOMPARE(Matching(linesOne, "results"), QStringList{expectedOne});
        QCOMPARE(Matching(linesTwo, "results"), QStringList{expectedTwo});
        QCOMPARE(DatabaseIntegrity(home.path() + "/data/Quillmere/Ambervale/dbData.mdb"),
                 QString("ok"));

        const Turns turns[] = {turnsOf(linesOne), turnsOf(linesTwo)};
        qint64 waited = 0;
        for (const Turns& t : turns) {
            QVERIFY(t.waitedMs >= 0);
            waited = std::max(waited, t.waitedMs);
            // A turn at least every 100 ms on average, however loaded the machine.
            QVERIFY2(t.whileWaiting * 100 >= t.waitedMs,
                     qPrintable(QString("%1 turns in %2 ms").arg(t.whileWaiting).arg(t.waitedMs)));
            qInfo("waited %lld ms, %d turns meanwhile, longest gap %lld ms", t.waitedMs,
                  t.whileWaiting, t.longestGapMs);
        }
        QVERIFY2(waited > 0, "the runs did not meet");
    }

    // Stop Sorting pressed in the window that waits for the other's run ends
    // its run at once, with nothing listed; the other run is not disturbed.
    void stopWhileWaitingForTheOtherWindow() {
        QTemporaryDir home;
        QVERIFY(firstStart(home.path()));
        DriverProgram one(home.path()), two(home.path());
        // Long enough a run for the other to press Stop while it waits.
        const int addresses = kAddresses / 4;
        one.start({"fill:" + QString::number(addresses) + ":1", "go", "run", "results"});
        two.start({"fill:3", "go", "runstop", "results"});
        QVERIFY(one.waitFor("ready"));
        QVERIFY(two.waitFor("ready"));
        one.send("go");
        QVERIFY(one.waitFor("step1")); // it holds the database
        two.send("go");
        const QStringList linesTwo = two.finish(), linesOne = one.finish();

        QCOMPARE(Matching(linesTwo, "box"), QStringList{"box : Done."});
        QCOMPARE(Matching(linesTwo, "results"),
                 QStringList{"results 0 " +
                             QCryptographicHash::hash("", QCryptographicHash::Sha1).toHex()});
        const Turns turns = turnsOf(linesTwo);
        QVERIFY2(turns.stopToBoxMs >= 0 && turns.stopToBoxMs < 100,
                 qPrintable(QString::number(turns.stopToBoxMs)));
        qInfo("stop press to the run's end: %lld ms", turns.stopToBoxMs);
        QCOMPARE(Matching(linesOne, "box"), QStringList{"box : Done."});
        QCOMPARE(Matching(linesOne, "results"), QStringList{expectedResults(addresses, 1)});
    }
};

QTEST_MAIN(TestTwoWindows)
#include "test_two_windows.moc"
