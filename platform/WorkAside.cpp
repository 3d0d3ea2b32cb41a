#include "WorkAside.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

bool RunAside(const std::function<void()>& work, const std::function<void()>& meanwhile) {
    std::mutex guard;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr failure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            std::exception_ptr thrown;
            try {
                work();
            } catch (...) {
                thrown = std::current_exception();
            }
            const std::lock_guard<std::mutex> lock(guard);
            failure = thrown;
            done = true;
            finished.notify_one();
        });
    } catch (...) {
        return false;
    }
    std::exception_ptr turnFailure;
    std::unique_lock<std::mutex> lock(guard);
    do {
        lock.unlock();
        try {
            meanwhile();
        } catch (...) {
            // The work uses this call's objects: it ends first.
            turnFailure = std::current_exception();
            lock.lock();
            finished.wait(lock, [&] { return done; });
            break;
        }
        lock.lock();
    } while (!finished.wait_for(lock, std::chrono::milliseconds(1), [&] { return done; }));
    lock.unlock();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    if (turnFailure)
        std::rethrow_exception(turnFailure);
    return true;
}
