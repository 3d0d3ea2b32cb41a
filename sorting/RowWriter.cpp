#include "RowWriter.h"

namespace {
QString insertOf(int rows) {
    QString sql = QStringLiteral("INSERT INTO tblEmls VALUES (?, ?, ?)");
    for (int row = 1; row < rows; ++row)
        sql += QStringLiteral(", (?, ?, ?)");
    return sql;
}
} // namespace

RowWriter::RowWriter(DatabaseConnection& connection)
    : loan_(connection), one_(connection.prepare(insertOf(1))),
      group_(connection.prepare(insertOf(kGroup))) {
    for (Batch& batch : batches_)
        batch.resize(kBatch);
}

qsizetype RowWriter::add(QAnyStringView address) {
    DatabaseRow& row = batches_[size_t(filling_)][size_t(waiting_)];
    row.fill(address);
    const qsizetype length = row.email().size();
    if (++waiting_ == kBatch)
        handOver();
    return length;
}

void RowWriter::flush() {
    if (waiting_ > 0)
        handOver();
    writer_.wait();
}

void RowWriter::handOver() {
    const Batch& rows = batches_[size_t(filling_)];
    const int count = waiting_;
    writer_.start([this, &rows, count] { write(rows, count); });
    filling_ = 1 - filling_;
    waiting_ = 0;
}

void RowWriter::write(const Batch& rows, int count) {
    int row = 0;
    for (; row + kGroup <= count; row += kGroup)
        write(group_, &rows[size_t(row)], kGroup);
    for (; row < count; ++row)
        write(one_, &rows[size_t(row)], 1);
}

void RowWriter::write(DatabaseStatement& statement, const DatabaseRow* rows, int count) {
    for (int row = 0; row < count; ++row) {
        statement.bindText(3 * row + 1, rows[row].email());
        statement.bindText(3 * row + 2, rows[row].localPart());
        statement.bindText(3 * row + 3, rows[row].domain());
    }
    statement.step();
    statement.reset();
}
