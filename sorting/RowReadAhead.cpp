#include "RowReadAhead.h"

#include <new>
#include <utility>

namespace {
// About a millisecond of the engine's work each: a stop waits for no more.
constexpr qsizetype kPieceRows = 4096;
constexpr size_t kPiecesAhead = 4;
} // namespace

RowReadAhead::RowReadAhead(DatabaseStatement& rows) : statement_(rows) {
    try {
        reader_ = std::thread([this] { readAhead(); });
    } catch (...) {
    }
    try {
        piece_ = next();
    } catch (...) {
        stop();
        throw;
    }
}

RowReadAhead::~RowReadAhead() {
    stop();
}

void RowReadAhead::stop() {
    if (!reader_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(guard_);
        stopping_ = true;
    }
    changed_.notify_all();
    reader_.join();
}

std::unique_ptr<RowReadAhead::Piece> RowReadAhead::read() {
    // Nothing may throw from here into the engine's callers.
    try {
        auto piece = std::make_unique<Piece>();
        try {
            piece->more = piece->rows.fetch(statement_, false, kPieceRows);
        } catch (...) {
            piece->failure = std::current_exception();
        }
        return piece;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void RowReadAhead::readAhead() {
    for (bool more = true; more;) {
        std::unique_ptr<Piece> piece = read();
        more = piece && piece->more;
        std::unique_lock<std::mutex> lock(guard_);
        changed_.wait(lock, [&] { return stopping_ || ready_.size() < kPiecesAhead; });
        if (stopping_)
            return;
        ready_.push_back(std::move(piece));
        changed_.notify_all();
    }
}

std::unique_ptr<RowReadAhead::Piece> RowReadAhead::next() {
    std::unique_ptr<Piece> piece;
    if (reader_.joinable()) {
        std::unique_lock<std::mutex> lock(guard_);
        changed_.wait(lock, [&] { return !ready_.empty(); });
        piece = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
    } else {
        piece = read();
    }
    if (!piece)
        throw std::bad_alloc();
    if (piece->rows.count() == 0) // the step failed before a row was taken
        std::rethrow_exception(piece->failure);
    return piece;
}

bool RowReadAhead::step() {
    if (piece_->rows.step())
        return true;
    if (piece_->failure)
        std::rethrow_exception(std::exchange(piece_->failure, nullptr));
    if (!piece_->more)
        return false;
    piece_ = next();
    return true;
}
