#pragma once
// Which account's data a command works on: the last login remembered in the login
// database, as the desktop client fills its login window from it.
#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal::cli {

// Finds the last login and points the store at its user database. A missing user
// database is reported, never created: an empty new one would hide the real one's
// loss. kExitOk, kExitLogin (no remembered login) or kExitStore; the message is printed.
int SelectLastUser(LocalStore& store, LoginRecord& login);

// For networked commands: the last login, which must have chosen automatic login,
// since only then does the client keep its password digest for logging in again.
int FindAutoLogin(LocalStore& store, LoginRecord& login);

// False when the selected user database cannot be read at all: tells a store failure
// from a record that is not there, as the by-id reads answer 1 for both.
bool UserDbReadable(LocalStore& store);

// A failed by-id read: kExitNotFound naming `what`, or kExitStore when the database
// itself cannot be read.
int NotFoundOrStoreFailure(LocalStore& store, const std::string& what);

// Store failures of the selected user database, printed; both return kExitStore.
int FailRead(LocalStore& store);
int FailWrite(LocalStore& store, int result);

}  // namespace kivtal::cli
