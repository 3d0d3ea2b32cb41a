#include "Boxes.h"
#include "ListContents.h"
#include "TestWindow.h"
#include "XlsxFile.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QtTest>

namespace {
const QString kOther = QStringLiteral("m@m.org");

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

} // namespace

class TestHostileInputs : public QObject {
    Q_OBJECT

private slots:
    void addressesStayData_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("statement") << "x'); DROP TABLE tblEmls; --@evil.org";
        QTest::newRow("statement in domain") << "a@b.org' OR '1'='1";
        QTest::newRow("formula") << "=HYPERLINK(\"http://e.org\",\"x\")@a.org";
        QTest::newRow("plus") << "+1+1@b.org";
        QTest::newRow("minus") << "-2-3@c.org";
        QTest::newRow("at first") << "@d.org";
        QTest::newRow("quotes") << "a\"b'c`d@e.org";
        QTest::newRow("tab") << "tab\there@f\t.org";
        QTest::newRow("nul") << QString("nul") + QChar(u'\0') + "x@g" + QChar(u'\0') + ".org";
        QTest::newRow("very long") << QString(100000, u'a') + "@h.org";
        QTest::newRow("outside the basic plane")
            << QString::fromUtf8("\xF0\x9F\x98\x80@\xF0\x9D\x94\x98.org");
    }

    void addressesStayData() {
        QFETCH(QString, address);
        TestWindow t;
        Form1& form = t.start();
        const QStringList input{address, kOther};
        Fill(form.state().ListView1, input);

        // The database keeps it as it stores any address: apostrophes for
        // double quotes, at most 255 code units; the text method keeps it whole.
        QString stored = address.left(255);
        stored.replace(u'"', u'\'');
        form.Option1->click();
        form.PushButton17->click();
        QCOMPARE(sorted(Entries(form.state().ListView2)), sorted({stored, kOther}));
        form.Option2->click();
        form.PushButton17->click();
        const QStringList results = Entries(form.state().ListView2);
        QCOMPARE(sorted(results), sorted(input));
        QCOMPARE(ErrorReports(t.platform), QStringList());
        QCOMPARE(Entries(form.state().ListView1), input);

        // The text file: a header and one line per result, the address's bytes unchanged.
        const QString path = t.root() + "/out.txt";
        t.platform.saveDialogAnswers = {path};
        form.PushButton4->click();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), 3);
        QVERIFY(bytes.contains(address.toUtf8() + ' ') || bytes.contains(address.toUtf8() + '\t'));

        // The clipboard: exactly the results, one a line.
        form.PushButton5->click();
        QCOMPARE(t.platform.clipboard, std::optional<QString>(results.join("\r\n") + "\r\n"));

        // The workbook: one cell each, as text; a text longer than a cell can
        // hold is reported once and the other rows are still written.
        form.PushButton13->click();
        QCOMPARE(t.platform.shownSpreadsheets.size(), size_t(1));
        const SheetCells& sheet = t.platform.shownSpreadsheets.front();
        const bool fits = address.size() <= SheetCells::kLongestText;
        for (int i = 0; i < results.size(); ++i) {
            const bool written = fits || results[i] != address;
            QCOMPARE(sheet.cell(i + 2, 1), written ? results[i] : QString());
        }
        QCOMPARE(ErrorReports(t.platform).size(), fits ? 0 : 1);

        // Written as a workbook file, every cell is a text, never a formula.
        const QString unzip = QStandardPaths::findExecutable("unzip");
        if (!unzip.isEmpty()) {
            const QString xlsx = t.root() + "/out.xlsx";
            WriteXlsx(sheet, xlsx);
            QProcess read;
            read.start(unzip, {"-p", xlsx, "xl/worksheets/sheet1.xml"});
            QVERIFY(read.waitForFinished());
            const QByteArray xml = read.readAllStandardOutput();
            QVERIFY(!xml.contains("<f>") && !xml.contains("<f "));
            int cells = 0;
            for (int row = 1; row <= sheet.rowCount(); ++row)
                cells += sheet.cell(row, 1).isEmpty() ? 0 : 1;
            QCOMPARE(xml.count("t=\"inlineStr\""), cells);
        }

        // The table and statements are unchanged: a next run works as usual.
        form.state().ListView1.clear();
        Fill(form.state().ListView1, {"b@y.org", "a@x.org"});
        form.Option1->click();
        form.PushButton17->click();
        QCOMPARE(Entries(form.state().ListView2), (QStringList{"a@x.org", "b@y.org"}));
    }
};

QTEST_MAIN(TestHostileInputs)
#include "test_hostile_inputs.moc"
