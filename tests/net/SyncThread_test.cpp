#include "net/SyncThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "model/Diagnostics.h"
#include "net/LoginUser.h"
#include "net/WorkerMessages.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

using namespace std::chrono_literals;

// ---- interval rules and the timer ------------------------------------------------

TEST(SyncDecisionTest, IntervalRules) {
    struct Case {
        std::uint32_t interval;
        int reason;
        bool busy;
        std::uint32_t interval_after;
        bool restart;
    };
    const Case cases[] = {
        {5000000, SYNC_BY_USER, false, 2500000, true},
        {5000000, SYNC_BY_USER, true, 2500000, false},
        {5000000, SYNC_BY_DEFAULT, false, 10000000, true},
        {5000000, SYNC_BY_DEFAULT, true, 2500000, false},
        {5000000, SYNC_BY_OPER_EFFECT, false, 2500000, true},
        {5000000, SYNC_BY_OPER_EFFECT, true, 2500000, false},
        {5000000, 7, false, 5000000, true},
        {0x80000000u, SYNC_BY_DEFAULT, false, 2500000, true},      // doubles to 0
        {3000000000u, SYNC_BY_DEFAULT, false, 1705032704u, true},  // 32-bit wrap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interval << " reason " << c.reason << " busy " << c.busy);
        const SyncDecision d = DecideSync(c.interval, c.reason, c.busy);
        EXPECT_EQ(d.interval, c.interval_after);
        EXPECT_EQ(d.restart, c.restart);
    }
}

TEST(WorkerTimerTest, CapsThePeriodAndCollapsesMissedTicks) {
    WorkerTimer timer;
    EXPECT_FALSE(timer.fireIfDue(1LL << 40));  // not armed

    timer.start(0xFFFFFFFFu, 1000);
    EXPECT_EQ(timer.periodMs(), kMaxTimerPeriodMs);
    EXPECT_FALSE(timer.fireIfDue(1000 + kMaxTimerPeriodMs - 1));
    EXPECT_TRUE(timer.fireIfDue(1000 + kMaxTimerPeriodMs));

    timer.start(100, 0);
    EXPECT_TRUE(timer.fireIfDue(1000));  // ten periods late: one tick
    EXPECT_FALSE(timer.fireIfDue(1099));
    EXPECT_EQ(timer.msUntilDue(1050), 50);
    timer.kill();
    EXPECT_EQ(timer.msUntilDue(1050), std::nullopt);
}

// ---- the worker ------------------------------------------------------------------

// A door a fake job waits at; open unless a test closes it.
class Gate {
public:
    void close() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = false;
    }
    void open() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            open_ = true;
        }
        cv_.notify_all();
    }
    void pass() {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = true;
};

// What the fake jobs did, in order.
class Calls {
public:
    void add(std::string call) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.push_back(std::move(call));
        }
        cv_.notify_all();
    }
    std::vector<std::string> all() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    int count(const std::string& call) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
    }
    // Waits (bounded, in case the worker never starts the job) until `call` was made
    // `times` times in all.
    bool waitFor(const std::string& call, int times = 1) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, 10s, [&] { return std::count(calls_.begin(), calls_.end(), call) >= times; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> calls_;
};

struct Delivered {
    WindowHandle window;
    unsigned message;
    std::intptr_t wParam;
    bool operator==(const Delivered&) const = default;
};

class SyncThreadTest : public testing::Test {
protected:
    SyncThreadTest() : store_(StorePaths{dir_.path() + "user/", "/nonexistent/doz2a_v3.db"}) { startWorker(); }
    ~SyncThreadTest() override {
        syncGate.open();
        commitGate.open();
        uploadGate.open();
        loginGate.open();
        worker.reset();
    }

    void startWorker() {
        worker.reset();
        ServiceConfig config;
        config.apiUrl = "http://127.0.0.1:1";
        config.webUrl = "http://127.0.0.1:1";
        worker = std::make_unique<SyncThread>(WorkerSetup{net_, store_, LoginUser::Instance(), config,
                                                          dir_.path() + "dl/", recordingPoster(), fakeJobs(), &clock});
    }

