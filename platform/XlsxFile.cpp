#include "XlsxFile.h"

#include "Spreadsheet.h"
#include "SystemError.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <utility>
#include <xlsxwriter.h>

namespace {
// The library leaves the system's error of a failed write in errno, so a
// full disk can be named as the platform names it.
AppError writeError(lxw_error error, int systemCode) {
    if (error == LXW_ERROR_MEMORY_MALLOC_FAILED || systemCode == ENOMEM)
        return OutOfMemoryError();
    if (IsDiskFull(systemCode))
        return DiskFullError();
    return AppError(QStringLiteral("The workbook could not be written: ") +
                        QString::fromUtf8(lxw_strerror(error)),
                    75);
}

// errno is cleared first: what the call leaves there is its own.
template <class Call> void checked(Call&& call) {
    errno = 0;
    const lxw_error error = call();
    if (error != LXW_NO_ERROR)
        throw writeError(error, errno);
}

// The library frees a workbook only by closing it, which also writes it.
class Workbook {
public:
    explicit Workbook(const QString& path) {
        lxw_workbook_options options{};
        // Rows go straight to disk in order, so a million of them cost little memory.
        options.constant_memory = LXW_TRUE;
        errno = 0;
        workbook_ = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!workbook_)
            throw writeError(LXW_ERROR_CREATING_XLSX_FILE, errno);
    }
    ~Workbook() {
        if (workbook_)
            workbook_close(workbook_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return workbook_; }
    void close() {
        checked([this] { return workbook_close(std::exchange(workbook_, nullptr)); });
    }

private:
    lxw_workbook* workbook_ = nullptr;
};

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Readers turn "_xHHHH_" into the character HHHH.
bool startsEscape(QStringView text, qsizetype at) {
    return at + 6 < text.size() && text[at] == u'_' && text[at + 1] == u'x' &&
           std::all_of(text.begin() + at + 2, text.begin() + at + 6, isHexDigit) &&
           text[at + 6] == u'_';
}

// Characters the file's XML cannot carry (CR would come back as LF) and the
// underscore that starts an escape-like text are written as "_xHHHH_".
bool needsEscape(QStringView text, qsizetype at) {
    const char16_t c = text[at].unicode();
    return (c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF ||
           startsEscape(text, at);
}

// The library takes C strings, so a NUL would end the cell.
QByteArray cellText(const QString& text) {
    qsizetype at = 0;
    while (at < text.size() && !needsEscape(text, at))
        ++at;
    if (at == text.size())
        return text.toUtf8();
    QString escaped = text.first(at);
    for (; at < text.size(); ++at) {
        if (needsEscape(text, at))
            escaped += QString::asprintf("_x%04X_", unsigned(text[at].unicode()));
        else
            escaped += text[at];
    }
    return escaped.toUtf8();
}

// The library crashes, instead of failing, when memory runs out while it makes
// a workbook or a worksheet: it starts only with room for both to spare.
void requireRoomToStart() {
    constexpr std::size_t kRoom = 4 << 20;
    if (!std::unique_ptr<char[]>(new (std::nothrow) char[kRoom]))
        throw OutOfMemoryError();
}
} // namespace

void WriteXlsx(const SheetCells& sheet, const QString& path) {
    requireRoomToStart();
    Workbook workbook(path);
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook.get(), nullptr);
    if (!worksheet)
        throw OutOfMemoryError();
    for (int column = 1; column <= sheet.columnCount(); ++column) {
        if (sheet.columnWidth(column) > 0)
            checked([&] {
                return worksheet_set_column(worksheet, lxw_col_t(column - 1), lxw_col_t(column - 1),
                                            sheet.columnWidth(column), nullptr);
            });
    }
    const int rows = sheet.rowCount();
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= sheet.columnCount(); ++column) {
            const QString text = sheet.cell(row, column);
            if (!text.isEmpty())
                checked([&] {
                    return worksheet_write_string(worksheet, lxw_row_t(row - 1),
                                                  lxw_col_t(column - 1), cellText(text).constData(),
                                                  nullptr);
                });
        }
    }
    workbook.close();
}
