#include "WriteBehind.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cstring>
#include <string>

namespace {
// The file under the gathered writes, and what it answers.
std::string file;
int writesToFile = 0;
int answer = SQLITE_OK;

int writeToFile(sqlite3_file*, const void* data, int amount, sqlite3_int64 offset) {
    ++writesToFile;
    if (answer != SQLITE_OK)
        return answer;
    if (file.size() < size_t(offset + amount))
        file.resize(size_t(offset + amount));
    std::memcpy(file.data() + offset, data, size_t(amount));
    return SQLITE_OK;
}

constexpr int kPage = 4096;
} // namespace

class TestWriteBehind : public QObject {
    Q_OBJECT

private slots:
    void init() {
        file.clear();
        writesToFile = 0;
        answer = SQLITE_OK;
    }

    // Pages written one after another, as a sort writes its files, with rewrites,
    // jumps and large writes among them: every read sees what a file written
    // directly would hold, and the pages reach the file in far fewer writes.
    void readsSeeEveryWrite() {
        WriteBehind writes(nullptr, writeToFile);
        std::string direct;
        QRandomGenerator random(11);
        sqlite3_int64 next = 0;
        int calls = 0;
        for (int i = 0; i < 4000; ++i) {
            const int kind = random.bounded(100);
            sqlite3_int64 offset = next;
            int amount = kPage;
            if (kind < 5)
                offset = random.bounded(qint64(direct.size()) + 1); // a rewrite or a jump
            else if (kind < 8)
                amount = 70000 + random.bounded(kPage); // more than is ever gathered
            else if (kind < 20)
                amount = 1 + random.bounded(kPage); // the end of a sorted piece
            std::string bytes(size_t(amount), char('a' + i % 26));
            QCOMPARE(writes.write(bytes.data(), amount, offset), SQLITE_OK);
            ++calls;
            if (direct.size() < size_t(offset + amount))
                direct.resize(size_t(offset + amount));
            direct.replace(size_t(offset), size_t(amount), bytes);
            next = offset + amount;

            if (random.bounded(10) == 0) {
                const qint64 from = random.bounded(qint64(direct.size()));
                const qint64 length = 1 + random.bounded(2 * kPage);
                QCOMPARE(writes.flushReachedBy(from, length), SQLITE_OK);
                QCOMPARE(file.substr(size_t(from), size_t(length)),
                         direct.substr(size_t(from), size_t(length)));
            }
        }
        QCOMPARE(writes.flush(), SQLITE_OK);
        QCOMPARE(file, direct);
        QVERIFY2(writesToFile * 4 < calls,
                 qPrintable(QString("%1 of %2").arg(writesToFile).arg(calls)));
    }

    // A write that fails once gathered is reported by the call that makes it,
    // at the latest when its bytes are read.
    void aFailedWriteIsReported() {
        WriteBehind writes(nullptr, writeToFile);
        const std::string page(kPage, 'p');
        QCOMPARE(writes.write(page.data(), kPage, 0), SQLITE_OK);
        answer = SQLITE_FULL;
        QCOMPARE(writes.write(page.data(), kPage, kPage), SQLITE_OK);
        QCOMPARE(writes.flushReachedBy(kPage, 1), SQLITE_FULL);
        QCOMPARE(writes.write(page.data(), kPage, 10 * kPage), SQLITE_OK);
        QCOMPARE(writes.write(page.data(), kPage, 20 * kPage), SQLITE_FULL);
        QCOMPARE(writes.write(std::string(70000, 'b').data(), 70000, 0), SQLITE_FULL);
    }
};

QTEST_MAIN(TestWriteBehind)
#include "test_write_behind.moc"
