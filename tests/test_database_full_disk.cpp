#include "DriverProgram.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabaseFullDisk : public QObject {
    Q_OBJECT

private slots:
    // A database run on a really full disk: one report in the platform's
    // words, the file stays whole with the last run's rows emptied, and once
    // there is room a run completes.
    void fullDiskDuringADatabaseRun() {
        QTemporaryDir home;
        const QString data = home.path() + "/data";
        QVERIFY(QDir().mkpath(data));
        if (QProcess::execute("unshare", {"-Urm", "mount", "-t", "tmpfs", "tmpfs", data}) != 0) {
            // A kernel setting, not a package: CI machines may forbid it.
            QSKIP("the system allows no mount namespace of our own: no full disk to try");
        }
        DriverProgram program(home.path());
        // The data folder on a small file system, filled but for 256 KiB once
        // the first run has kept its rows.
        program.startIsolated(R"(mount -t tmpfs -o size=4m tmpfs "$XDG_DATA_HOME"
"$DRIVER" fill:3000 run database
dd if=/dev/zero of="$XDG_DATA_HOME/ballast" bs=64k 2>/dev/null || true
truncate -s -256k "$XDG_DATA_HOME/ballast"
"$DRIVER" fill:30000 run database
rm "$XDG_DATA_HOME/ballast"
"$DRIVER" fill:30000 run results database)");
        const QStringList lines = program.finish();

        const QStringList boxes = Matching(lines, "box");
        QCOMPARE(boxes.size(), 4);
        QVERIFY2(boxes[1].startsWith("box Application Error: Disk full  in "
                                     "Kelvamore2021/08/31.Sorting.SortingDB at line "),
                 qPrintable(boxes[1]));
        QCOMPARE(boxes.mid(0, 1) + boxes.mid(2), QStringList(3, "box : Done."));
        QCOMPARE(
            Matching(lines, "database"),
            QStringList({"database ok rows=3000", "database ok rows=0", "database ok rows=30000"}));
        QCOMPARE(Matching(lines, "results 30000 ").size(), 1);
    }
};

QTEST_MAIN(TestDatabaseFullDisk)
#include "test_database_full_disk.moc"
