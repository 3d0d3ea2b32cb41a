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
    : one_(connection.prepare(insertOf(1))), group_(connection.prepare(insertOf(kGroup))) {}

qsizetype RowWriter::add(QAnyStringView address) {
    DatabaseRow& row = rows_[size_t(waiting_)];
    row.fill(address);
    ++waiting_;
    if (waiting_ == kGroup)
        flush();
    return row.email().size();
}

void RowWriter::flush() {
    const int count = waiting_;
    waiting_ = 0;
    if (count == kGroup) {
        write(*group_, 0, count);
    } else {
        for (int row = 0; row < count; ++row)
            write(*one_, row, 1);
    }
}

void RowWriter::write(DatabaseStatement& statement, int first, int count) {
    for (int row = 0; row < count; ++row) {
        const DatabaseRow& values = rows_[size_t(first + row)];
        statement.bindText(3 * row + 1, values.email());
        statement.bindText(3 * row + 2, values.localPart());
        statement.bindText(3 * row + 3, values.domain());
    }
    statement.step();
    statement.reset();
}
