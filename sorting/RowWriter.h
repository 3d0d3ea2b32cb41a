#pragma once

#include "Database.h"
#include "DatabaseRows.h"
#include "WorkerThread.h"

#include <array>
#include <vector>

// Writes rows of tblEmls in groups: one statement that inserts many rows
// costs the engine far less than one statement for each. The engine writes
// on another thread a batch of groups while the next batch is made here, the
// connection lent to it meanwhile. A row waits until its batch is full or
// until flush(); the addresses it was made from must stay unchanged until
// then. Failures throw, from the add() or flush() after them; the rows of
// the failed statement are not written, nor any after them.
class RowWriter {
public:
    static constexpr int kGroup = 16;
    static constexpr int kBatch = 64 * kGroup;

    explicit RowWriter(DatabaseConnection& connection);

    // Answers the length of the stored address.
    qsizetype add(QAnyStringView address);
    // Returns once every row added is written.
    void flush();

private:
    using Batch = std::vector<DatabaseRow>;
    void handOver();
    void write(const Batch& rows, int count);
    void write(DatabaseStatement& statement, const DatabaseRow* rows, int count);

    DatabaseConnection::Loan loan_;
    DatabaseStatement one_;
    DatabaseStatement group_;
    std::array<Batch, 2> batches_;
    int filling_ = 0;     // the batch rows are added to
    int waiting_ = 0;     // rows in it
    WorkerThread writer_; // last: it stops first
};
