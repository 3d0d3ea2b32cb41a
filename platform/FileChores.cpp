#include "FileChores.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
struct Chores {
    std::mutex guard;
    std::condition_variable allDone;
    int running = 0;
};

// Never destroyed: a chore may still be finishing on its thread while the
// program exits, and must not signal a condition that exit has torn down.
Chores& chores() {
    static Chores* const all = new Chores;
    return *all;
}

void finished() {
    Chores& all = chores();
    const std::lock_guard<std::mutex> lock(all.guard);
    if (--all.running == 0)
        all.allDone.notify_all();
}
} // namespace

void RunFileChore(std::function<void()> chore) {
    {
        Chores& all = chores();
        const std::lock_guard<std::mutex> lock(all.guard);
        ++all.running;
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
    Chores& all = chores();
    std::unique_lock<std::mutex> lock(all.guard);
    all.allDone.wait(lock, [&all] { return all.running == 0; });
}
