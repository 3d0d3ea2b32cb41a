#include "AppError.h"
#include "ListContents.h"
#include "PointerLog.h"
#include "SpreadsheetExport.h"
#include "TestWindow.h"
#include "YieldActions.h"

#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace {
const QString kNotInstalled = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this software "
    "without error.");
const QString kNeededForThis = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this feature.");

QStringList columnA(const SheetCells& sheet) {
    QStringList out;
    for (int row = 1; row <= sheet.rowCount(); ++row)
        out << sheet.cell(row, 1);
    return out;
}
} // namespace

class TestSpreadsheetExport : public QObject {
    Q_OBJECT

private slots:
    void fillsANewWorkbookWithTextCells() {
        TestWindow t;
        Form1& form = t.start();
        const QStringList results{"b@x.org", "=1+2", "a much longer address@example.com"};
        Fill(form.state().ListView2, results);
        PointerLog pointers(form.state());
        form.PushButton13->click();

        QCOMPARE(t.platform.shownSpreadsheets.size(), size_t(1));
        const SheetCells& sheet = t.platform.shownSpreadsheets.front();
        QCOMPARE(columnA(sheet), QStringList{"Result(s)"} + results);
        QCOMPARE(sheet.columnCount(), 1);
        QCOMPARE(t.platform.spreadsheetsCreated, 2); // the availability test's and the export's
        QCOMPARE(t.platform.yieldCount, 1 + 2 * int(results.size()));
        QVERIFY(t.platform.shownBoxes.empty());
        QCOMPARE(pointers.shown, QList<MousePointer>({MousePointer::Busy, MousePointer::Default}));
    }

    void theColumnFitsItsLongestText() {
        SheetCells sheet;
        sheet.setCell(1, 1, "Result(s)");
        sheet.autoFitColumn(1);
        const double headerOnly = sheet.columnWidth(1);
        QVERIFY(headerOnly >= 9);
        sheet.setCell(2, 1, "a@b");
        sheet.setCell(3, 1, "forty.characters.long@example-domain.org");
        QCOMPARE(sheet.columnWidth(1), headerOnly); // fitted only when asked
        sheet.autoFitAllColumns();
        QVERIFY(sheet.columnWidth(1) >= 40);
        QVERIFY(sheet.columnWidth(1) < 2 * 40);
        QCOMPARE(sheet.columnWidth(2), 0.0);
    }

    void cellsOutsideTheSheetAreRefused() {
        SheetCells sheet;
        sheet.setCell(SheetCells::kRows, 1, "last row");
        QVERIFY_THROWS_EXCEPTION(AppError, sheet.setCell(SheetCells::kRows + 1, 1, "x"));
        QVERIFY_THROWS_EXCEPTION(AppError, sheet.setCell(0, 1, "x"));
        QVERIFY_THROWS_EXCEPTION(AppError, sheet.setCell(1, SheetCells::kColumns + 1, "x"));
        QVERIFY_THROWS_EXCEPTION(AppError, sheet.setCell(2, 1, QString(32768, u'x')));
        sheet.setCell(2, 1, QString(32767, u'x'));
        QCOMPARE(sheet.rowCount(), SheetCells::kRows);
        QCOMPARE(sheet.cell(SheetCells::kRows, 1), QString("last row"));
        QCOMPARE(sheet.cell(3, 1), QString());
    }

    void withoutASpreadsheetProgramTwoMessages() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        t.platform.injectFailure(ScriptedPlatform::Operation::CreateSpreadsheet,
                                 "No spreadsheet program was found");
        PointerLog pointers(form.state());
        form.PushButton13->click();

