#include "Spreadsheet.h"

#include "AppError.h"

#include <algorithm>

namespace {
AppError outsideTheSheet() {
    return AppError(QStringLiteral("Application-defined or object-defined error"), 1004);
}

// Room for the text in the default font: most characters of an address are
// narrower than the digit the width unit is based on, capitals and "@" are
// wider, so a little more than one unit per character, plus the margins.
double fittedWidth(QStringView text) {
    qsizetype characters = 0;
    for (QChar c : text)
        characters += c.isLowSurrogate() ? 0 : 1;
    return characters == 0 ? 0 : double(characters) * 1.1 + 1;
}
} // namespace

void SheetCells::setCell(int row, int column, const QString& text) {
    if (row < 1 || row > kRows || column < 1 || column > kColumns || text.size() > kLongestText)
        throw outsideTheSheet();
    if (size_t(column) > columns_.size()) {
        columns_.resize(size_t(column));
        widths_.resize(size_t(column));
    }
    std::vector<QString>& cells = columns_[size_t(column - 1)];
    if (size_t(row) > cells.size())
        cells.resize(size_t(row));
    cells[size_t(row - 1)] = text;
}

QString SheetCells::cell(int row, int column) const {
    if (column < 1 || size_t(column) > columns_.size())
        return {};
    const std::vector<QString>& cells = columns_[size_t(column - 1)];
    return row >= 1 && size_t(row) <= cells.size() ? cells[size_t(row - 1)] : QString();
}

int SheetCells::rowCount() const {
    size_t rows = 0;
    for (const std::vector<QString>& cells : columns_)
        rows = std::max(rows, cells.size());
    return int(rows);
}

void SheetCells::autoFitColumn(int column) {
    if (column < 1 || size_t(column) > columns_.size())
        return;
    double width = 0;
    for (const QString& text : columns_[size_t(column - 1)])
        width = std::max(width, fittedWidth(text));
    widths_[size_t(column - 1)] = width;
}

void SheetCells::autoFitAllColumns() {
    for (int column = 1; column <= columnCount(); ++column)
        autoFitColumn(column);
}

double SheetCells::columnWidth(int column) const {
    return column >= 1 && size_t(column) <= widths_.size() ? widths_[size_t(column - 1)] : 0;
}