    ResultPoster recordingPoster() {
        return [this](WindowHandle window, unsigned message, std::intptr_t wParam, std::intptr_t) {
            std::lock_guard<std::mutex> lock(deliveredMutex_);
            delivered_.push_back({window, message, wParam});
        };
    }

    std::vector<Delivered> delivered() {
        std::lock_guard<std::mutex> lock(deliveredMutex_);
        return delivered_;
    }
    int deliveredCount(unsigned message) {
        int n = 0;
        for (const Delivered& d : delivered()) n += d.message == message ? 1 : 0;
        return n;
    }

    WorkerJobs fakeJobs() {
        WorkerJobs jobs;
        jobs.sync = [this](JobContext& ctx) {
            calls.add("sync");
            syncGate.pass();
            ctx.post(WM_RES_SYNC, 0, 0);
            calls.add("sync done");
        };
        jobs.login = [this](JobContext& ctx) {
            calls.add("login");
            loginGate.pass();
            ctx.post(WM_RES_LOGIN, 0, 0);
        };
        // The version check ends by asking for the first run, as the real one does.
        jobs.checkVersion = [this](JobContext& ctx) {
            calls.add("check");
            ctx.requestSync(SYNC_BY_DEFAULT);
        };
        jobs.logout = [this](JobContext&) { calls.add("logout"); };
        jobs.ads = [this](JobContext&) { calls.add("ads"); };
        jobs.news = [this](JobContext&) { calls.add("news"); };
        jobs.uploadPass = [this](JobContext&) {
            calls.add("upload");
            uploadGate.pass();
        };
        jobs.serverTime = [this](JobContext&, int t) { calls.add("time " + std::to_string(t)); };
        jobs.commitReminderAdd = [this](JobContext& ctx, EventAlarm a) {
            calls.add("alarm add " + a.a_content);
            commitGate.pass();
            if (a.a_content == "throw") throw std::runtime_error("store failed");
            ctx.post(WM_RES_SYNC_ALARM, 0, 0);
        };
        jobs.commitReminderChange = [this](JobContext&, EventAlarm a) {
            calls.add("alarm change " + a.a_content + " sent " + std::to_string(a.already_sent));
        };
        jobs.commitProfile = [this](JobContext&, UserInfo u, int way) {
            calls.add("profile " + u.username + " way " + std::to_string(way));
        };
        jobs.commitMatterDelete = [this](JobContext&, TalEvent e) { calls.add("delete " + e.description); };
        jobs.openUrl = [this](const std::string& address) { calls.add("open " + address); };
        return jobs;
    }

    // Lets the worker dispatch everything posted, and the jobs that started, finish.
    void settle() {
        worker->waitUntilIdle();
        worker->waitForJobs();
        worker->waitUntilIdle();  // a job may have asked for a run
        worker->waitForJobs();
    }

    void advance(std::int64_t ms) {
        clock.advanceMilliseconds(ms);
        worker->pollTimers();
        settle();
    }

