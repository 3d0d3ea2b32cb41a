#pragma once

#include "Database.h"

#include <QString>

class ErrorReport;
class Platform;

// Whether the database holds tblEmls as the database method needs it: three
// columns, Email first and Domain third.
bool HoldsWorkTable(DatabaseConnection& connection);

// Whether a failure of a statement on the working database shows that the
// file cannot serve any run: no file, a folder, no database, a damaged one,
// or one without the work table.
bool CannotServe(const DatabaseError& error, DatabaseConnection& connection);

// A working database that failed a run at a numbered statement of SortingDB.
struct UnfitDatabase {
    int statement;
    DatabaseError error;
};

// Puts a fresh copy of dbBlank.mdb (beside the program) in the place of a
// working database that could not serve a run; a file in that place is set
// aside beside it under a new name, never deleted. Shows one report, naming
// the statement where the run failed and what was done. Answers whether a
// run can now try again.
bool ReplaceUnfitDatabase(Platform& platform, ErrorReport& report, const UnfitDatabase& unfit);
