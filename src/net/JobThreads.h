#pragma once
// The short-lived threads the worker starts, one per job, kept on a list so that the
// program's end and the tests can wait for every job instead of leaving threads
// running into process exit.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace kivtal {

class JobThreads {
public:
    JobThreads() = default;
    JobThreads(const JobThreads&) = delete;
    JobThreads& operator=(const JobThreads&) = delete;
    ~JobThreads() { waitAll(); }

    // Runs `body` on a new thread. An exception leaving it is reported on the console
    // and ends only that job. False when no thread could be created (body not run).
    bool start(std::function<void()> body);
    // Blocks until no job runs, then joins the finished threads.
    void waitAll();
    std::size_t running() const;

private:
    struct Entry {
        std::thread thread;
        bool done = false;
    };
    void finish(std::list<Entry>::iterator entry);
    void joinFinished();  // mutex_ held

    mutable std::mutex mutex_;
    std::condition_variable allDone_;
    std::list<Entry> entries_;
    std::size_t running_ = 0;
};

}  // namespace kivtal
