#pragma once

#include "Database.h"
#include "DatabaseRows.h"

#include <array>

// Writes rows of tblEmls in groups: one statement that inserts many rows
// costs the engine far less than one statement for each. A row waits until
// its group is full or until flush(); the addresses it was made from must
// stay unchanged until then. Failures throw, and the rows of the failed
// statement are not written.
class RowWriter {
public:
    static constexpr int kGroup = 256;

    explicit RowWriter(DatabaseConnection& connection);

    // Answers the length of the stored address.
    qsizetype add(QAnyStringView address);
    void flush();

private:
    void write(DatabaseStatement& statement, int first, int count);

    std::unique_ptr<DatabaseStatement> one_;
    std::unique_ptr<DatabaseStatement> group_;
    std::array<DatabaseRow, kGroup> rows_;
    int waiting_ = 0;
};
