#include "BatchRun.h"

#include "BatchRequest.h"
#include "DataFolder.h"
#include "ErrorReport.h"
#include "FileChores.h"
#include "FormState.h"
#include "HeadlessPlatform.h"
#include "ListFile.h"
#include "OptionHandlers.h"
#include "ResultFilters.h"
#include "ResultLines.h"
#include "Sorting.h"
#include "SortingDB.h"
#include "Spreadsheet.h"
#include "SpreadsheetExport.h"
#include "TextFileExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
class Batch {
public:
    explicit Batch(const BatchRequest& request)
        : request_(request), platform_({QCoreApplication::applicationDirPath(), folder_.path(),
                                        folder_.path() + QStringLiteral("/Quillmere.conf")},
                                       [this](const QString& line) { tell(line); }),
          report_(platform_, QStringLiteral("Batch"), QStringLiteral("RunBatch")) {}
    // The engine's files may still be going away on other threads; the
    // temporary folder is removed once they have.
    ~Batch() { WaitForFileChores(); }

    int run() {
        if (!folder_.isValid()) {
            tell(QStringLiteral("No temporary folder: ") + folder_.errorString());
            return 1;
        }
        for (const QString& file : request_.files)
            read(file);
        // Results of a sort that went wrong are not complete: nothing is written.
        if (sort())
            write();
        return problems_ == 0 ? 0 : 1;
    }

private:
    void tell(const QString& line) {
        ++problems_;
        const QString subject = subject_.isEmpty() ? QString() : subject_ + QStringLiteral(": ");
        std::fprintf(stderr, "%s: %s%s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(subject), qPrintable(line));
    }

    // Each file as if chosen alone in the load dialog: what it holds is
    // appended, what goes wrong is told under its name.
    void read(const QString& file) {
        subject_ = file;
        report_.run(100, [&] {
            if (file != QStringLiteral("-")) {
                LoadListFile(form_.ListView1, platform_, file);
                return;
            }
            QFile input;
            if (!input.open(0, QIODevice::ReadOnly))
                throw AppError(input.errorString());
            AppendListText(input, form_.ListView1);
        });
        subject_.clear();
    }

    bool sort() {
        if (form_.ListView1.isEmpty())
            return true;
        const int before = problems_;
        // Through the options' own rules, as the window sets them; what they store goes to
        // this run's settings file.
        const bool optionsSet = report_.run(108, [&] {
            OptionHandlers options(form_, platform_);
            options.setCheck5(request_.removeDuplicates);
            options.setCheck1(request_.uniqueDomains);
            if (request_.perDomain) {
                options.setCheck2(true);
                options.setText1(*request_.perDomain);
            }
        });
        if (!optionsSet)
            return false;
        if (request_.method == BatchRequest::Method::Database) {
            // A working database of this run's own, from the same template as the window's.
            const QString blank = platform_.programFolder() + QStringLiteral("/dbBlank.mdb");
            subject_ = blank;
            const bool ready = report_.run(102, [&] {
                QDir().mkpath(DataFolder(platform_));
                platform_.copyFile(blank, DataFolder(platform_) + QStringLiteral("/dbData.mdb"));
            });
            subject_.clear();
            if (ready)
                SortingDB(form_, platform_);
        } else {
            SortingText(form_, platform_);
        }
        for (const QString& text : request_.removeContaining)
            RemoveResultsContaining(form_.ListView2, text);
        for (const QString& text : request_.keepContaining)
            RemoveResultsNotContaining(form_.ListView2, text);
        return problems_ == before;
    }

    void write() {
        if (!request_.textFile.isEmpty()) {
            subject_ = request_.textFile;
            SaveListviewProperlySpaced(form_.ListView2, request_.textFile, platform_);
        }
        if (!request_.workbook.isEmpty()) {
            subject_ = request_.workbook;
            platform_.setWorkbookFile(request_.workbook);
            writeWorkbook();
        }
        subject_.clear();
        if (request_.textFile.isEmpty() && request_.workbook.isEmpty())
            report_.run(104, [&] { WriteResultLines(form_.ListView2, stdout); });
    }

    void writeWorkbook() {
        // The window would fill the sheet to its last row and report the rest.
        if (form_.ListView2.count() >= SheetCells::kRows) {
            tell(QStringLiteral("%1 results do not fit in a sheet of %2 rows")
                     .arg(form_.ListView2.count())
                     .arg(SheetCells::kRows));
            return;
        }
        if (!form_.ListView2.isEmpty()) {
            SaveResultsAsExcelFile(form_, platform_);
            return;
        }
        // The button makes no workbook of no results; a script needs one all
        // the same, or it would take an old file for this run's.
        report_.run(106, [&] {
            const std::unique_ptr<Spreadsheet> workbook = platform_.createSpreadsheet();
            workbook->activeSheet.setCell(1, 1, form_.ListView2.header());
            workbook->activeSheet.autoFitAllColumns();
            workbook->show();
        });
    }

    const BatchRequest& request_;
    QTemporaryDir folder_;
    HeadlessPlatform platform_;
    ErrorReport report_;
    FormState form_;
    QString subject_; // what the lines told are about: a file, or nothing
    int problems_ = 0;
};
} // namespace

int RunBatch(const BatchRequest& request) {
    return Batch(request).run();
}
