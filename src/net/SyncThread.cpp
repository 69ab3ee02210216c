#include "net/SyncThread.h"

#include <chrono>
#include <string>
#include <utility>

#include "model/Diagnostics.h"
#include "net/LoginUser.h"
#include "net/WorkerMessages.h"

namespace kivtal {

SyncThread::SyncThread(WorkerSetup setup)
    : net_(setup.net),
      store_(setup.store),
      user_(setup.user),
      config_(std::move(setup.config)),
      downloadDir_(std::move(setup.downloadDir)),
      poster_(std::move(setup.poster)),
      jobs_(std::move(setup.jobs)),
      clock_(setup.clock),
      thread_([this] { loop(); }) {}

SyncThread::~SyncThread() { stop(); }

void SyncThread::post(WorkerRequest request) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) return;
        queue_.push_back(std::move(request));
    }
    work_.notify_one();
}

void SyncThread::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    work_.notify_one();
    if (thread_.joinable()) thread_.join();
    jobThreads_.waitAll();
}

std::optional<std::int64_t> SyncThread::timerPeriodMs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!timer_.armed()) return std::nullopt;
    return timer_.periodMs();
}

void SyncThread::pollTimers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pollRequested_ = true;
    }
    work_.notify_one();
}

void SyncThread::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return exited_ || (queue_.empty() && !dispatching_ && !pollRequested_); });
}

std::int64_t SyncThread::nowMs() const { return (clock_ != nullptr ? *clock_ : CurrentClock()).steadyMilliseconds(); }

// ---- the loop -------------------------------------------------------------------

void SyncThread::loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (!stopping_) checkTimer();
        if (queue_.empty()) {
            if (stopping_) break;
            idle_.notify_all();
            waitForWork(lock);
            continue;
        }
        WorkerRequest request = std::move(queue_.front());
        queue_.pop_front();
        dispatching_ = true;
        lock.unlock();
        dispatch(request);
        lock.lock();
        dispatching_ = false;
    }
    timer_.kill();
    exited_ = true;
    idle_.notify_all();
}

void SyncThread::checkTimer() {
    pollRequested_ = false;
    if (!timer_.fireIfDue(nowMs())) return;
    queue_.push_back(WorkerRequest::Sync(SYNC_BY_DEFAULT));
    DebugLine("OnTimer:next_sync_gap:" + std::to_string(interval_.load()));
}

void SyncThread::waitForWork(std::unique_lock<std::mutex>& lock) {
    const auto wake = [this] { return stopping_ || pollRequested_ || !queue_.empty(); };
    if (const std::optional<std::int64_t> due = timer_.msUntilDue(nowMs()))
        work_.wait_for(lock, std::chrono::milliseconds(*due), wake);
    else work_.wait(lock, wake);
}

void SyncThread::dispatch(const WorkerRequest& request) {
    switch (request.message) {
        case WM_REQ_SYNC: return onSync(request.reason);
        case WM_REQ_START_TIMER: return onStartTimer();
        case WM_REQ_LOGIN: return startPlain(jobs_.login);
        case WM_REQ_CHECK_VER: return startPlain(jobs_.checkVersion);
        case WM_REQ_LOGOUT: return startPlain(jobs_.logout);
        case WM_REQ_ADV: return startPlain(jobs_.ads);
        case WM_REQ_GET_NEWS: return startPlain(jobs_.news);
        case WM_REQ_SECRETARY_UPLOAD: return onUpload();
        case WM_REQ_OPEN_REGISTER: return openPage(WebPage::Register);
        case WM_REQ_OPEN_PASSWORD: return openPage(WebPage::Password);
        case WM_REQ_OPEN_ABOUT: return openPage(WebPage::About);
        case WM_REQ_OPEN_CHARGE: return openPage(WebPage::Charge);
        case WM_REQ_OPEN_SAFE: return openPage(WebPage::Safe);
        case WM_REQ_OPEN_HOME:
        case WM_REQ_OPEN_HOME_2: return openPage(WebPage::Home);
        case WM_REQ_SYNC_ALARM: return startWithRecord(request, HeldFlag::Busy, jobs_.commitReminderAdd);
        case WM_REQ_SYNC_MODIFY_ALARM: return startWithRecord(request, HeldFlag::Busy, jobs_.commitReminderChange);
        case WM_REQ_SYNC_USER_INFO: return startWithRecord(request, HeldFlag::Busy, jobs_.commitProfile, 1);
        case WM_REQ_SYNC_MODIFY_USER_INFO: return startWithRecord(request, HeldFlag::Busy, jobs_.commitProfile, 2);
        case WM_REQ_SYNC_DEL_EVENT: return startWithRecord(request, HeldFlag::Busy, jobs_.commitMatterDelete);
        case WM_REQ_GET_SERVER_TIME: return startWithRecord(request, HeldFlag::None, jobs_.serverTime);
        default: return;  // not a request of this worker
    }
}

