#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "net/AccountJobs.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/WorkerMessages.h"
#include "store/AccountStore.h"
#include "store/StorePaths.h"
#include "support/JobHarness.h"

namespace kivtal {
namespace {

using test::Posted;
using test::Reply;

constexpr const char* kDigest = "0123456789abcdef0123456789abcdef";
constexpr const char* kLoginOk = R"({"error":"0","random_key":"r4nd","user_id":"10086"})";
constexpr const char* kNothingNew = R"({"error":"0","new_ver":"0"})";

class AccountJobs : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KIVTAL_UNIQUE_ID", "DEV1", 1);
        LoginUser::Instance().reset();
        LoginUser::Instance().update([](LoginUserState& s) {
            s.login_name = "zhang";
            s.password = kDigest;
            s.unique_id = "DEV1";
        });
        h.service.setDefault("/PcAd", Reply::Ok(R"({"error":"0","ads":[]})"));
        h.service.setDefault("/Notice", Reply::Ok(R"({"error":"0","news_list":[]})"));
    }
    void TearDown() override { unsetenv("KIVTAL_UNIQUE_ID"); }

    void Remember(const std::string& name, const std::string& password) {
        ASSERT_EQ(h.store.EnsureLoginDb(), 0);
        LoginRecord r;
        r.login_user = name;
        r.login_pwd = password;
        r.last_login = 1;
        ASSERT_EQ(AccountStore(h.store).SaveLogin(r), 0);
    }

    int Login() {
        JobContext ctx = h.context();
        return RunLoginJob(ctx);
    }

    test::JobHarness h;
};

TEST_F(AccountJobs, FirstLoginOnlinePostsSyncFirstThenTheResult) {
    h.service.script("/Login/login", Reply::Ok(kLoginOk));
    h.service.script("/Update/check", Reply::Ok(kNothingNew));

    EXPECT_EQ(Login(), 0);

    EXPECT_EQ(h.bodies("/Login/login"), std::vector<std::string>{std::string("username=zhang&password=") + kDigest +
                                                                 "&unique_id=DEV1&visitor=1"});
    const auto posts = h.posts.all();
    ASSERT_GE(posts.size(), 2u);
    EXPECT_EQ(posts.front(), (Posted{WM_RES_LOGIN, -6, 0}));
    EXPECT_EQ(posts.back(), (Posted{WM_RES_LOGIN, 0, 0}));
    EXPECT_EQ(h.posts.codes(WM_RES_CHECK_VER), (std::vector<std::intptr_t>{1, 9}));
    EXPECT_EQ(h.syncRequests, std::vector<int>{SYNC_BY_DEFAULT});

    const LoginUserState s = LoginUser::Instance().snapshot();
    EXPECT_EQ(s.login_state, 1);
    EXPECT_EQ(s.login_mode, 2);
    EXPECT_EQ(s.key, ComputeKeyText("10086", "DEV1", "r4nd"));
    // The version check already carries the new key.
    EXPECT_EQ(h.bodies("/Update/check").at(0), "key=" + s.key + "&visitor=1&unique_id=DEV1&cur_ver=3&user_id=10086");

    EXPECT_TRUE(FileExists(h.store.dataDir() + "zhang.db"));
    LoginRecord last;
    ASSERT_EQ(AccountStore(h.store).LastLogin(last), 0);
    EXPECT_EQ(last.login_user, "zhang");
    EXPECT_EQ(last.login_pwd, kDigest);
}

TEST_F(AccountJobs, WrongAccountFromTheServiceSkipsTheOfflineCheck) {
    Remember("zhang", kDigest);  // the offline check would accept this login
    h.service.script("/Login/login", Reply::Ok(R"({"error":"1003"})"));

    EXPECT_EQ(Login(), -3);
    EXPECT_EQ(h.posts.all().back(), (Posted{WM_RES_LOGIN, -3, 0}));
    EXPECT_EQ(h.posts.codes(WM_RES_CHECK_VER), std::vector<std::intptr_t>{9});
    EXPECT_EQ(LoginUser::Instance().snapshot().login_mode, 0);  // untouched
    EXPECT_TRUE(h.syncRequests.empty());
}

