#include "Boxes.h"
#include "DatabaseIntegrity.h"
#include "ListContents.h"
#include "TestWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QtTest>
#include <functional>

namespace {
using Op = ScriptedPlatform::Operation;

const QStringList kInput{"b@x.org", "a@y.org", "c@x.org"};
const QStringList kResults{"r2@z.org", "r1@z.org"};
const QStringList kSorted{"b@x.org", "c@x.org", "a@y.org"};
const QByteArray kOldFile("kept exactly\r\n");
const QStringList kDone{"Done."};
const QString kNotInstalled = QStringLiteral("Excel is not installed");

// One operation made to fail, what the user does, and what must be left.
struct Fault {
    const char* name;
    Op operation;
    int skip; // statements, or bytes read, that still work first
    bool atStartUp;
    std::function<void(TestWindow&, Form1&)> command;
    int errors;         // error reports, each opening with the failure's own words
    QStringList others; // the beginnings of the other boxes, as documented
    QStringList resultsAfter;
};

void saveResults(TestWindow& t, Form1& form) {
    t.platform.saveDialogAnswers = {t.root() + "/old.txt"};
    form.PushButton4->click();
}

void loadList(TestWindow& t, Form1& form) {
    t.platform.openDialogAnswers = {t.root() + "/list.txt"};
    form.PushButton3->click();
}

void sortRun(TestWindow&, Form1& form) {
    form.PushButton17->click();
}
void nothing(TestWindow&, Form1&) {}

// A run begins by clearing the old results, so a failed run leaves none.
// Statements of a run on three addresses: four settings, BEGIN, DELETE, COMMIT,
// BEGIN, DELETE, three inserts, the query, three steps of the walk, COMMIT.
const std::vector<Fault>& faults() {
    static const std::vector<Fault> all{
        // Each later step of the start-up that needed the folder says so too.
        {"folder creation", Op::CreateFolder, 0, true, nothing, 3, {}, kResults},
        {"template copy", Op::CopyFile, 0, true, nothing, 1, {}, kResults},
        {"settings write",
         Op::WriteSetting,
         0,
         false,
         [](TestWindow&, Form1& form) { form.Check5->click(); },
         0,
         {"Disk full"},
         kResults},
        {"list file open", Op::OpenForReading, 0, false, loadList, 1, {}, kResults},
        {"list file read", Op::ReadFile, 0, false, loadList, 1, {}, kResults},
        {"engine start", Op::CreateConnection, 0, false, sortRun, 1, kDone, {}},
        {"database open", Op::OpenDatabase, 0, false, sortRun, 1, kDone, {}},
        {"first statement", Op::RunStatement, 0, false, sortRun, 1, kDone, {}},
        {"second insert", Op::RunStatement, 10, false, sortRun, 1, kDone, {}},
        {"query", Op::RunStatement, 12, false, sortRun, 1, kDone, {}},
        {"commit", Op::RunStatement, 16, false, sortRun, 1, kDone, kSorted},
        {"file creation", Op::CreateFile, 0, false, saveResults, 1, {}, kResults},
        {"file write", Op::WriteFile, 0, false, saveResults, 1, {}, kResults},
        {"file commit", Op::CommitFile, 0, false, saveResults, 1, {}, kResults},
        {"clipboard",
         Op::SetClipboardText,
         0,
         false,
         [](TestWindow&, Form1& form) { form.PushButton5->click(); },
         1,
         {},
         kResults},
        // Two messages of its own: none installed, and none for this feature.
        {"spreadsheet start",
         Op::CreateSpreadsheet,
         0,
         false,
         [](TestWindow&, Form1& form) { form.PushButton13->click(); },
         0,
         {kNotInstalled, kNotInstalled},
         kResults},
    };
    return all;
}

QByteArray bytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The other boxes, as far as they are documented here.
QStringList otherBoxes(const ScriptedPlatform& platform) {
    QStringList out = OtherBoxes(platform);
    for (QString& text : out)
        text.truncate(kNotInstalled.size());
    return out;
}
} // namespace

class TestFaultInjection : public QObject {
    Q_OBJECT

private slots:
    void oneReportAndNothingLost_data() {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < faults().size(); ++i)
            QTest::newRow(faults()[i].name) << int(i);
    }

    void oneReportAndNothingLost() {
        QFETCH(int, index);
        const Fault& fault = faults()[size_t(index)];
        TestWindow t;
        const QString oldFile = t.writeFile("old.txt", kOldFile);
        t.writeFile("list.txt", "new@list.org\r\n");
        const QString database = t.dataFolder() + "/dbData.mdb";
        // Too many for any retry loop to get past.
        constexpr int kAlways = 5000;
        // Start-up faults strike the first start, which creates the folders and
        // copies the template; the others strike a command of a started window.
        if (fault.atStartUp)
            t.platform.injectFailure(fault.operation, "Disk full", 1);
        Form1& form = t.start();
        Fill(form.state().ListView1, kInput);
        Fill(form.state().ListView2, kResults);
        if (!fault.atStartUp) {
            QCOMPARE(DatabaseIntegrity(database), QString("ok"));
            t.platform.statementsBeforeFailure = fault.skip;
            t.platform.readFailureOffset = fault.skip;
            t.platform.injectFailure(fault.operation, "Disk full", kAlways);
            fault.command(t, form);
        }

        const QStringList errors = ErrorReports(t.platform);
        QCOMPARE(errors.size(), fault.errors);
        // The clipboard is retried first and then says what it is.
        const QString words =
            fault.operation == Op::SetClipboardText ? "Can't open Clipboard" : "Disk full";
        if (!errors.isEmpty())
            QVERIFY2(errors.front().startsWith(words + "\r\n"), qPrintable(errors.front()));
        QCOMPARE(otherBoxes(t.platform), fault.others);
        QCOMPARE(Entries(form.state().ListView1), kInput);
        QCOMPARE(Entries(form.state().ListView2), fault.resultsAfter);
        QCOMPARE(bytes(oldFile), kOldFile);
        QVERIFY(!form.state().isBusy());

        // The failure is gone: the window, the database and the file work again.
        t.platform.injectFailure(fault.operation, "Disk full", 0);
        Form1& next = fault.atStartUp ? t.restart() : form;
        if (fault.atStartUp)
            Fill(next.state().ListView1, kInput);
        QCOMPARE(DatabaseIntegrity(database), QString("ok"));
        t.platform.shownBoxes.clear();
        next.PushButton17->click();
        QCOMPARE(Entries(next.state().ListView2), kSorted);
        saveResults(t, next);
        QCOMPARE(ErrorReports(t.platform), QStringList());
        QCOMPARE(otherBoxes(t.platform), kDone);
        QVERIFY(bytes(oldFile).contains("b@x.org"));
        QCOMPARE(DatabaseIntegrity(database), QString("ok"));
    }
};

QTEST_MAIN(TestFaultInjection)
#include "test_fault_injection.moc"
