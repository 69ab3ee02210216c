#include "net/AccountJobs.h"

#include <optional>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "net/ContentJobs.h"
#include "net/Identity.h"
#include "net/JobSupport.h"
#include "net/LoginUser.h"
#include "net/ReplyParsers.h"
#include "net/ServiceForms.h"
#include "net/WorkerMessages.h"
#include "store/AccountStore.h"
#include "store/StorePaths.h"

namespace kivtal {

namespace {

constexpr int kServiceWrongPassword = 1001;
constexpr int kServiceWrongAccount = 1003;

void SetLogin(LoginUser& user, int state, int mode) {
    user.update([&](LoginUserState& s) {
        s.login_state = state;
        s.login_mode = mode;
    });
}

// The service accepted the login: open the user's own database and remember the login.
int FinishOnlineLogin(JobContext& ctx, bool firstOnMachine) {
    const LoginUserState u = ctx.user.snapshot();
    if (ctx.store.EnsureUserDb(u.login_name) != 0) return kLoginStoreFailure;
    AccountStore accounts(ctx.store);
    accounts.SetLoginNameAndPassword(u.login_name, u.password, u.user_id);
    SetLogin(ctx.user, LoginUserState::kOnline, LoginUserState::kModeOnline);
    LoginRecord record;
    record.login_user = u.login_name;
    record.login_pwd = u.password;
    record.login_time = NowSeconds();
    record.login_ways = LoginUserState::kModeOnline;
    record.auto_login = u.auto_login;
    record.last_login = 1;
    accounts.SaveLogin(record);
    // The login window starts the first sync on this; the rest of the job goes on.
    if (firstOnMachine) PostResult(ctx, WM_RES_LOGIN, kLoginFirstOnMachine);
    return 0;
}

int OfflineLogin(JobContext& ctx, bool firstOnMachine) {
    if (firstOnMachine) return kLoginNoNetwork;
    const LoginUserState u = ctx.user.snapshot();
    if (AccountStore(ctx.store).CheckOfflineLogin(u.login_name, u.password) != 0) {
        SetLogin(ctx.user, LoginUserState::kOfflineRefused, LoginUserState::kModeOffline);
        return kLoginRefused;
    }
    SetLogin(ctx.user, LoginUserState::kOffline, LoginUserState::kModeOffline);
    return ctx.store.EnsureUserDb(u.login_name) == 0 ? 0 : kLoginStoreFailure;
}

// The online attempt's result, or none when the offline check decides.
std::optional<int> OnlineLogin(JobContext& ctx, bool firstOnMachine) {
    const std::string reply =
        PostForm(ctx, kLoginPath, LoginForm(ctx.user.snapshot()), "LOGIN_URL post:", "LOGIN_URL::");
    const int code = reply.empty() ? kReplyUnreadable : ParseLoginReply(reply, ctx.user);
    if (code == 0) return FinishOnlineLogin(ctx, firstOnMachine);
    if (code == kServiceWrongPassword || code == kServiceWrongAccount) return kLoginRefused;
    if (firstOnMachine) return kLoginBadReply;
    return std::nullopt;
}

void PrintLoginState(const LoginUser& user) {
    const int state = user.snapshot().login_state;
    if (state == LoginUserState::kOnline) DebugLine("正常登陆状态");
    if (state == LoginUserState::kOffline) DebugLine("离线状态");
}

bool DownloadIsNewer(const VersionOffer& offer) {
    return !offer.download_addr.empty() && offer.new_ver > kClientVersion;
}

int DownloadInstaller(JobContext& ctx, const VersionOffer& offer) {
    PostResult(ctx, WM_RES_CHECK_VER, VER_DOWNLOADING);
    MakeDirectories(ctx.downloadDir);
    const std::string path = InstallerPath(ctx);
    const bool downloaded = ctx.net.downloadFileWithProgress(
        offer.download_addr, path, [&](unsigned percent) { PostResult(ctx, WM_RES_CHECK_VER, VER_PROGRESS, percent); });
    if (!downloaded) return VER_DOWNLOAD_FAILED;
    // Case-sensitive on purpose: the service sends lower-case digests.
    return FileMd5Hex(path) == offer.file_md5 ? VER_INSTALLER_READY : VER_DOWNLOAD_FAILED;
}

int CheckVersion(JobContext& ctx) {
    if (!ctx.net.isNetworkAvailable()) return VER_NO_NETWORK;
    const std::string reply = PostForm(ctx, kVersionCheckPath, VersionCheckForm(ctx.user.snapshot()),
                                       "CHECK_VER_URL post::", "CHECK_VER_URL::");
    if (reply.empty()) return VER_BAD_REPLY;
    VersionOffer offer;
    if (ParseVersionReply(reply, offer) != 0) return VER_BAD_REPLY;
    return DownloadIsNewer(offer) ? DownloadInstaller(ctx, offer) : VER_UP_TO_DATE;
}

}  // namespace

std::string InstallerPath(const JobContext& ctx) { return ctx.downloadDir + "kivtalsetup.exe"; }

int RunLoginJob(JobContext& ctx) {
    ctx.store.EnsureLoginDb();
    const bool firstOnMachine = AccountStore(ctx.store).NoRememberedLogin() == 1;
    std::optional<int> onlineResult;
    if (ctx.net.isNetworkAvailable()) onlineResult = OnlineLogin(ctx, firstOnMachine);
    const bool online = onlineResult == 0;
    const int result = onlineResult ? *onlineResult : OfflineLogin(ctx, firstOnMachine);
    PrintLoginState(ctx.user);
    if (online) {
        RunVersionCheckJob(ctx);
    } else {
        PostResult(ctx, WM_RES_CHECK_VER, VER_UP_TO_DATE);
    }
    PostResult(ctx, WM_RES_LOGIN, result);
    return result;
}

int RunVersionCheckJob(JobContext& ctx) {
    PostResult(ctx, WM_RES_CHECK_VER, VER_STARTED);
    const int code = CheckVersion(ctx);
    if (code == VER_DOWNLOAD_FAILED || code == VER_BAD_REPLY || code == VER_UP_TO_DATE) {
        RunAdsJob(ctx);
        RunNewsJob(ctx);
        if (ctx.requestSync) ctx.requestSync(SYNC_BY_DEFAULT);
    }
    PostResult(ctx, WM_RES_CHECK_VER, code);
    return code;
}

int RunLogoutJob(JobContext& ctx) {
    int result = 0;
    if (ctx.net.isNetworkAvailable()) {
        const std::string reply = PostForm(ctx, kLogoutPath, UserForm(ctx.user.snapshot()), {}, {});
        if (!reply.empty() && ParseLogoutReply(reply) != 0) result = -1;
    }
    PostResult(ctx, WM_RES_LOGOUT, result);
    return result;
}

int RunServerTimeJob(JobContext& ctx, int reminderTime) {
    int code = TIME_NO_NETWORK;
    if (ctx.net.isNetworkAvailable()) {
        std::string reply;
        if (ctx.net.httpRequest("GET", ApiUrl(ctx.config, kServerTimePath), "", reply) != NetUtil::kOk) reply.clear();
        DebugLine("GET_SERVER_TIME checkIfAlarmOutOfTime::" + reply);
        int dateline = 0;
        ParseServerTimeReply(reply, dateline);
        code = dateline < reminderTime ? TIME_AHEAD : TIME_ALREADY_DUE;
    }
    PostResult(ctx, WM_RES_GET_SERVER_TIME, code);
    return code;
}

}  // namespace kivtal
