#pragma once

class FormState;
class Platform;

// Can the spreadsheet program be started? When it cannot, says so.
bool SaveResultsAsExcelFileIsExcelInstalled(Platform& platform);

// "Save Results As Excel File": hands the results list, as it is when the
// command begins, to the spreadsheet program as a new, unsaved workbook:
// "Result(s)" in A1, the results as text from A2 down, column A fitted.
void SaveResultsAsExcelFile(FormState& form, Platform& platform);
