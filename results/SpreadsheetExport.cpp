#include "SpreadsheetExport.h"

#include "ErrorReport.h"
#include "FormState.h"
#include "Platform.h"
#include "Spreadsheet.h"

namespace {
void tell(Platform& platform, const QString& text) {
    platform.messageBox(text, MessageButtons::Ok, MessageIcon::None);
}
} // namespace

bool SaveResultsAsExcelFileIsExcelInstalled(Platform& platform) {
    try {
        platform.createSpreadsheet();
        return true;
    } catch (const AppError&) {
        tell(platform,
             QStringLiteral("Excel is not installed on this computer. You need to have it "
                            "installed to use this software without error."));
        return false;
    }
}

void SaveResultsAsExcelFile(FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton13_Click"));
    bool installed = false;
    // When the test itself failed there is nothing to say about the program.
    if (!report.run(100, [&] { installed = SaveResultsAsExcelFileIsExcelInstalled(platform); }))
        return;
    if (!installed) {
        report.run(102, [&] {
            tell(platform, QStringLiteral("Excel is not installed on this computer. You need to "
                                          "have it installed to use this feature."));
        });
        return;
    }
    const AddressStore entries = form.ListView2.snapshot();
    if (entries.isEmpty())
        return;
    form.setMousePointer(MousePointer::Busy);

    std::unique_ptr<Spreadsheet> workbook;
    // Without a workbook every later step would fail in turn: one report is enough.
    if (report.run(108, [&] { workbook = platform.createSpreadsheet(); })) {
        SheetCells& sheet = workbook->activeSheet;
        FrameClock& clock = platform.frameClock();
        const auto yieldPoint = [&] {
            if (clock.due())
                platform.yield();
        };
        report.run(110, [&] {
            yieldPoint();
            sheet.setCell(1, 1, form.ListView2.header());
            sheet.autoFitColumn(1);
        });
        int row = 2;
        for (qsizetype p = 0; p < entries.count(); ++p, ++row) {
            yieldPoint();
            yieldPoint();
            // Past the sheet's last row, or out of memory, every later row fails alike.
            if (!report.run(112, [&] { sheet.setCell(row, 1, entries.text(p)); }) &&
                (row > SheetCells::kRows || report.ranOutOfMemory()))
                break;
        }
        // A workbook holding part of the results would pass for all of them.
        if (!report.ranOutOfMemory()) {
            sheet.autoFitAllColumns();
            report.run(116, [&] { workbook->show(); });
        }
    }
    form.setMousePointer(MousePointer::Default);
}