// ---- requests -------------------------------------------------------------------

void SyncThread::onSync(std::optional<int> reason) {
    if (!reason) return;
    if (const char* label = SyncReasonLabel(*reason)) DebugLine(label);
    const SyncDecision decision = DecideSync(interval_.load(), *reason, busy());
    interval_.store(decision.interval);
    if (!decision.restart) return;
    restartTimer(decision.interval);
    // A run still in flight (possible only for reasons outside the three known ones)
    // keeps the new request from starting a second run over the same pending entries.
    if (jobs_.sync && claimSyncRun()) launch(jobs_.sync, HeldFlag::Busy);
    DebugLine("next_sync_gap::" + std::to_string(decision.interval));
}

void SyncThread::onStartTimer() {
    restartTimer(interval_.load());
    interval_.store(kInitialSyncInterval);
    DebugLine("OnStartTimer:next_sync_gap:" + std::to_string(kInitialSyncInterval));
}

void SyncThread::onUpload() {
    bool idle = false;
    if (!jobs_.uploadPass || !uploadRunning_.compare_exchange_strong(idle, true)) return;
    launch(jobs_.uploadPass, HeldFlag::Upload);
}

void SyncThread::openPage(WebPage page) {
    if (!jobs_.openUrl) return;
    std::string address = WebPageAddress(config_, page, user_.snapshot().user_id);
    launch([open = jobs_.openUrl, address = std::move(address)](JobContext&) { open(address); }, HeldFlag::None);
}

void SyncThread::restartTimer(std::uint32_t interval) {
    std::lock_guard<std::mutex> lock(mutex_);
    timer_.start(interval, nowMs());
}

bool SyncThread::claimSyncRun() {
    int none = 0;
    return busyJobs_.compare_exchange_strong(none, 1);
}

// ---- jobs -----------------------------------------------------------------------

template <class Record, class... Extra>
void SyncThread::startWithRecord(const WorkerRequest& request, HeldFlag flag,
                                 const std::function<void(JobContext&, Record, Extra...)>& job, Extra... extra) {
    const Record* record = std::get_if<Record>(&request.payload);
    if (!job || record == nullptr) return;
    // Commits raise the busy flag without waiting for it: they may overlap a run.
    if (flag == HeldFlag::Busy) busyJobs_.fetch_add(1);
    launch([job, value = *record, extra...](JobContext& ctx) { job(ctx, value, extra...); }, flag);
}

void SyncThread::launch(std::function<void(JobContext&)> body, HeldFlag held) {
    if (!body) {
        releaseFlag(held);
        return;
    }
    const bool started = jobThreads_.start([this, body = std::move(body), held] {
        struct Release {
            SyncThread& self;
            HeldFlag flag;
            ~Release() { self.releaseFlag(flag); }
        } release{*this, held};
        JobContext ctx{net_,
                       store_,
                       user_,
                       config_,
                       [this](unsigned m, std::intptr_t w, std::intptr_t l) { postResult(m, w, l); },
                       downloadDir_,
                       [this](int reason) { post(WorkerRequest::Sync(reason)); }};
        body(ctx);
    });
    if (!started) releaseFlag(held);
}

void SyncThread::releaseFlag(HeldFlag flag) {
    if (flag == HeldFlag::Busy) busyJobs_.fetch_sub(1);
    if (flag == HeldFlag::Upload) uploadRunning_.store(false);
}

void SyncThread::postResult(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    if (poster_) poster_(resultWindow_.load(), message, wParam, lParam);
}

}  // namespace kivtal
