#include "BackgroundClose.h"

#include "FileChores.h"

#include <cstring>
#include <mutex>
#include <sqlite3.h>
#include <unordered_set>

namespace {
using OpenCall = int (*)(const char*, int, int);
using CloseCall = int (*)(int);

OpenCall realOpen = nullptr;
CloseCall realClose = nullptr;
std::mutex guard;
std::unordered_set<int> temporaryFiles;

// The engine names its temporary files so, in the temporary folder.
bool isTemporary(const char* path) {
    const char* name = std::strrchr(path, '/');
    return std::strncmp(name ? name + 1 : path, "etilqs_", 7) == 0;
}

int openFile(const char* path, int flags, int mode) {
    const int file = realOpen(path, flags, mode);
    if (file >= 0 && isTemporary(path)) {
        const std::lock_guard<std::mutex> lock(guard);
        // Nothing may be thrown into the engine: without room to note it, the
        // file is closed in place like any other.
        try {
            temporaryFiles.insert(file);
        } catch (...) {
        }
    }
    return file;
}

int closeFile(int file) {
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (temporaryFiles.erase(file) == 0)
            return realClose(file);
    }
    // The number stays taken until this close, so it cannot name another file meanwhile.
    RunFileChore([file] { realClose(file); });
    return 0;
}
} // namespace

bool CloseTemporaryFilesInBackground(sqlite3_vfs* layer) {
    if (!layer->xSetSystemCall || !layer->xGetSystemCall)
        return false;
    realOpen = reinterpret_cast<OpenCall>(layer->xGetSystemCall(layer, "open"));
    realClose = reinterpret_cast<CloseCall>(layer->xGetSystemCall(layer, "close"));
    if (!realOpen || !realClose)
        return false;
    return layer->xSetSystemCall(layer, "open", reinterpret_cast<sqlite3_syscall_ptr>(openFile)) ==
               SQLITE_OK &&
           layer->xSetSystemCall(layer, "close",
                                 reinterpret_cast<sqlite3_syscall_ptr>(closeFile)) == SQLITE_OK;
}
