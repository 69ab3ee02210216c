#include "UserSession.h"

#include "ExitCodes.h"
#include "store/AccountStore.h"
#include "store/StorePaths.h"

namespace kivtal::cli {

namespace {

constexpr const char* kLoginFirst = "no remembered login: run 'kivtal-cli login NAME PASSWORD' first";

int FindLastLogin(LocalStore& store, LoginRecord& login) {
    if (!FileExists(store.loginDbPath())) return Fail(kExitLogin, kLoginFirst);
    AccountStore accounts(store);
    LoginRecordList all;
    if (accounts.RememberedLogins(all) != 0)
        return Fail(kExitStore, "cannot read the login database " + store.loginDbPath());
    if (accounts.LastLogin(login) != 0) return Fail(kExitLogin, kLoginFirst);
    return kExitOk;
}

}  // namespace

int SelectLastUser(LocalStore& store, LoginRecord& login) {
    if (const int code = FindLastLogin(store, login); code != kExitOk) return code;
    if (!IsSafeLoginFileName(login.login_user))
        return Fail(kExitStore, "the remembered login name cannot name a database file");
    const std::string path = store.dataDir() + login.login_user + ".db";
    if (!FileExists(path)) return Fail(kExitStore, "the user database " + path + " is missing");
    if (store.EnsureUserDb(login.login_user) != 0) return Fail(kExitStore, "cannot open the user database " + path);
    return kExitOk;
}

int FindAutoLogin(LocalStore& store, LoginRecord& login) {
    if (const int code = FindLastLogin(store, login); code != kExitOk) return code;
    if (login.auto_login == 1) return kExitOk;
    return Fail(kExitLogin, "the last login (" + login.login_user +
                                ") does not log in automatically: run 'kivtal-cli login NAME PASSWORD' first");
}

int LiveOrFail(LocalStore& store, StoreStatus status, int state, const std::string& what) {
    if (status == StoreStatus::kFailed) return FailRead(store);
    if (status == StoreStatus::kNotFound || state != 0) return Fail(kExitNotFound, what + " not found");
    return kExitOk;
}

int FailRead(LocalStore& store) { return Fail(kExitStore, "cannot read the user database " + store.userDbPath()); }

int FailWrite(LocalStore& store, int result) {
    return Fail(kExitStore, "the user database " + store.userDbPath() + " refused the write (result " +
                                std::to_string(result) + "); nothing was stored");
}

int FailWrite(LocalStore& store, StoreStatus status) {
    if (status == StoreStatus::kRefused)
        return Fail(kExitUsage, "a text holds the reserved field separator \"~\xE9\xBA\xA4^\"; nothing was stored");
    return FailWrite(store, ResultOf(status));
}

}  // namespace kivtal::cli
