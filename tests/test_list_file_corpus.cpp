#include "ListTextCheck.h"

#include <QDir>
#include <QtTest>

// Replays every input the fuzzer kept through the same comparison, so a build
// without libFuzzer checks them too.
class TestListFileCorpus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(!corpus().isEmpty(), "no inputs in " AMBERVALE_LIST_FILE_CORPUS);
    }

    void readsLikeThePlainReading_data() {
        QTest::addColumn<QString>("path");
        for (const QFileInfo& file : corpus())
            QTest::newRow(qPrintable(file.fileName())) << file.filePath();
    }

    void readsLikeThePlainReading() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString fault = CheckListText(file.readAll());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

private:
    static QFileInfoList corpus() {
        return QDir(QStringLiteral(AMBERVALE_LIST_FILE_CORPUS))
            .entryInfoList(QDir::Files, QDir::Name);
    }
};

QTEST_GUILESS_MAIN(TestListFileCorpus)
#include "test_list_file_corpus.moc"
