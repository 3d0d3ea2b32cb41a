#include "WorkerThread.h"

#include <utility>

WorkerThread::WorkerThread() {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (...) {
    }
}

WorkerThread::~WorkerThread() {
    if (!thread_.joinable())
        return;
    finish();
    {
        const std::lock_guard<std::mutex> lock(guard_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void WorkerThread::start(std::function<void()> job) {
    wait();
    if (!thread_.joinable()) {
        job();
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(guard_);
        job_ = std::move(job);
        busy_ = true;
    }
    changed_.notify_all();
}

void WorkerThread::wait() {
    finish();
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
}

void WorkerThread::finish() {
    std::unique_lock<std::mutex> lock(guard_);
    changed_.wait(lock, [this] { return !busy_; });
}

void WorkerThread::run() {
    std::unique_lock<std::mutex> lock(guard_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_)
            return;
        const std::function<void()> job = std::move(job_);
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        busy_ = false;
        changed_.notify_all();
    }
}
