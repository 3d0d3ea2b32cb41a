#include "AppError.h"
#include "ListContents.h"
#include "TestWindow.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QtTest>

namespace {
// Rows of a CSV text with "," between fields and '"' around fields that need it.
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << std::exchange(field, {});
        } else if (c == u'\n') {
            row << std::exchange(field, {});
            rows << std::exchange(row, {});
        } else if (c != u'\r') {
            field += c;
        }
    }
    return rows;
}

// A stand-in for the spreadsheet program that writes down how it was started.
QString writeRecordingProgram(const QString& folder, const QString& name) {
    const QString path = folder + u'/' + name;
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.args\"\n");
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

class SearchPath {
public:
    explicit SearchPath(const QString& folder) : saved_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(folder));
    }
    ~SearchPath() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};
} // namespace

class TestSpreadsheetProgram : public QObject {
    Q_OBJECT

private slots:
    void theProgramIsLookedForOnTheSearchPath() {
        TestWindow t;
        const QString folder = t.root() + "/bin";
        QDir().mkpath(folder);
        {
            SearchPath path(folder);
            QVERIFY_THROWS_EXCEPTION(AppError, t.platform.LocalPlatform::createSpreadsheet());
        }
        writeRecordingProgram(folder, "libreoffice");
        SearchPath path(folder);
        QVERIFY(t.platform.LocalPlatform::createSpreadsheet() != nullptr);
    }

    // The exported workbook, opened by the real spreadsheet program, holds every
    // result as the text it was: no formulas, numbers or dates made of them,
    // nothing cut at a NUL, no control character or escape-like text changed.
    void theSpreadsheetProgramReadsEveryCellBack() {
        const QString office = QStandardPaths::findExecutable("soffice");
        if (office.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("soffice (package libreoffice-calc) is needed to read the workbook back");
            QSKIP("soffice (package libreoffice-calc) is not installed: workbook not read back");
        }
        TestWindow t;
        Form1& form = t.start();
        const QStringList results{"anna@example.com",
                                  "=SUM(1,2)@x",
                                  "=1+2",
                                  "00123",
                                  "1e5",
                                  "2024-01-31",
                                  "TRUE",
                                  "jörg@bücher.de",
                                  "𝒳@mathematics.org",
                                  "\"quoted\"@x.org",
                                  "a,b@x.org",
                                  "İZMİR@x.tr",
                                  " lead@x.org",
                                  QString("before") + QChar(u'\0') + "after@x.org",
                                  "bell\a\rreturn@x.org",
                                  "_x0007_@x.org"};
        Fill(form.state().ListView2, results);
        form.PushButton13->click();
        QCOMPARE(t.platform.shownSpreadsheets.size(), size_t(1));

        // Shown the way the program shows it, with a stand-in that records its arguments.
        const QString folder = t.root() + "/bin";
        QDir().mkpath(folder);
        const QString program = writeRecordingProgram(folder, "soffice");
        {
            SearchPath path(folder);
            std::unique_ptr<Spreadsheet> workbook = t.platform.LocalPlatform::createSpreadsheet();
            workbook->activeSheet = t.platform.shownSpreadsheets.front();
            workbook->show();
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program + ".args"), 10000);
        QFile argsFile(program + ".args");
        QVERIFY(argsFile.open(QIODevice::ReadOnly));
        const QStringList args =
            QString::fromUtf8(argsFile.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(args.size(), 3);
        QCOMPARE(args[0], QString("--calc"));
        QCOMPARE(args[1], QString("-n"));
        QVERIFY(args[2].endsWith(".xlsx"));
        QScopeGuard removeWorkbook([&] { QFile::remove(args[2]); });

        QProcess convert;
        convert.setStandardInputFile(QProcess::nullDevice());
        convert.start(
            office,
            {"--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir",
             t.root() + "/csv", args[2],
             "-env:UserInstallation=" +
                 QUrl::fromLocalFile(t.root() + "/office profile").toString(QUrl::FullyEncoded)});
        QVERIFY(convert.waitForFinished(120000));
        QCOMPARE(convert.exitCode(), 0);
        QFile csv(t.root() + "/csv/" + QFileInfo(args[2]).completeBaseName() + ".csv");
        QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(convert.readAllStandardError()));
        QList<QStringList> expected{{"Result(s)"}};
        for (const QString& result : results)
            expected << QStringList{result};
        QCOMPARE(parseCsv(QString::fromUtf8(csv.readAll())), expected);
    }
};

QTEST_MAIN(TestSpreadsheetProgram)
#include "test_spreadsheet_program.moc"
