#pragma once
// The network worker: one thread with its own request queue and the synchronisation
// timer. Windows post requests; the worker starts each job on a fresh thread and
// returns to its queue at once, so it never waits on the service or the store.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "model/Clock.h"
#include "net/JobContext.h"
#include "net/JobThreads.h"
#include "net/ResultPoster.h"
#include "net/ServiceForms.h"
#include "net/WorkerRequest.h"
#include "net/WorkerTimer.h"

namespace kivtal {

struct WorkerSetup {
    NetUtil& net;
    LocalStore& store;
    LoginUser& user;  // handed to every job
    ServiceConfig config;
    std::string downloadDir;  // ends with '/'
    ResultPoster poster;      // thread-safe; empty drops every result
    WorkerJobs jobs;
    const Clock* clock = nullptr;  // the timer's clock; nullptr follows CurrentClock()
};

class SyncThread {
public:
    // Starts the worker thread at once.
    explicit SyncThread(WorkerSetup setup);
    SyncThread(const SyncThread&) = delete;
    SyncThread& operator=(const SyncThread&) = delete;
    ~SyncThread();  // stop()

    // Any thread. Dropped once stop() has begun.
    void post(WorkerRequest request);
    // Results go to the window held here when a job posts, not when it started.
    void setResultWindow(WindowHandle window) { resultWindow_.store(window); }
    WindowHandle resultWindow() const { return resultWindow_.load(); }

    // Dispatches the requests already queued, ends the loop, kills the timer and waits
    // for every job still running. Call it from one thread.
    void stop();
    // Blocks until no job runs. Jobs started meanwhile are waited for too.
    void waitForJobs() { jobThreads_.waitAll(); }
    std::size_t runningJobs() const { return jobThreads_.running(); }

    // A sync run or an immediate commit is in flight.
    bool busy() const { return busyJobs_.load() != 0; }
    bool uploadRunning() const { return uploadRunning_.load(); }
    std::uint32_t syncInterval() const { return interval_.load(); }
    // The period the timer runs at, nullopt when no timer runs.
    std::optional<std::int64_t> timerPeriodMs() const;

    // The timer's clock has moved (a test clock): look at the timer now.
    void pollTimers();
    // Blocks until every request posted so far, and a tick due at the last
    // pollTimers(), has been dispatched (jobs may still run).
    void waitUntilIdle();

private:
    enum class HeldFlag { None, Busy, Upload };

    void loop();
    void checkTimer();  // mutex_ held
    void waitForWork(std::unique_lock<std::mutex>& lock);
    void dispatch(const WorkerRequest& request);

    void onSync(std::optional<int> reason);
    void onStartTimer();
    void onUpload();
    void openPage(WebPage page);
    void restartTimer(std::uint32_t interval);
    bool claimSyncRun();

    template <class Record, class... Extra>
    void startWithRecord(const WorkerRequest& request, HeldFlag flag,
                         const std::function<void(JobContext&, Record, Extra...)>& job, Extra... extra);
    void startPlain(const std::function<void(JobContext&)>& job) { launch(job, HeldFlag::None); }
    // Runs `body` on a job thread; the flag already taken is released when it returns.
    void launch(std::function<void(JobContext&)> body, HeldFlag held);
    void releaseFlag(HeldFlag flag);
    void postResult(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
    std::int64_t nowMs() const;

    NetUtil& net_;
    LocalStore& store_;
    LoginUser& user_;
    const ServiceConfig config_;
    const std::string downloadDir_;
    const ResultPoster poster_;
    const WorkerJobs jobs_;
    const Clock* const clock_;

    std::atomic<WindowHandle> resultWindow_{0};
    // Jobs holding the busy flag. Only the worker thread raises it, and a sync run is
    // claimed by raising it from 0, so two sync requests never start two runs.
    std::atomic<int> busyJobs_{0};
    std::atomic<bool> uploadRunning_{false};
    std::atomic<std::uint32_t> interval_{kInitialSyncInterval};

    mutable std::mutex mutex_;  // guards the members below
    std::condition_variable work_;
    std::condition_variable idle_;
    std::deque<WorkerRequest> queue_;
    WorkerTimer timer_;
    bool dispatching_ = false;
    bool pollRequested_ = false;
    bool stopping_ = false;
    bool exited_ = false;

    JobThreads jobThreads_;
    std::thread thread_;  // last: starts after everything above exists
};

}  // namespace kivtal
