#include "FileChores.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
std::mutex guard;
std::condition_variable allDone;
int running = 0;

void finished() {
    const std::lock_guard<std::mutex> lock(guard);
    if (--running == 0)
        allDone.notify_all();
}
} // namespace

void RunFileChore(std::function<void()> chore) {
    {
        const std::lock_guard<std::mutex> lock(guard);
        ++running;
    }
    try {
        std::thread([chore] {
            chore();
            finished();
        }).detach();
    } catch (...) {
        chore();
        finished();
    }
}

void WaitForFileChores() {
    std::unique_lock<std::mutex> lock(guard);
    allDone.wait(lock, [] { return running == 0; });
}
