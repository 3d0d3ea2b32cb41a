#pragma once

#include "FetchedRows.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

class DatabaseStatement;

// The (Email, Domain) rows of a statement, stepped on another thread a few
// thousand ahead of the one that goes through them, which sees them exactly
// as the statement gives them: the row after the last good one throws what
// the statement's step threw there. The statement and its connection belong
// to the other thread until this object is gone; without a thread to be had,
// the rows are read here, a piece at a time.
class RowReadAhead {
public:
    // Starts at the statement's current row.
    explicit RowReadAhead(DatabaseStatement& rows);
    RowReadAhead(const RowReadAhead&) = delete;
    RowReadAhead& operator=(const RowReadAhead&) = delete;
    // Stops the reading and waits for it.
    ~RowReadAhead();

    QByteArrayView utf8(int column) const { return piece_->rows.utf8(column); }
    QStringView text(int column) const { return piece_->rows.text(column); }
    // To the next row: false past the last.
    bool step();

private:
    struct Piece {
        FetchedRows rows;
        bool more = false; // the statement has rows after these
        std::exception_ptr failure;
    };
    std::unique_ptr<Piece> read();
    void readAhead();
    std::unique_ptr<Piece> next();
    void stop();

    DatabaseStatement& statement_;
    std::mutex guard_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Piece>> ready_;
    bool stopping_ = false;
    std::unique_ptr<Piece> piece_;
    std::thread reader_;
};