TEST_F(AccountJobs, FallsBackToRememberedLogins) {
    struct Case {
        const char* name;
        bool online;
        bool remembered;
        const char* rememberedPassword;
        std::optional<Reply> reply;
        int result;
        int state;
        int mode;
    };
    const Case cases[] = {
        {"offline, first login", false, false, kDigest, std::nullopt, -5, 2, 0},
        {"offline, known", false, true, kDigest, std::nullopt, 0, 2, 1},
        {"offline, wrong password", false, true, "other", std::nullopt, -3, 5, 1},
        {"service error, known", true, true, kDigest, Reply::Ok(R"({"error":"2001"})"), 0, 2, 1},
        {"no reply, known", true, true, kDigest, Reply::Status(500), 0, 2, 1},
        {"not JSON, known", true, true, kDigest, Reply::Ok("<html>ok</html>"), 0, 2, 1},
        {"not JSON, first login", true, false, kDigest, Reply::Ok("<html>ok</html>"), -7, 2, 0},
        {"no error code, wrong password", true, true, "other", Reply::Ok("{}"), -3, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::JobHarness fresh;
        LoginUser::Instance().update([](LoginUserState& s) {
            s.login_state = 2;
            s.login_mode = 0;
        });
        fresh.net.online = c.online;
        if (c.reply) fresh.service.script("/Login/login", *c.reply);
        if (c.remembered) {
            ASSERT_EQ(fresh.store.EnsureLoginDb(), 0);
            LoginRecord r;
            r.login_user = "zhang";
            r.login_pwd = c.rememberedPassword;
            ASSERT_EQ(AccountStore(fresh.store).SaveLogin(r), 0);
        }
        JobContext ctx = fresh.context();
        EXPECT_EQ(RunLoginJob(ctx), c.result);
        EXPECT_EQ(fresh.posts.codes(WM_RES_LOGIN), std::vector<std::intptr_t>{c.result});
        EXPECT_EQ(fresh.posts.codes(WM_RES_CHECK_VER), std::vector<std::intptr_t>{9});
        EXPECT_EQ(LoginUser::Instance().snapshot().login_state, c.state);
        EXPECT_EQ(LoginUser::Instance().snapshot().login_mode, c.mode);
        EXPECT_TRUE(LoginUser::Instance().snapshot().key.empty());
        EXPECT_EQ(FileExists(fresh.store.dataDir() + "zhang.db"), c.result == 0);
    }
}

class VersionCheck : public AccountJobs {
public:
    int Check() {
        JobContext ctx = h.context();
        return RunVersionCheckJob(ctx);
    }
    std::string Offer(const std::string& version, const std::string& md5) {
        h.service.setDefault("/setup.exe", Reply::Ok(installer));
        return R"({"error":"0","new_ver":")" + version + R"(","download_addr":")" + h.service.url() +
               R"(/setup.exe","file_md5":")" + md5 + R"("})";
    }
    std::string installer = std::string(30000, 'i');
};

TEST_F(VersionCheck, NewerVersionIsDownloadedAndVerified) {
    h.service.script("/Update/check", Reply::Ok(Offer("4", Md5HexOfBytes(installer))));
    EXPECT_EQ(Check(), 4);
    const auto codes = h.posts.codes(WM_RES_CHECK_VER);
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(codes[0], 1);
    EXPECT_EQ(codes[1], 2);
    EXPECT_EQ(codes[2], 3);  // progress
    EXPECT_EQ(codes.back(), 4);
    EXPECT_EQ(FileMd5Hex(h.dir.path() + "dl/kivtalsetup.exe"), Md5HexOfBytes(installer));
    // The user is about to install: no content refresh and no sync.
    EXPECT_TRUE(h.syncRequests.empty());
    EXPECT_TRUE(h.bodies("/PcAd").empty());
}

