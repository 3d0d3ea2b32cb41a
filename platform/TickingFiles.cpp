#include "TickingFiles.h"

#include "BackgroundClose.h"
#include "FileChores.h"
#include "WriteBehind.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <sqlite3.h>
#include <string>

namespace {
sqlite3_vfs* base = nullptr;
void (*tickFunction)() = nullptr;
bool (*roomFunction)() = nullptr;

// Our file object, followed in the same allocation by the base layer's.
struct TickingFile {
    sqlite3_file file;
    sqlite3_file* real;
    WriteBehind* pending; // of a temporary sort file, else none
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<TickingFile*>(file)->real;
}

const sqlite3_io_methods& realMethods(sqlite3_file* file) {
    return *real(file)->pMethods;
}

WriteBehind* pending(sqlite3_file* file) {
    return reinterpret_cast<TickingFile*>(file)->pending;
}

constexpr sqlite3_int64 kWholeFile = std::numeric_limits<sqlite3_int64>::max();

// Runs `call` on the base layer's file once the waiting writes that the part
// [offset, offset + amount) of the file depends on are written.
template <class Call>
int afterWaiting(sqlite3_file* file, sqlite3_int64 offset, sqlite3_int64 amount, Call call) {
    WriteBehind* const writes = pending(file);
    if (!writes)
        return call();
    const std::lock_guard<std::mutex> lock(writes->guard());
    const int code = writes->flushReachedBy(offset, amount);
    return code == SQLITE_OK ? call() : code;
}

int fileClose(sqlite3_file* file) {
    // The file is deleted as it closes: what still waits has no reader.
    delete pending(file);
    return realMethods(file).xClose(real(file));
}

int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    tickFunction();
    return afterWaiting(file, offset, amount, [&] {
        return realMethods(file).xRead(real(file), buffer, amount, offset);
    });
}

bool grows(sqlite3_file* file, int amount, sqlite3_int64 offset) {
    sqlite3_int64 size = 0;
    return realMethods(file).xFileSize(real(file), &size) != SQLITE_OK || offset + amount > size;
}

int writeThrough(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    if (!roomFunction() && grows(file, amount, offset))
        return SQLITE_FULL; // what the base layer answers when the disk has no room
    return realMethods(file).xWrite(real(file), buffer, amount, offset);
}

int fileWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    tickFunction();
    WriteBehind* const writes = pending(file);
    if (!writes)
        return writeThrough(file, buffer, amount, offset);
    const std::lock_guard<std::mutex> lock(writes->guard());
    return writes->write(buffer, amount, offset);
}

int fileTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return afterWaiting(file, 0, kWholeFile,
                        [&] { return realMethods(file).xTruncate(real(file), size); });
}

int fileSync(sqlite3_file* file, int flags) {
    return afterWaiting(file, 0, kWholeFile,
                        [&] { return realMethods(file).xSync(real(file), flags); });
}

int fileSize(sqlite3_file* file, sqlite3_int64* size) {
    return afterWaiting(file, 0, kWholeFile,
                        [&] { return realMethods(file).xFileSize(real(file), size); });
}

int fileLock(sqlite3_file* file, int level) {
    return realMethods(file).xLock(real(file), level);
}

int fileUnlock(sqlite3_file* file, int level) {
    return realMethods(file).xUnlock(real(file), level);
}

int fileCheckReservedLock(sqlite3_file* file, int* result) {
    return realMethods(file).xCheckReservedLock(real(file), result);
}

int fileControl(sqlite3_file* file, int operation, void* argument) {
    return realMethods(file).xFileControl(real(file), operation, argument);
}

int fileSectorSize(sqlite3_file* file) {
    return realMethods(file).xSectorSize(real(file));
}

int fileDeviceCharacteristics(sqlite3_file* file) {
    return realMethods(file).xDeviceCharacteristics(real(file));
}

int fileShmMap(sqlite3_file* file, int page, int pageSize, int extend, void volatile** map) {
    if (realMethods(file).iVersion < 2)
        return SQLITE_IOERR_SHMMAP;
    return realMethods(file).xShmMap(real(file), page, pageSize, extend, map);
}

int fileShmLock(sqlite3_file* file, int offset, int n, int flags) {
    if (realMethods(file).iVersion < 2)
        return SQLITE_IOERR_SHMLOCK;
    return realMethods(file).xShmLock(real(file), offset, n, flags);
}

