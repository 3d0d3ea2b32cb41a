#include "ListContents.h"
#include "Spreadsheet.h"
#include "TestWindow.h"
#include "XlsxFile.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QtTest>
#include <sys/stat.h>

namespace {
// Addresses on which the methods, the options and the filters differ.
const QByteArray kList = "b@y.org\r\nA@x.org\r\na@x.org\na@X.org\r\n"
                         "a@x.org\nnot an address\r\n\r\nq\"uote@x.org\n"
                         "a@b@c\nx@\n@d\n pad@y.org \nk@b.c.d\nk@b.c\n"
                         "jos\xc3\xa9@caf\xc3\xa9.fr\n\xe7\x94\xa8@\xe4\xbe\x8b.cn\n" +
                         QByteArray(290, 'l') + "@long.org\n";

struct Ran {
    int status = -1;
    QByteArray out, err;
};

// The program as a script starts it: no display, a home of its own.
Ran runProgram(const QString& program, const QString& home, const QStringList& arguments,
               const QByteArray& input = {}, const QString& outputFile = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/config");
    environment.insert("XDG_DATA_HOME", home + "/data");
    environment.insert("TMPDIR", home + "/tmp");
    QDir().mkpath(home + "/tmp");
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(program, QStringList{"--batch"} + arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

Ran runBatch(const TestWindow& t, const QStringList& arguments, const QByteArray& input = {},
             const QString& outputFile = {}) {
    return runProgram(AMBERVALE_BUILD_DIR "/ambervale", t.root() + "/home", arguments, input,
                      outputFile);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// The sheet of a workbook file: its cells and column widths.
QByteArray sheetXml(const QString& xlsx) {
    QProcess unzip;
    unzip.start(QStandardPaths::findExecutable("unzip"), {"-p", xlsx, "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

QByteArray asLines(const QStringList& entries) {
    QByteArray lines;
    for (const QString& entry : entries)
        lines += entry.toUtf8() + '\n';
    return lines;
}

// What the window's buttons make of the list with the options of a batch run.
struct WindowResults {
    QStringList entries;
    QByteArray textFile;
    QByteArray sheet;
};

WindowResults throughTheWindow(TestWindow& t, const QString& list, const QStringList& options) {
    Form1& form = t.start();
    (options.contains("--method=text") ? form.Option2 : form.Option1)->click();
    t.platform.openDialogAnswers.push_back(list);
    form.PushButton3->click();
    for (const QString& option : options) {
        if (option == "--remove-duplicates")
            form.Check5->click();
        if (option == "--unique-domains")
            form.Check1->click();
        if (option.startsWith("--per-domain=")) {
            form.Check2->click();
            form.Text1->setText(option.section(u'=', 1));
        }
    }
    form.PushButton17->click();
    for (const QString& option : options) {
        const bool remove = option.startsWith("--remove-containing=");
        if (remove || option.startsWith("--keep-containing=")) {
            t.platform.inputAnswers.push_back(option.section(u'=', 1));
            (remove ? form.PushButton22 : form.PushButton23)->click();
        }
    }
    const QString textFile = t.root() + "/window.txt";
    t.platform.saveDialogAnswers.push_back(textFile);
    form.PushButton4->click();
    form.PushButton13->click();
    // The button makes no workbook of no results; a batch run makes one of the header alone.
    SheetCells sheet;
    if (t.platform.shownSpreadsheets.empty()) {
        sheet.setCell(1, 1, "Result(s)");
        sheet.autoFitAllColumns();
    } else {
        sheet = t.platform.shownSpreadsheets.back();
    }
    const QString workbook = t.root() + "/window.xlsx";
    WriteXlsx(sheet, workbook);
    return {Entries(form.state().ListView2), fileBytes(textFile), sheetXml(workbook)};
}
} // namespace

class TestBatch : public QObject {
    Q_OBJECT

private slots:
    void theWindowAndABatchRunGiveTheSameResults_data() {
        QTest::addColumn<QStringList>("options");
        const QStringList optionSets[] = {
            {},
            {"--remove-duplicates"},
            {"--unique-domains"},
            {"--per-domain=2"},
            {"--per-domain=0"},
            {"--remove-containing=X.ORG", "--keep-containing=@"},
            {"--keep-containing=.org", "--remove-containing=pad"},
            {"--remove-duplicates", "--per-domain=1.5", "--remove-containing=k@"},
        };
        for (const char* method : {"--method=database", "--method=text"}) {
            for (const QStringList& options : optionSets) {
                const QStringList all = QStringList{method} + options;
                QTest::newRow(qPrintable(all.join(u' '))) << all;
            }
        }
    }

    void theWindowAndABatchRunGiveTheSameResults() {
        QFETCH(QStringList, options);
        TestWindow t;
        const QString list = t.writeFile("list.txt", kList);
        const WindowResults window = throughTheWindow(t, list, options);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes.front().text, "Done.");

        const Ran printed = runBatch(t, options + QStringList{list});
        QCOMPARE(printed.err, QByteArray());
        QCOMPARE(printed.status, 0);
        QCOMPARE(printed.out, asLines(window.entries));

        const QString textFile = t.root() + "/batch.txt", workbook = t.root() + "/batch.xlsx";
        const Ran saved =
            runBatch(t, options + QStringList{"--output=" + textFile, "--xlsx=" + workbook, list});
        QCOMPARE(saved.err, QByteArray());
        QCOMPARE(saved.status, 0);
        QCOMPARE(saved.out, QByteArray());
        QCOMPARE(fileBytes(textFile), window.textFile);
        QVERIFY(!window.sheet.isEmpty());
        QCOMPARE(sheetXml(workbook), window.sheet);
    }

    void listFilesAndStandardInputAreReadInTheOrderGiven() {
        TestWindow t;
        const QString first = t.writeFile("first.txt", "c@z\r\nb@y");
        const Ran ran = runBatch(t, {"--method=text", "-", first}, "a@x\nb@y\n");
        QCOMPARE(ran.err, QByteArray());
        QCOMPARE(ran.status, 0);
        QCOMPARE(ran.out, QByteArray("a@x\nb@y\nb@y\nc@z\n"));
        QVERIFY(QDir(t.root() + "/home/tmp").isEmpty()); // its working folder went with it
    }

    // Each problem is one line; a file that cannot be read does not stop the others.
    void problemsAreOneLineEachWithAStatus_data() {
        QTest::addColumn<QStringList>("arguments"); // %1: a list file, %2: the test folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QByteArray>("out");
        const QByteArray none;
        QTest::newRow("unknown option")
            << QStringList{"--sort", "%1"} << 2 << "ambervale: Unknown option 'sort'." << none;
        QTest::newRow("unknown method")
            << QStringList{"--method=fast", "%1"} << 2
            << "ambervale: --method is database or text, not 'fast'." << none;
        QTest::newRow("limit not a number")
            << QStringList{"--per-domain=five", "%1"} << 2
            << "ambervale: --per-domain=five: You must input numeric entry." << none;
        QTest::newRow("limit without a value")
            << QStringList{"%1", "--per-domain"} << 2
            << "ambervale: Missing value after '--per-domain'." << none;
        QTest::newRow("one per domain and a limit")
            << QStringList{"--unique-domains", "--per-domain=2", "%1"} << 2
            << "ambervale: --unique-domains and --per-domain exclude each other." << none;
        QTest::newRow("empty filter text")
            << QStringList{"--keep-containing=", "%1"} << 2
            << "ambervale: --remove-containing and --keep-containing need a text." << none;
        QTest::newRow("no list file")
            << QStringList{"--remove-duplicates"} << 2
            << "ambervale: --batch needs a list file (- for standard input)." << none;
        QTest::newRow("a missing file among others")
            << QStringList{"%2/missing.txt", "%1"} << 1
            << "ambervale: %2/missing.txt: File not found" << QByteArray("a@x\nb@y\n");
        QTest::newRow("a folder among others")
            << QStringList{"%1", "%2"} << 1 << "ambervale: %2: Bad file name or number"
            << QByteArray("a@x\nb@y\n");
    }

    void problemsAreOneLineEachWithAStatus() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(QByteArray, out);
        TestWindow t;
        const QString list = t.writeFile("list.txt", "b@y\na@x\n");
        arguments.replaceInStrings("%1", list).replaceInStrings("%2", t.root());
        const Ran ran = runBatch(t, arguments);
        QCOMPARE(ran.status, status);
        QCOMPARE(QString::fromUtf8(ran.err), error.replace("%2", t.root()) + u'\n');
        QCOMPARE(ran.out, out);
    }

    // A file that cannot be made, or results that are not complete, leave what
    // has that name as it was.
    void noPartialOutputFile_data() {
        QTest::addColumn<bool>("withTemplate"); // dbBlank.mdb beside the program
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("output"); // in the test folder: "old" a file, "pipe" a pipe
        QTest::addColumn<QString>("error");
        QTest::newRow("text file in a missing folder") << true << "--output="
                                                       << "none/out.txt"
                                                       << "ambervale: %1/none/out.txt: ";
        QTest::newRow("workbook in a missing folder") << true << "--xlsx="
                                                      << "none/out.xlsx"
                                                      << "ambervale: %1/none/out.xlsx: ";
        QTest::newRow("text file onto a pipe") << true << "--output="
                                               << "pipe"
                                               << "ambervale: %1/pipe: Path/File access error";
        QTest::newRow("workbook onto a pipe") << true << "--xlsx="
                                              << "pipe"
                                              << "ambervale: %1/pipe: Path/File access error";
        QTest::newRow("no template database: no results")
            << false << "--output="
            << "old"
            << "ambervale: %1/program/dbBlank.mdb: File not found";
    }

    void noPartialOutputFile() {
        QFETCH(bool, withTemplate);
        QFETCH(QString, option);
        QFETCH(QString, output);
        QFETCH(QString, error);
        TestWindow t(withTemplate);
        const QString program = t.programFolder() + "/ambervale";
        QVERIFY(QFile::copy(AMBERVALE_BUILD_DIR "/ambervale", program));
        const QString old = t.writeFile("old", "old\n");
        const QString pipe = t.root() + "/pipe";
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString list = t.writeFile("list.txt", "b@y\na@x\n");
        const Ran ran =
            runProgram(program, t.root() + "/home", {option + t.root() + u'/' + output, list});
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.startsWith(error.arg(t.root()).toUtf8()), ran.err.constData());
        QCOMPARE(ran.err.count('\n'), 1);
        QCOMPARE(ran.out, QByteArray());
        QVERIFY(!QFileInfo::exists(t.root() + "/none"));
        QCOMPARE(fileBytes(old), QByteArray("old\n"));
        QVERIFY(!QFileInfo(pipe).isFile());
    }

    void aFullStandardOutputIsAProblem() {
        TestWindow t;
        const Ran ran = runBatch(t, {t.writeFile("list.txt", "a@x\n")}, {}, "/dev/full");
        QCOMPARE(ran.status, 1);
        QCOMPARE(ran.err, QByteArray("ambervale: No space left on device\n"));
    }

    // Whatever the window stored, a batch run takes only its own options and
    // works in a database of its own.
    void theWindowsSettingsAndDatabaseAreLeftAlone() {
        TestWindow t;
        const QString home = t.root() + "/home";
        QDir().mkpath(home + "/config");
        const QString settings =
            t.writeFile("home/config/Quillmere.conf",
                        "[Ambervale]\nRemove%20Duplicates=1\nOption1=False\nOption2=True\n");
        const QString database = home + "/data/Quillmere/Ambervale/dbData.mdb";
        QDir().mkpath(QFileInfo(database).path());
        QVERIFY(QFile::copy(AMBERVALE_RESOURCES "/dbBlank.mdb", database));
        const QByteArray databaseBefore = fileBytes(database);
        const QString list = t.writeFile("list.txt", "a@b@c\na@b@c\n");

        const Ran ran = runBatch(t, {list});
        QCOMPARE(ran.err, QByteArray());
        // The database method, duplicates kept.
        QCOMPARE(ran.out, QByteArray("a@b@c\na@b@c\n"));
        QCOMPARE(fileBytes(settings),
                 QByteArray("[Ambervale]\nRemove%20Duplicates=1\nOption1=False\nOption2=True\n"));
        QCOMPARE(fileBytes(database), databaseBefore);
    }
};

QTEST_MAIN(TestBatch)
#include "test_batch.moc"
