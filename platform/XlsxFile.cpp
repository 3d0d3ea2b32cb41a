#include "XlsxFile.h"

#include "AppError.h"
#include "Spreadsheet.h"

#include <QFile>
#include <xlsxwriter.h>

namespace {
AppError writeError(lxw_error error) {
    return AppError(QStringLiteral("The workbook could not be written: ") +
                        QString::fromUtf8(lxw_strerror(error)),
                    75);
}

// The library frees a workbook only by closing it, which also writes it.
class Workbook {
public:
    explicit Workbook(const QString& path) {
        lxw_workbook_options options{};
        // Rows go straight to disk in order, so a million of them cost little memory.
        options.constant_memory = LXW_TRUE;
        workbook_ = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!workbook_)
            throw writeError(LXW_ERROR_CREATING_XLSX_FILE);
    }
    ~Workbook() {
        if (workbook_)
            workbook_close(workbook_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return workbook_; }
    void close() {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        if (error != LXW_NO_ERROR)
            throw writeError(error);
    }

private:
    lxw_workbook* workbook_ = nullptr;
};

void check(lxw_error error) {
    if (error != LXW_NO_ERROR)
        throw writeError(error);
}
} // namespace

void WriteXlsx(const SheetCells& sheet, const QString& path) {
    Workbook workbook(path);
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook.get(), nullptr);
    if (!worksheet)
        throw writeError(LXW_ERROR_MEMORY_MALLOC_FAILED);
    for (int column = 1; column <= sheet.columnCount(); ++column) {
        if (sheet.columnWidth(column) > 0)
            check(worksheet_set_column(worksheet, lxw_col_t(column - 1), lxw_col_t(column - 1),
                                       sheet.columnWidth(column), nullptr));
    }
    const int rows = sheet.rowCount();
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= sheet.columnCount(); ++column) {
            const QString text = sheet.cell(row, column);
            if (!text.isEmpty())
                check(worksheet_write_string(worksheet, lxw_row_t(row - 1), lxw_col_t(column - 1),
                                             text.toUtf8().constData(), nullptr));
        }
    }
    workbook.close();
}