        QCOMPARE(t.platform.shownBoxes.size(), size_t(2));
        QCOMPARE(t.platform.shownBoxes[0].text, kNotInstalled);
        QCOMPARE(t.platform.shownBoxes[1].text, kNeededForThis);
        for (const auto& box : t.platform.shownBoxes) {
            QCOMPARE(box.buttons, MessageButtons::Ok);
            QCOMPARE(box.icon, MessageIcon::None);
            QCOMPARE(box.caption, t.platform.applicationTitle());
        }
        QVERIFY(t.platform.shownSpreadsheets.empty());
        QVERIFY(pointers.shown.isEmpty());
        QCOMPARE(t.platform.yieldCount, 0);
    }

    void theAvailabilityTestAloneSaysOnlyItsOwnMessage() {
        TestWindow t;
        Form1& form = t.start();
        QVERIFY(form.SaveResultsAsExcelFileIsExcelInstalled());
        QVERIFY(t.platform.shownBoxes.empty());
        t.platform.injectFailure(ScriptedPlatform::Operation::CreateSpreadsheet, "none");
        QVERIFY(!form.SaveResultsAsExcelFileIsExcelInstalled());
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes[0].text, kNotInstalled);
        QVERIFY(t.platform.shownSpreadsheets.empty());
    }

    void emptyResultsShowNothing() {
        TestWindow t;
        Form1& form = t.start();
        PointerLog pointers(form.state());
        form.PushButton13->click();
        QCOMPARE(t.platform.spreadsheetsCreated, 1);
        QVERIFY(t.platform.shownSpreadsheets.empty());
        QVERIFY(t.platform.shownBoxes.empty());
        QVERIFY(pointers.shown.isEmpty());
    }

    void eachPressMakesItsOwnWorkbook() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        form.PushButton13->click();
        Fill(form.state().ListView2, {"c@d"});
        form.PushButton13->click();
        QCOMPARE(t.platform.spreadsheetsCreated, 4);
        QCOMPARE(t.platform.shownSpreadsheets.size(), size_t(2));
        QCOMPARE(columnA(t.platform.shownSpreadsheets[0]), QStringList({"Result(s)", "a@b"}));
        QCOMPARE(columnA(t.platform.shownSpreadsheets[1]),
                 QStringList({"Result(s)", "a@b", "c@d"}));
    }

    // Clearing or filtering the results meanwhile changes the list, not the workbook.
    void exportsTheResultsAsTheyWereWhenItBegan() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b", "c@d", "e@f"});
        t.platform.inputAnswers = {"@"};
        YieldActions actions(t.platform, form.state());
        actions.atNextYield([&] { form.PushButton23->click(); }).atNextYield([&] {
            form.PushButton2->click();
        });
        form.PushButton13->click();
        QVERIFY(actions.done());
        QCOMPARE(form.state().ListView2.count(), 0);
        QCOMPARE(columnA(t.platform.shownSpreadsheets.at(0)),
                 QStringList({"Result(s)", "a@b", "c@d", "e@f"}));
    }

    // The sheet's last row takes the result before the last; the rest is reported once.
    void moreResultsThanRowsAreReportedOnce() {
        TestWindow t;
        Form1& form = t.start();
        AddressListModel& results = form.state().ListView2;
        results.reserve(SheetCells::kRows, 12 * qsizetype(SheetCells::kRows));
        for (int i = 1; i <= SheetCells::kRows + 1; ++i)
            results.append(QString::number(i) + "@x.org");
        form.PushButton13->click();

        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QVERIFY(t.platform.shownBoxes[0].text.contains("Form1.PushButton13_Click at line 112\r\r"));
        QCOMPARE(t.platform.shownSpreadsheets.size(), size_t(1));
        const SheetCells& sheet = t.platform.shownSpreadsheets.front();
        QCOMPARE(sheet.rowCount(), SheetCells::kRows);
        QCOMPARE(sheet.cell(SheetCells::kRows, 1),
                 QString::number(SheetCells::kRows - 1) + "@x.org");
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
    }
};

QTEST_MAIN(TestSpreadsheetExport)
#include "test_spreadsheet_export.moc"
