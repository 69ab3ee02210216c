#include "net/DefaultWorker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "net/LoginUser.h"
#include "net/WorkerMessages.h"
#include "support/JobHarness.h"
#include "support/ScriptedService.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

using test::Reply;

constexpr WindowHandle kLoginWindow = 7;

// Results as the window layer would receive them, with a way to wait for one.
class Inbox {
public:
    ResultPoster poster() {
        return [this](WindowHandle window, unsigned m, std::intptr_t w, std::intptr_t) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (window == kLoginWindow) codes_[m].push_back(w);
            arrived_.notify_all();
        };
    }
    // The codes posted with `message` once `count` of them arrived (or after 20 s).
    std::vector<std::intptr_t> await(unsigned message, std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(20), [&] { return codes_[message].size() >= count; });
        return codes_[message];
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::map<unsigned, std::vector<std::intptr_t>> codes_;
};

// The program's worker, built the way the program builds it, against a scripted
// service named by the environment.
TEST(DefaultWorker, LogsInAndSyncsAgainstTheService) {
    test::TempDir dir;
    test::ScriptedService service;
    setenv("KIVTAL_API_URL", service.url().c_str(), 1);
    setenv("KIVTAL_PROBE_HOSTS", "127.0.0.1", 1);
    setenv("KIVTAL_DATA_DIR", dir.path().c_str(), 1);
    service.setDefault("/Login/login", Reply::Ok(R"({"error":"0","random_key":"r4nd","user_id":"42"})"));
    service.setDefault("/Update/check", Reply::Ok(R"({"error":"0","new_ver":"0"})"));
    service.setDefault("/Sync/receive", Reply::Ok(R"({"error":"0","opers":[]})"));
    service.setDefault("/Sync/send", Reply::Ok(R"({"error":"0","time":"1700000000","results":[]})"));
    LoginUser::Instance().reset();
    LoginUser::Instance().update([](LoginUserState& s) {
        s.login_name = "tester";
        s.password = "pw";
        s.unique_id = "DEV1";
    });

    test::ProbedNet net;
    Inbox inbox;
    std::vector<std::string> opened;
    {
        SyncThread worker(DefaultWorkerSetup(
            inbox.poster(), [&](const std::string& a) { opened.push_back(a); }, net));
        worker.setResultWindow(kLoginWindow);
        worker.post(WorkerRequest::Plain(WM_REQ_LOGIN));
        // A first login on this machine says so early; the version check then asks for
        // the first sync itself.
        EXPECT_EQ(inbox.await(WM_RES_LOGIN, 2), (std::vector<std::intptr_t>{-6, 0}));
        EXPECT_EQ(inbox.await(WM_RES_SYNC, 1), std::vector<std::intptr_t>{0});
        worker.post(WorkerRequest::Plain(WM_REQ_OPEN_REGISTER));
        worker.waitUntilIdle();
        worker.stop();
    }
    EXPECT_EQ(opened, std::vector<std::string>{service.url() + "/Index/Register/index"});
    EXPECT_EQ(LocalStore::Instance().userDbPath(), dir.path() + "tester.db");
    std::vector<std::string> paths;
    for (const test::Request& r : service.requests()) paths.push_back(r.path);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "/Sync/send"), 1);
    unsetenv("KIVTAL_API_URL");
    unsetenv("KIVTAL_PROBE_HOSTS");
    unsetenv("KIVTAL_DATA_DIR");
}

}  // namespace
}  // namespace kivtal