TEST_F(VersionCheck, FinalCodes) {
    const std::string md5 = Md5HexOfBytes(installer);
    std::string upper = md5;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct Case {
        const char* name;
        bool online;
        std::string reply;  // empty: the service answers 404
        int code;
        bool refreshes;  // ads, news and a sync request follow
    };
    const Case cases[] = {
        {"same version", true, Offer("3", md5), 9, true},
        {"upper-case digest", true, Offer("4", upper), 5, true},
        {"service error", true, R"({"error":"1"})", 8, true},
        {"no reply", true, "", 8, true},
        {"offline", false, "", 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.service.clearRequests();
        h.syncRequests.clear();
        h.posts.clear();
        h.net.online = c.online;
        if (!c.reply.empty()) h.service.script("/Update/check", Reply::Ok(c.reply));
        EXPECT_EQ(Check(), c.code);
        EXPECT_EQ(h.posts.codes(WM_RES_CHECK_VER).back(), c.code);
        EXPECT_EQ(h.syncRequests.size(), c.refreshes ? 1u : 0u);
        EXPECT_EQ(h.bodies("/PcAd").size(), c.refreshes ? 1u : 0u);
        EXPECT_EQ(h.posts.codes(WM_RES_GET_NEWS).size(), c.refreshes ? 1u : 0u);
    }
}

TEST_F(AccountJobs, LogoutReportsOnlyServiceErrors) {
    struct Case {
        bool online;
        std::optional<Reply> reply;
        int result;
    };
    const Case cases[] = {
        {true, Reply::Ok(R"({"error":"0"})"), 0},
        {true, Reply::Ok(R"({"error":"5"})"), -1},
        {true, Reply::Status(500), 0},
        {false, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        h.service.clearRequests();
        h.net.online = c.online;
        if (c.reply) h.service.script("/Login/loginOut", *c.reply);
        JobContext ctx = h.context();
        EXPECT_EQ(RunLogoutJob(ctx), c.result);
        EXPECT_EQ(h.posts.all().back(), (Posted{WM_RES_LOGOUT, c.result, 0}));
        EXPECT_EQ(h.bodies("/Login/loginOut").size(), c.online ? 1u : 0u);
    }
}

TEST_F(AccountJobs, ServerTimeComparesWithTheReminder) {
    struct Case {
        bool online;
        std::optional<Reply> reply;
        int reminderTime;
        int code;
    };
    const Case cases[] = {
        {true, Reply::Ok(R"({"dateline":"1000"})"), 2000, 3},
        {true, Reply::Ok(R"({"dateline":"1000"})"), 1000, 2},
        {true, Reply::Ok(R"({"dateline":"1000"})"), 999, 2},
        {true, Reply::Status(500), 1, 3},  // no reply reads as 1970
        {false, std::nullopt, 2000, 1},
    };
    for (const Case& c : cases) {
        h.net.online = c.online;
        if (c.reply) h.service.script("/Util/dateline", *c.reply);
        JobContext ctx = h.context();
        EXPECT_EQ(RunServerTimeJob(ctx, c.reminderTime), c.code);
        EXPECT_EQ(h.posts.all().back(), (Posted{WM_RES_GET_SERVER_TIME, c.code, 0}));
    }
    for (const test::Request& r : h.service.requests()) EXPECT_EQ(r.method, "GET");
}

// Each job reads and writes the user of its own context: two logins run side by side,
// each with its own identity, and neither touches the process's user.
TEST_F(AccountJobs, TwoUsersLogInSideBySide) {
    struct Side {
        const char* name;
        const char* userId;
        test::JobHarness h;
        LoginUser user;
    };
    Side sides[2] = {{"zhao", "701", {}, {}}, {"qian", "702", {}, {}}};
    for (Side& side : sides) {
        side.h.user = &side.user;
        side.user.update([&](LoginUserState& s) {
            s.login_name = side.name;
            s.password = kDigest;
            s.unique_id = "DEV1";
        });
        side.h.service.script("/Login/login", Reply::Ok(std::string(R"({"error":"0","random_key":"r","user_id":")") +
                                                        side.userId + R"("})"));
        side.h.service.script("/Update/check", Reply::Ok(kNothingNew));
    }

    std::vector<std::thread> logins;
    std::atomic<int> results[2] = {-1, -1};
    for (int i = 0; i < 2; ++i)
        logins.emplace_back([&, i] {
            JobContext ctx = sides[i].h.context();
            results[i] = RunLoginJob(ctx);
        });
    for (std::thread& t : logins) t.join();

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sides[i].name);
        EXPECT_EQ(results[i], 0);
        const LoginUserState s = sides[i].user.snapshot();
        EXPECT_EQ(s.user_id, sides[i].userId);
        EXPECT_EQ(s.login_state, LoginUserState::kOnline);
        EXPECT_EQ(sides[i].h.bodies("/Login/login").at(0),
                  std::string("username=") + sides[i].name + "&password=" + kDigest + "&unique_id=DEV1&visitor=1");
        EXPECT_EQ(sides[i].h.bodies("/Update/check").at(0),
                  "key=" + s.key + "&visitor=1&unique_id=DEV1&cur_ver=3&user_id=" + sides[i].userId);
    }
    EXPECT_EQ(LoginUser::Instance().snapshot().login_name, "zhang");
    EXPECT_EQ(LoginUser::Instance().snapshot().user_id, "");
}

}  // namespace
}  // namespace kivtal
