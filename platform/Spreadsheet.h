#pragma once

#include <QString>
#include <vector>

// The cells of one worksheet, all of them text. Rows and columns count
// from 1, as the spreadsheet program numbers them.
class SheetCells {
public:
    static constexpr int kRows = 1048576;
    static constexpr int kColumns = 16384;
    static constexpr int kLongestText = 32767;

    // Throws AppError for a cell outside the sheet or a text too long for a cell.
    void setCell(int row, int column, const QString& text);
    // Empty for a cell that was never set.
    QString cell(int row, int column) const;
    // The last row and column that hold a set cell.
    int rowCount() const;
    int columnCount() const { return int(columns_.size()); }

    // Fits the column to the longest text it holds now.
    void autoFitColumn(int column);
    void autoFitAllColumns();
    // In characters of the sheet's default font; 0 leaves the default width.
    double columnWidth(int column) const;

private:
    std::vector<std::vector<QString>> columns_;
    std::vector<double> widths_;
};

// A new workbook of the desktop's spreadsheet program, filled through its
// active sheet and then handed over for the user to keep or discard.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;

    SheetCells activeSheet;

    // Opens the workbook in the spreadsheet program as a new, unsaved
    // document; from then on it belongs to the user.
    virtual void show() = 0;
};
