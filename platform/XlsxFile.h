#pragma once

#include <QString>

class SheetCells;

// Writes the cells as the only sheet of an .xlsx workbook. Every cell is a
// text string, so nothing in it is ever read as a number or a formula.
// Throws AppError when the file cannot be written.
void WriteXlsx(const SheetCells& sheet, const QString& path);
