#include "ListTextCheck.h"
#include "NumberTextCheck.h"

#include <QDir>
#include <QtTest>

// Replays every input the fuzzers kept through the same comparisons, so a
// build without libFuzzer checks them too.
class TestFuzzCorpora : public QObject {
    Q_OBJECT

private slots:
    void listFilesReadLikeThePlainReading_data() { addInputs(AMBERVALE_LIST_FILE_CORPUS); }
    void listFilesReadLikeThePlainReading() {
        QFETCH(QByteArray, input);
        const QString fault = CheckListText(input);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void numberTextsReadLikeThePlainReading_data() { addInputs(AMBERVALE_NUMBER_TEXT_CORPUS); }
    void numberTextsReadLikeThePlainReading() {
        QFETCH(QByteArray, input);
        const QString fault = CheckNumberText(QString::fromUtf8(input));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

private:
    static void addInputs(const char* folder) {
        QTest::addColumn<QByteArray>("input");
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), folder);
        for (const QFileInfo& info : files) {
            QFile file(info.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(info.fileName())) << file.readAll();
        }
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpora)
#include "test_fuzz_corpora.moc"
