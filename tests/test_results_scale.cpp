#include "ClipboardExport.h"
#include "FormState.h"
#include "ListContents.h"
#include "QtPlatform.h"
#include "ResultFilters.h"
#include "ScriptedPlatform.h"
#include "SpreadsheetExport.h"
#include "TextFileExport.h"
#include "XlsxFile.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtTest>

// A million results through each command, on the Qt platform where it has
// one, with the time each takes.
namespace {
constexpr int kResults = 1000000;

QString address(int i) {
    return QStringLiteral("User%1.Name@Domain%2.example.com").arg(i).arg(i % 1000);
}

void fillResults(AddressListModel& list) {
    list.reserve(kResults, 34 * qsizetype(kResults));
    for (int i = 0; i < kResults; ++i)
        list.append(address(i));
}

void report(const char* what, const QElapsedTimer& timer) {
    qInfo("%s: %lld ms", what, timer.elapsed());
}
} // namespace

class TestResultsScale : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void filtersAMillionResults() {
        FormState form;
        fillResults(form.ListView2);
        QElapsedTimer timer;
        timer.start();
        RemoveResultsContaining(form.ListView2, "DOMAIN7");
        report("remove containing, 1,000,000 results", timer);
        QCOMPARE(form.ListView2.count(), kResults - 111000);
        QCOMPARE(form.ListView2.text(7), address(8));

        timer.start();
        RemoveResultsNotContaining(form.ListView2, "domain12");
        report("remove not containing, 889,000 results", timer);
        QCOMPARE(form.ListView2.count(), 11000);
        QCOMPARE(form.ListView2.text(0), address(12));
    }

    void savesAMillionResults() {
        QtPlatform platform(ScriptedPlatform::locationsIn(dir.path()));
        FormState form;
        fillResults(form.ListView2);
        const QString path = dir.path() + "/million.txt";
        QElapsedTimer timer;
        timer.start();
        SaveListviewProperlySpaced(form.ListView2, path, platform, &form);
        report("save as text file, 1,000,000 results", timer);
        const qsizetype width = address(kResults - 1).size();
        QCOMPARE(QFileInfo(path).size(), (width + 3) * (kResults + 1));
        QCOMPARE(form.progressText(), QString("Progress Bar"));
    }

    void copiesAMillionResults() {
        QtPlatform platform(ScriptedPlatform::locationsIn(dir.path()));
        FormState form;
        fillResults(form.ListView2);
        QElapsedTimer timer;
        timer.start();
        CopyListviewToClipboard(form.ListView2, platform);
        report("copy to clipboard, 1,000,000 results", timer);
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(text.count(u'\n'), kResults);
        QVERIFY(text.endsWith(address(kResults - 1) + "\r\n"));
    }

    void exportsAMillionResultsToAWorkbook() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        fillResults(form.ListView2);
        QElapsedTimer timer;
        timer.start();
        SaveResultsAsExcelFile(form, platform);
        report("fill the workbook, 1,000,000 results (scripted yields)", timer);
        QCOMPARE(platform.shownSpreadsheets.size(), size_t(1));
        QCOMPARE(platform.shownSpreadsheets[0].rowCount(), kResults + 1);

        const QString path = dir.path() + "/million.xlsx";
        timer.start();
        WriteXlsx(platform.shownSpreadsheets[0], path);
        report("write the .xlsx file, 1,000,001 rows", timer);
        QVERIFY(QFileInfo(path).size() > 1000000);
    }
};

QTEST_MAIN(TestResultsScale)
#include "test_results_scale.moc"
