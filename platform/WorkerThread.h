#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

// One other thread that runs the jobs handed to it, one at a time and in
// order, while the thread that handed them goes on. What a job throws is
// thrown by the next start() or wait(). Without a thread to be had, a job
// runs in place.
class WorkerThread {
public:
    WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Waits for the job in hand, whatever it throws.
    ~WorkerThread();

    // Waits for the job before (throwing what it threw), then hands this one over.
    void start(std::function<void()> job);
    // Returns once the job in hand has run; throws what it threw.
    void wait();

private:
    void run();
    void finish();

    std::mutex guard_;
    std::condition_variable changed_;
    std::function<void()> job_;
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};