    // Bounded: a job that never ends fails the test instead of hanging it.
    bool waitUntilRunning(std::size_t jobs) {
        for (int i = 0; i < 10000; ++i) {
            if (worker->runningJobs() == jobs) return true;
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }

    void syncNow(int reason) {
        worker->post(WorkerRequest::Sync(reason));
        settle();
    }

    test::TempDir dir_;
    NetUtil net_{std::vector<std::string>{"127.0.0.1"}};
    LocalStore store_;
    std::mutex deliveredMutex_;
    std::vector<Delivered> delivered_;

public:
    test::TestClock clock;
    Calls calls;
    Gate syncGate, commitGate, uploadGate, loginGate;
    std::unique_ptr<SyncThread> worker;
};

TEST_F(SyncThreadTest, EachRequestStartsItsJobWithTheRecordItCarries) {
    LoginUser::Instance().update([](LoginUserState& s) { s.user_id = "u42"; });
    EventAlarm alarm;
    alarm.a_content = "call back";
    alarm.already_sent = 1;
    UserInfo profile;
    profile.username = "Wang";
    TalEvent matter;
    matter.description = "trip";

    struct Case {
        WorkerRequest request;
        std::string call;  // "" = nothing starts
    };
    const Case cases[] = {
        {WorkerRequest::Plain(WM_REQ_LOGIN), "login"},
        {WorkerRequest::Plain(WM_REQ_LOGOUT), "logout"},
        {WorkerRequest::Plain(WM_REQ_ADV), "ads"},
        {WorkerRequest::Plain(WM_REQ_GET_NEWS), "news"},
        {WorkerRequest::With(WM_REQ_SYNC_ALARM, alarm), "alarm add call back"},
        {WorkerRequest::With(WM_REQ_SYNC_MODIFY_ALARM, alarm), "alarm change call back sent 1"},
        {WorkerRequest::With(WM_REQ_SYNC_USER_INFO, profile), "profile Wang way 1"},
        {WorkerRequest::With(WM_REQ_SYNC_MODIFY_USER_INFO, profile), "profile Wang way 2"},
        {WorkerRequest::With(WM_REQ_SYNC_DEL_EVENT, matter), "delete trip"},
        {WorkerRequest::With(WM_REQ_GET_SERVER_TIME, 1700000123), "time 1700000123"},
        {WorkerRequest::Plain(WM_REQ_OPEN_REGISTER), "open http://127.0.0.1:1/Index/Register/index"},
        {WorkerRequest::Plain(WM_REQ_OPEN_SAFE), "open http://127.0.0.1:1/Home/Safe/index/clientid/u42"},
        {WorkerRequest::Plain(WM_REQ_OPEN_HOME_2), "open http://127.0.0.1:1/"},
        // Malformed requests start nothing.
        {WorkerRequest::With(WM_REQ_SYNC_ALARM, 5), ""},
        {WorkerRequest::Plain(WM_REQ_SYNC_DEL_EVENT), ""},
        {WorkerRequest::Plain(WM_REQ_SYNC), ""},
        {WorkerRequest::Plain(WM_USER + 9999), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.message);
        const std::size_t before = calls.all().size();
        worker->post(c.request);
        settle();
        const std::vector<std::string> after = calls.all();
        if (c.call.empty()) {
            EXPECT_EQ(after.size(), before);
        } else {
            ASSERT_EQ(after.size(), before + 1);
            EXPECT_EQ(after.back(), c.call);
        }
    }
    EXPECT_FALSE(worker->busy());
    LoginUser::Instance().reset();
}

TEST_F(SyncThreadTest, SyncRequestWhileACommitRunsResetsTheIntervalAndStartsNothing) {
    for (int reason : {SYNC_BY_USER, SYNC_BY_DEFAULT, SYNC_BY_OPER_EFFECT}) {
        SCOPED_TRACE(reason);
        startWorker();
        syncNow(SYNC_BY_DEFAULT);
        ASSERT_EQ(worker->syncInterval(), 5000000u);
        const int runs = calls.count("sync");
        const int results = deliveredCount(WM_RES_SYNC);
        const int commits = calls.count("alarm add ");

        commitGate.close();
        worker->post(WorkerRequest::With(WM_REQ_SYNC_ALARM, EventAlarm{}));
        ASSERT_TRUE(calls.waitFor("alarm add ", commits + 1));
        EXPECT_TRUE(worker->busy());
        worker->post(WorkerRequest::Sync(reason));
        worker->waitUntilIdle();

        EXPECT_EQ(worker->syncInterval(), 2500000u);
        EXPECT_EQ(worker->timerPeriodMs(), 5000000);  // countdown not restarted
        commitGate.open();
        settle();
        EXPECT_FALSE(worker->busy());
        EXPECT_EQ(calls.count("sync"), runs);
        EXPECT_EQ(deliveredCount(WM_RES_SYNC), results);
    }
}

TEST_F(SyncThreadTest, TimerDrivenRunsDoubleTheIntervalAfterTheVersionCheckRun) {
    worker->post(WorkerRequest::Plain(WM_REQ_CHECK_VER));
    settle();
    EXPECT_EQ(calls.count("sync"), 1);
    EXPECT_EQ(worker->syncInterval(), 5000000u);

    int runs = 1;
    for (std::uint32_t expected : {10000000u, 20000000u, 40000000u}) {
        SCOPED_TRACE(expected);
        const std::int64_t period = *worker->timerPeriodMs();
        advance(period - 1);
        EXPECT_EQ(calls.count("sync"), runs);
        advance(1);
        EXPECT_EQ(calls.count("sync"), ++runs);
        EXPECT_EQ(worker->syncInterval(), expected);
        EXPECT_EQ(worker->timerPeriodMs(), expected);
    }
    EXPECT_EQ(deliveredCount(WM_RES_SYNC), runs);
}

TEST_F(SyncThreadTest, LocalEditWhileIdleRunsAtOnceAndRestartsTheCountdown) {
    syncNow(SYNC_BY_DEFAULT);
    syncNow(SYNC_BY_DEFAULT);
    ASSERT_EQ(worker->syncInterval(), 10000000u);  // next tick at 10 000 000
    advance(6000000);

    syncNow(SYNC_BY_OPER_EFFECT);
    EXPECT_EQ(calls.count("sync"), 3);
    EXPECT_EQ(worker->syncInterval(), 2500000u);

    advance(2500000 - 1);  // past neither the new nor the old deadline
    EXPECT_EQ(calls.count("sync"), 3);
    advance(1);
    EXPECT_EQ(calls.count("sync"), 4);
    EXPECT_EQ(worker->syncInterval(), 5000000u);
}

TEST_F(SyncThreadTest, BackToBackSyncRequestsStartOneRun) {
    syncGate.close();
    worker->post(WorkerRequest::Sync(SYNC_BY_USER));
    worker->post(WorkerRequest::Sync(SYNC_BY_USER));
    worker->post(WorkerRequest::Sync(42));  // an unknown reason must not slip past either
    ASSERT_TRUE(calls.waitFor("sync"));
    worker->waitUntilIdle();
    EXPECT_EQ(calls.count("sync"), 1);
    EXPECT_TRUE(worker->busy());

    syncGate.open();
    settle();
    EXPECT_EQ(calls.count("sync done"), 1);
    EXPECT_EQ(deliveredCount(WM_RES_SYNC), 1);
    EXPECT_FALSE(worker->busy());

    syncNow(SYNC_BY_USER);  // the flag was given back
    EXPECT_EQ(calls.count("sync"), 2);
}

TEST_F(SyncThreadTest, CommitsOverlapARunAndKeepTheBusyFlagUntilTheLastEnds) {
    syncGate.close();
    commitGate.close();
    worker->post(WorkerRequest::Sync(SYNC_BY_USER));
    ASSERT_TRUE(calls.waitFor("sync"));
    worker->post(WorkerRequest::With(WM_REQ_SYNC_ALARM, EventAlarm{}));
    ASSERT_TRUE(calls.waitFor("alarm add "));  // a commit does not wait for the run

    syncGate.open();
    ASSERT_TRUE(waitUntilRunning(1));  // the run has ended, the commit still runs
    EXPECT_TRUE(worker->busy());
    worker->post(WorkerRequest::Sync(SYNC_BY_USER));
    worker->waitUntilIdle();

    commitGate.open();
    settle();
    EXPECT_EQ(calls.count("sync"), 1);
    EXPECT_FALSE(worker->busy());
}

TEST_F(SyncThreadTest, AJobEndedByAnExceptionGivesTheBusyFlagBack) {
    EventAlarm alarm;
    alarm.a_content = "throw";
    worker->post(WorkerRequest::With(WM_REQ_SYNC_ALARM, alarm));
    settle();
    EXPECT_FALSE(worker->busy());
    syncNow(SYNC_BY_USER);
    EXPECT_EQ(calls.count("sync"), 1);
}

TEST_F(SyncThreadTest, SecondUploadRequestDuringAPassIsIgnored) {
    uploadGate.close();
    worker->post(WorkerRequest::Plain(WM_REQ_SECRETARY_UPLOAD));
    ASSERT_TRUE(calls.waitFor("upload"));
    EXPECT_TRUE(worker->uploadRunning());
    worker->post(WorkerRequest::Plain(WM_REQ_SECRETARY_UPLOAD));
    worker->waitUntilIdle();
    EXPECT_EQ(calls.count("upload"), 1);

    uploadGate.open();
    settle();
    EXPECT_FALSE(worker->uploadRunning());
    worker->post(WorkerRequest::Plain(WM_REQ_SECRETARY_UPLOAD));
    settle();
    EXPECT_EQ(calls.count("upload"), 2);
}

TEST_F(SyncThreadTest, ResultsGoToTheWindowHeldWhenTheJobPosts) {
    const WindowHandle loginWindow = 11, mainWindow = 22;
    worker->setResultWindow(loginWindow);
    loginGate.close();
    worker->post(WorkerRequest::Plain(WM_REQ_LOGIN));
    ASSERT_TRUE(calls.waitFor("login"));
    worker->setResultWindow(mainWindow);
    loginGate.open();
    settle();
    EXPECT_EQ(delivered(), (std::vector<Delivered>{{mainWindow, WM_RES_LOGIN, 0}}));
}

TEST_F(SyncThreadTest, IntervalsBeyondTheTimerLimitRunAtTheLimit) {
    for (int i = 0; i < 10; ++i) syncNow(SYNC_BY_DEFAULT);
    ASSERT_EQ(worker->syncInterval(), 2560000000u);
    EXPECT_EQ(worker->timerPeriodMs(), kMaxTimerPeriodMs);

    advance(kMaxTimerPeriodMs - 1);
    EXPECT_EQ(calls.count("sync"), 10);
    advance(1);
    EXPECT_EQ(calls.count("sync"), 11);
}

TEST_F(SyncThreadTest, StopDispatchesWhatIsQueuedAndWaitsForRunningJobs) {
    syncGate.close();
    worker->post(WorkerRequest::Sync(SYNC_BY_USER));
    ASSERT_TRUE(calls.waitFor("sync"));
    worker->post(WorkerRequest::Plain(WM_REQ_LOGOUT));

    auto stopped = std::async(std::launch::async, [this] { worker->stop(); });
    EXPECT_EQ(stopped.wait_for(100ms), std::future_status::timeout);
    syncGate.open();
    stopped.get();

    EXPECT_EQ(calls.count("sync done"), 1);
    EXPECT_EQ(calls.count("logout"), 1);
    EXPECT_EQ(worker->timerPeriodMs(), std::nullopt);
    worker->post(WorkerRequest::Sync(SYNC_BY_USER));  // dropped: the loop has ended
    worker->waitUntilIdle();
    EXPECT_EQ(calls.count("sync"), 1);
}

TEST_F(SyncThreadTest, ConsoleLinesOfTheTimerRules) {
    SetDiagnosticsEnabled(true);
    testing::internal::CaptureStdout();
    syncNow(SYNC_BY_USER);
    worker->post(WorkerRequest::Plain(WM_REQ_START_TIMER));
    settle();
    advance(2500000);
    const std::string out = testing::internal::GetCapturedStdout();
    SetDiagnosticsEnabled(false);

    EXPECT_EQ(out,
              "by_user\n"
              "next_sync_gap::2500000\n"
              "OnStartTimer:next_sync_gap:2500000\n"
              "OnTimer:next_sync_gap:2500000\n"
              "by_default\n"
              "next_sync_gap::5000000\n");
    EXPECT_EQ(calls.count("sync"), 2);
}

}  // namespace
}  // namespace kivtal
