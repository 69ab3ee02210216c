#pragma once
// The jobs of the account: login, version check, logout and the server-time check.
// Each runs on a job thread, talks to the service through ctx.net and reports through
// ctx.post; the signed-in user's state is ctx.user.
#include <string>

#include "net/JobContext.h"

namespace kivtal {

// WM_RES_LOGIN codes besides 0.
inline constexpr int kLoginFirstOnMachine = -6;  // posted early: sync before opening
inline constexpr int kLoginRefused = -3;
inline constexpr int kLoginNoNetwork = -5;
inline constexpr int kLoginBadReply = -7;
// The user's database could not be opened or created, so there is nothing to open.
inline constexpr int kLoginStoreFailure = 1;

// WM_RES_CHECK_VER codes.
enum VersionCheckCode : int {
    VER_STARTED = 1,
    VER_DOWNLOADING = 2,
    VER_PROGRESS = 3,
    VER_INSTALLER_READY = 4,
    VER_DOWNLOAD_FAILED = 5,
    VER_NO_NETWORK = 7,
    VER_BAD_REPLY = 8,
    VER_UP_TO_DATE = 9,
};

// WM_RES_GET_SERVER_TIME codes.
enum ServerTimeCode : int {
    TIME_NO_NETWORK = 1,
    TIME_ALREADY_DUE = 2,  // the reminder time is not later than the service's clock
    TIME_AHEAD = 3,
};

// Where the version check puts the installer it downloads.
std::string InstallerPath(const JobContext& ctx);

// Posts WM_RES_LOGIN (and -6 first on a first login on this machine); runs the
// version check after a successful online login, else posts WM_RES_CHECK_VER 9.
// Returns the result it posted.
int RunLoginJob(JobContext& ctx);
// Posts 1, progress, and the final code; returns the final code.
int RunVersionCheckJob(JobContext& ctx);
// Posts WM_RES_LOGOUT: -1 when the service reported an error, else 0.
int RunLogoutJob(JobContext& ctx);
// Compares a reminder's send time with the service's clock; posts and returns the code.
int RunServerTimeJob(JobContext& ctx, int reminderTime);

}  // namespace kivtal
