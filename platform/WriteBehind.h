#pragma once

#include <memory>
#include <mutex>
#include <sqlite3.h>

// Small writes that follow one another in a file, gathered into one system
// call. A sort of millions of rows writes its temporary files a page at a
// time, tens of thousands of calls that cost more than the bytes they carry.
// Waiting bytes are written before anything reads, sizes, truncates or syncs
// the part of the file they belong to, and are lost with the process: only
// for files the engine deletes when it closes them.
class WriteBehind {
public:
    using Write = int (*)(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset);

    // Writes go to `file` through `through`, which answers as the file's xWrite does.
    WriteBehind(sqlite3_file* file, Write through) : file_(file), write_(through) {}

    // Held around every call on the file: the engine's sorting threads take
    // turns with a file.
    std::mutex& guard() { return guard_; }

    // The answer of the file's xWrite, now or for the bytes waiting before these.
    int write(const void* data, int amount, sqlite3_int64 offset);
    // Writes what waits; the answer is that of the write.
    int flush();
    // Writes what waits when [offset, offset + amount) reaches it or beyond, where
    // the file would end after it.
    int flushReachedBy(sqlite3_int64 offset, sqlite3_int64 amount);

private:
    static constexpr int kCapacity = 64 * 1024;

    sqlite3_file* const file_;
    const Write write_;
    std::mutex guard_;
    std::unique_ptr<char[]> buffer_;
    sqlite3_int64 start_ = 0; // offset in the file of the first waiting byte
    int waiting_ = 0;
};
