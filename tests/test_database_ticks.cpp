#include "AppError.h"
#include "Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

namespace {
// A working database whose table holds `rows` rows of about 200 bytes.
std::unique_ptr<DatabaseConnection> filled(const QTemporaryDir& dir, int rows) {
    const QString path = dir.filePath("dbData.mdb");
    QFile::copy(QStringLiteral(AMBERVALE_RESOURCES "/dbBlank.mdb"), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    auto connection = CreateEngineConnection();
    connection->open(path);
    const QString n = QString::number(rows);
    connection->execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + n +
        ") INSERT INTO tblEmls SELECT printf('%0190d@d', (i * 7919) % " + n +
        "), 'l', 'd' || (i % 50) FROM n");
    // A small page cache makes every statement over the table read the file.
    connection->execute("PRAGMA cache_size = 8");
    return connection;
}

// Counts the rows through a sort, which takes the engine many instructions.
qint64 sortedCount(DatabaseConnection& connection) {
    const auto count =
        connection.prepare("SELECT COUNT(*) FROM (SELECT Email FROM tblEmls ORDER BY Email)");
    count->step();
    return count->integer(0);
}

// Files of the engine's large sorts this process holds open.
int openSortFiles() {
    int open = 0;
    for (const QFileInfo& link :
         QDir("/proc/self/fd")
             .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        open += link.symLinkTarget().contains("etilqs_");
    return open;
}

qint64 rowCount(DatabaseConnection& connection) {
    const auto count = connection.prepare("SELECT COUNT(*) FROM tblEmls");
    count->step();
    return count->integer(0);
}
} // namespace

class TestDatabaseTicks : public QObject {
    Q_OBJECT

private slots:
    // Sorting runs engine instructions; emptying a table only reads and frees
    // its pages: both must tick.
    void longStatementsTick_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("rows");
        QTest::newRow("ordered query")
            << "SELECT Email FROM tblEmls ORDER BY Domain, Email" << true;
        QTest::newRow("emptying") << "DELETE FROM tblEmls" << false;
        QTest::newRow("grouped copy")
            << "CREATE TEMP TABLE g AS SELECT Email, Domain FROM tblEmls GROUP BY Domain, Email "
               "ORDER BY Domain, Email"
            << false;
    }

    void longStatementsTick() {
        QFETCH(QString, sql);
        QFETCH(bool, rows);
        QTemporaryDir dir;
        auto connection = filled(dir, 20000);
        int ticks = 0;
        connection->setTick([&] { ++ticks; });
        if (rows) {
            const auto query = connection->prepare(sql);
            QVERIFY(query->step());
            QCOMPARE(query->text(0).size(), 192);
        } else {
            connection->execute(sql);
        }
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));

        // Without a tick the same work is silent.
        connection->setTick({});
        const int before = ticks;
        sortedCount(*connection);
        QCOMPARE(ticks, before);
    }

    void aThrowingTickEndsTheStatement() {
        QTemporaryDir dir;
        auto connection = filled(dir, 5000);
        int ticks = 0;
        connection->setTick([&] {
            if (++ticks == 3)
                throw AppError("Out of memory", 7);
        });
        connection->execute("BEGIN");
        try {
            connection->execute("DELETE FROM tblEmls");
            QFAIL("the statement went on after the tick threw");
        } catch (const AppError& error) {
            QCOMPARE(error.description(), QString("Out of memory"));
            QCOMPARE(error.number(), 7);
        }
        // The connection is still usable, and the tick runs again afterwards.
        connection->execute("ROLLBACK");
        QCOMPARE(rowCount(*connection), 5000);
        connection->execute("DELETE FROM tblEmls");
        QVERIFY(ticks > 3);
        connection->setTick({});
        QCOMPARE(rowCount(*connection), 0);
    }

    // A tick may run statements of another connection: those tick that one only.
    void ticksOfAnotherConnectionStayApart() {
        QTemporaryDir dir, otherDir;
        auto connection = filled(dir, 3000);
        auto other = filled(otherDir, 100);
        int ticks = 0, otherTicks = 0;
        other->setTick([&] { ++otherTicks; });
        connection->setTick([&] {
            if (++ticks == 1) {
                QCOMPARE(sortedCount(*other), 100);
                QCOMPARE(ticks, 1);
            }
        });
        QCOMPARE(sortedCount(*connection), 3000);
        QVERIFY(ticks > 1);
        QVERIFY(otherTicks > 0);
    }

    // The engine's sorting threads never run the tick: the window's turns
    // belong to the thread that called the engine.
    void ticksStayOnTheirThread() {
        QTemporaryDir dir;
        auto connection = filled(dir, 20000);
        connection->execute("PRAGMA threads = 2");
        const std::thread::id self = std::this_thread::get_id();
        int ticks = 0, elsewhere = 0;
        connection->setTick([&] { ++(std::this_thread::get_id() == self ? ticks : elsewhere); });
        QCOMPARE(sortedCount(*connection), 20000);
        QVERIFY(ticks >= 20);
        QCOMPARE(elsewhere, 0);
    }

    // They are closed on another thread, which frees their room; none stays open.
    void sortFilesAreClosed() {
        QTemporaryDir dir;
        auto connection = filled(dir, 20000);
        {
            const auto query =
                connection->prepare("SELECT Email FROM tblEmls ORDER BY Domain, Email");
            QVERIFY(query->step());
            QVERIFY(openSortFiles() > 0);
        }
        QTRY_COMPARE(openSortFiles(), 0);
        QCOMPARE(sortedCount(*connection), 20000);
        QTRY_COMPARE(openSortFiles(), 0);
    }

    // A commit leaves no journal, whole or retired, even where a program that
    // was ended left a retired one, and the file is whole.
    void committedJournalIsRetiredAndDeleted() {
        QTemporaryDir dir;
        auto connection = filled(dir, 2000);
        const QString journal = dir.filePath("dbData.mdb-journal");
        const QString retired = journal + "-retired";
        QFile left(retired);
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write("left by a program that was ended");
        left.close();
        connection->execute("BEGIN");
        connection->execute("DELETE FROM tblEmls");
        QVERIFY(QFile::exists(journal));
        connection->execute("COMMIT");
        QVERIFY(!QFile::exists(journal));
        QTRY_VERIFY(!QFile::exists(retired));
        QCOMPARE(rowCount(*connection), 0);
        const auto check = connection->prepare("PRAGMA integrity_check");
        QVERIFY(check->step());
        QCOMPARE(check->text(0).toString(), QString("ok"));
    }
};

QTEST_MAIN(TestDatabaseTicks)
#include "test_database_ticks.moc"
