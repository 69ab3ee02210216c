// login, sync and status: the account side of the command line.
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "CliContext.h"
#include "ExitCodes.h"
#include "JobRecorder.h"
#include "TimeText.h"
#include "UserSession.h"
#include "net/AccountJobs.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/SyncRun.h"
#include "net/WorkerMessages.h"
#include "store/ChangeLog.h"
#include "store/RefusedUploads.h"
#include "store/ServerChanges.h"
#include "store/SyncBases.h"
#include "store/StorePaths.h"

namespace kivtal::cli {

namespace {

constexpr std::string_view kNoAutoOption[] = {"no-auto"};

// Exit code and message for a login result other than 0.
int FailLogin(int result) {
    const std::string code = " (code " + std::to_string(result) + ")";
    switch (result) {
        case kLoginRefused: return Fail(kExitLogin, "login refused: wrong account or password" + code);
        case kLoginNoNetwork:
            return Fail(kExitService, "no network: a first login on this machine needs the service" + code);
        case kLoginStoreFailure: return Fail(kExitStore, "cannot open or create the user database" + code);
        default: return Fail(kExitService, "the service gave no usable answer to the login" + code);
    }
}

int FailSyncResult(int result) {
    const std::string code = " (code " + std::to_string(result) + ")";
    if (result == kResultNoNetwork)
        return Fail(kExitService, "sync failed: no network or no reply from the service" + code);
    if (result == 1) return Fail(kExitStore, "sync failed: the user database could not be read or written" + code);
    if (result == kResultUploadRefused)
        return Fail(kExitService,
                    "sync incomplete: the service refused some changes; they are kept aside and not sent "
                    "again (the \"refused\" column of status counts them), the others went up" +
                        code);
    if (result == kResultNotStored)
        return Fail(kExitStore,
                    "sync incomplete: the user database could not store what the service answered; "
                    "the next sync retries" +
                        code);
    if (result == kResultSetAside)
        return Fail(kExitStore,
                    "sync incomplete: a change received from the service could not be stored and was set aside; "
                    "'kivtal-cli set-aside' lists it" +
                        code);
    return Fail(kExitService, "sync failed: the service reported an error" + code);
}

// Runs the login job as the login window has the worker run it. The device id is
// computed first, as the window does when it opens.
int LogIn(LocalStore& store, const std::string& name, const std::string& digest, int autoLogin, JobRecorder& recorder) {
    computeUniqueId(LoginUser::Instance());
    LoginUser::Instance().update([&](LoginUserState& s) {
        s.login_name = name;
        s.password = digest;
        s.auto_login = autoLogin;
    });
    JobContext job = recorder.context(store);
    return RunLoginJob(job);
}

// A test seam for the crash tests: KIVTAL_TEST_KILL_AT holds the number of a SyncStep at
// which the program kills itself, as a crash at that moment would end it.
SyncStepHook KillAtStepFromEnvironment() {
    const char* at = std::getenv("KIVTAL_TEST_KILL_AT");
    if (at == nullptr) return {};
    const std::string step = at;
    return [step](SyncStep s) {
        if (step == std::to_string(static_cast<int>(s))) std::raise(SIGKILL);
    };
}

int SyncNow(LocalStore& store, JobRecorder& recorder) {
    JobContext job = recorder.context(store);
    const int result = runSync(job, KillAtStepFromEnvironment());
    return result == 0 ? kExitOk : FailSyncResult(result);
}

const char* ModeName() {
    return LoginUser::Instance().snapshot().login_mode == LoginUserState::kModeOnline ? "online" : "offline";
}

// One line: the account, how it is logged in, its pending entries, the service's sync
// sequence, when this computer last finished a sync, and the received changes set aside
// because they could not be stored, the local changes the service refused, and the
// open conflicts (fields another device changed differently).
int PrintAccountState(const CliContext& ctx, const std::string& account, const char* mode) {
    ChangeLog log(ctx.store);
    std::vector<SyncRecord> pending;
    int syncTime = 0, finishedAt = 0, setAside = 0, refused = 0, conflicts = 0;
    if (log.PendingEntries(pending) != 0 || log.ReadSyncTime(syncTime) != 0 ||
        log.ReadLastSyncFinish(finishedAt) != 0 || SetAsideChangeCount(ctx.store, setAside) != 0 ||
        RefusedUploadCount(ctx.store, refused) != 0 || CountClashes(ctx.store, conflicts) != 0)
        return FailRead(ctx.store);
    Json::Value row(Json::objectValue);
    row["account"] = account;
    row["mode"] = mode;
    row["pending"] = static_cast<Json::Int64>(pending.size());
    row["sync_time"] = syncTime;
    row["last_sync"] = LocalClockText(finishedAt);
    row["set_aside"] = setAside;
    row["refused"] = refused;
    row["conflicts"] = conflicts;
    Table table(
        {{"account"}, {"mode"}, {"pending"}, {"sync_time"}, {"last_sync"}, {"set_aside"}, {"refused"}, {"conflicts"}});
    table.add(row);
    table.print(ctx.output, std::cout);
    return kExitOk;
}

}  // namespace

int RunStatus(CliContext& ctx) {
    if (const int c = CheckOptions(ctx.args, {}); c != kExitOk) return c;
    if (const int c = CheckWordCount(ctx.args, 1, "status"); c != kExitOk) return c;
    LoginRecord login;
    if (const int c = SelectLastUser(ctx.store, login); c != kExitOk) return c;
    return PrintAccountState(ctx, login.login_user, "local");
}

int RunLogin(CliContext& ctx) {
    if (const int c = CheckOptions(ctx.args, kNoAutoOption); c != kExitOk) return c;
    if (const int c = CheckWordCount(ctx.args, 3, "login NAME PASSWORD [--no-auto]"); c != kExitOk) return c;
    const std::string name = ctx.args.word(1);
    const std::string password = ctx.args.word(2);
    if (name.empty() || password.empty()) return Fail(kExitUsage, "login needs a name and a password");
    if (!IsSafeLoginFileName(name)) return Fail(kExitUsage, "a login name may not contain '/' nor be '.' or '..'");
    JobRecorder recorder;
    // Only the digest is sent and remembered, never the password itself.
    const int result = LogIn(ctx.store, name, md5Hex(md5Hex(password)), ctx.args.has("no-auto") ? 0 : 1, recorder);
    if (result != 0) return FailLogin(result);
    // A first login on this machine starts with an empty database: fill it at once, as
    // the login window does before it lets the user in.
    if (recorder.saw(WM_RES_LOGIN, kLoginFirstOnMachine)) {
        if (const int c = SyncNow(ctx.store, recorder); c != kExitOk) return c;
    }
    return PrintAccountState(ctx, name, ModeName());
}

int RunSync(CliContext& ctx) {
    if (const int c = CheckOptions(ctx.args, {}); c != kExitOk) return c;
    if (const int c = CheckWordCount(ctx.args, 1, "sync"); c != kExitOk) return c;
    LoginRecord login;
    if (const int c = FindAutoLogin(ctx.store, login); c != kExitOk) return c;
    JobRecorder recorder;
    const int result = LogIn(ctx.store, login.login_user, login.login_pwd, 1, recorder);
    if (result != 0) return FailLogin(result);
    if (LoginUser::Instance().snapshot().login_mode != LoginUserState::kModeOnline)
        return Fail(kExitService, "sync failed: the service cannot be reached, logged in offline (code " +
                                      std::to_string(kResultNoNetwork) + ")");
    if (const int c = SyncNow(ctx.store, recorder); c != kExitOk) return c;
    return PrintAccountState(ctx, login.login_user, ModeName());
}

}  // namespace kivtal::cli
