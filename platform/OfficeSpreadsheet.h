#pragma once

#include "Spreadsheet.h"

// A workbook for LibreOffice Calc: shown by writing it to a temporary .xlsx
// file and having the program open a new, untitled document from it.
class OfficeSpreadsheet : public Spreadsheet {
public:
    explicit OfficeSpreadsheet(QString program) : program_(std::move(program)) {}

    // The spreadsheet program on the search path, or empty text.
    static QString findProgram();

    void show() override;

private:
    QString program_;
};
