#include "WriteBehind.h"

#include <cstring>
#include <new>

int WriteBehind::write(const void* data, int amount, sqlite3_int64 offset) {
    const bool follows = waiting_ > 0 && offset == start_ + waiting_;
    if (follows && waiting_ + amount <= kCapacity) {
        std::memcpy(buffer_.get() + waiting_, data, size_t(amount));
        waiting_ += amount;
        return SQLITE_OK;
    }
    if (const int code = flush(); code != SQLITE_OK)
        return code;
    if (amount >= kCapacity)
        return write_(file_, data, amount, offset);
    if (!buffer_) {
        // Nothing may be thrown into the engine: without the memory the write goes through.
        buffer_.reset(new (std::nothrow) char[kCapacity]);
        if (!buffer_)
            return write_(file_, data, amount, offset);
    }
    std::memcpy(buffer_.get(), data, size_t(amount));
    start_ = offset;
    waiting_ = amount;
    return SQLITE_OK;
}

int WriteBehind::flush() {
    if (waiting_ == 0)
        return SQLITE_OK;
    const int amount = waiting_;
    // A failed write ends the engine's statement; its bytes are not tried again.
    waiting_ = 0;
    return write_(file_, buffer_.get(), amount, start_);
}

int WriteBehind::flushReachedBy(sqlite3_int64 offset, sqlite3_int64 amount) {
    return waiting_ > 0 && offset + amount > start_ ? flush() : SQLITE_OK;
}
