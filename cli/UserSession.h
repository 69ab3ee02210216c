#pragma once
// Which account's data a command works on: the last login remembered in the login
// database, as the desktop client fills its login window from it.
#include "model/Records.h"
#include "store/LocalStore.h"
#include "store/StoreStatus.h"

namespace kivtal::cli {

// Finds the last login and points the store at its user database. A missing user
// database is reported, never created: an empty new one would hide the real one's
// loss. kExitOk, kExitLogin (no remembered login) or kExitStore; the message is printed.
int SelectLastUser(LocalStore& store, LoginRecord& login);

// For networked commands: the last login, which must have chosen automatic login,
// since only then does the client keep its password digest for logging in again.
int FindAutoLogin(LocalStore& store, LoginRecord& login);

// The outcome of a typed by-id read of a record with that state: kExitOk for a live
// record, kExitNotFound naming `what` for a missing or deleted one, kExitStore when the
// database failed.
int LiveOrFail(LocalStore& store, StoreStatus status, int state, const std::string& what);

// Store failures of the selected user database, printed; both return kExitStore.
int FailRead(LocalStore& store);
int FailWrite(LocalStore& store, int result);
// A refused contact, group or matter write: a text holding the value-string separator
// is the user's to change (kExitUsage); anything else is FailWrite's.
int FailWrite(LocalStore& store, StoreStatus status);

}  // namespace kivtal::cli