void fileShmBarrier(sqlite3_file* file) {
    if (realMethods(file).iVersion >= 2)
        realMethods(file).xShmBarrier(real(file));
}

int fileShmUnmap(sqlite3_file* file, int deleteFlag) {
    if (realMethods(file).iVersion < 2)
        return SQLITE_OK;
    return realMethods(file).xShmUnmap(real(file), deleteFlag);
}

int fileFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** pointer) {
    if (realMethods(file).iVersion < 3) {
        *pointer = nullptr;
        return SQLITE_OK;
    }
    return afterWaiting(file, offset, amount, [&] {
        return realMethods(file).xFetch(real(file), offset, amount, pointer);
    });
}

int fileUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* pointer) {
    if (realMethods(file).iVersion < 3)
        return SQLITE_OK;
    return realMethods(file).xUnfetch(real(file), offset, pointer);
}

const sqlite3_io_methods methods = {3,
                                    fileClose,
                                    fileRead,
                                    fileWrite,
                                    fileTruncate,
                                    fileSync,
                                    fileSize,
                                    fileLock,
                                    fileUnlock,
                                    fileCheckReservedLock,
                                    fileControl,
                                    fileSectorSize,
                                    fileDeviceCharacteristics,
                                    fileShmMap,
                                    fileShmLock,
                                    fileShmBarrier,
                                    fileShmUnmap,
                                    fileFetch,
                                    fileUnfetch};

int layerOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* ticking = reinterpret_cast<TickingFile*>(file);
    ticking->real = reinterpret_cast<sqlite3_file*>(ticking + 1);
    ticking->pending = nullptr;
    const int code = base->xOpen(base, name, ticking->real, flags, outFlags);
    // Without methods of its own the file is not closed again, so neither is ours.
    file->pMethods = ticking->real->pMethods ? &methods : nullptr;
    // A temporary sort file; without the memory its writes go through one by one.
    const int sortFile = SQLITE_OPEN_TEMP_JOURNAL | SQLITE_OPEN_DELETEONCLOSE;
    if (code == SQLITE_OK && file->pMethods && (flags & sortFile) == sortFile)
        ticking->pending = new (std::nothrow) WriteBehind(file, writeThrough);
    return code;
}

bool isJournal(const char* name) {
    static const char suffix[] = "-journal";
    const size_t length = std::strlen(name);
    return length >= sizeof suffix - 1 &&
           std::strcmp(name + length - (sizeof suffix - 1), suffix) == 0;
}

// Deleting a journal of millions of rows holds the committing call a tenth of
// a second and more. Renamed, it stops being a journal at once, as it would
// deleted, and another thread deletes it. One left over by a program that was
// ended is replaced by the next.
int layerDelete(sqlite3_vfs*, const char* name, int syncFolder) {
    // Nothing may be thrown into the engine: without memory or a thread to
    // spare, the journal is deleted here.
    try {
        if (!syncFolder && isJournal(name)) {
            std::string retired = std::string(name) + "-retired";
            if (std::rename(name, retired.c_str()) == 0) {
                // A retired file left behind is harmless: the next commit's rename replaces it.
                RunFileChore([retired] { std::remove(retired.c_str()); });
                return SQLITE_OK;
            }
        }
    } catch (...) {
    }
    return base->xDelete(base, name, syncFolder);
}

sqlite3_vfs* makeLayer(void (*tick)(), bool (*roomToGrow)()) {
    base = sqlite3_vfs_find(nullptr);
    if (!base)
        return nullptr;
    tickFunction = tick;
    roomFunction = roomToGrow;
    CloseTemporaryFilesInBackground(base);
    static sqlite3_vfs layer;
    // Everything but opening and deleting a file is the base layer's, which does not tell
    // its own object from a copy.
    layer = *base;
    layer.pNext = nullptr;
    layer.zName = "ambervale-ticking";
    layer.szOsFile = int(sizeof(TickingFile)) + base->szOsFile;
    layer.xOpen = layerOpen;
    layer.xDelete = layerDelete;
    return sqlite3_vfs_register(&layer, 0) == SQLITE_OK ? &layer : nullptr;
}
} // namespace

const char* TickingFileLayer(void (*tick)(), bool (*roomToGrow)()) {
    static sqlite3_vfs* const layer = makeLayer(tick, roomToGrow);
    return layer ? layer->zName : nullptr;
}
