#pragma once
// Received changes that could not be written run after run (tb_sync_set_aside). While
// one fails, its whole batch is rolled back and the sync time stays, so every later
// change would wait behind it for good; after kSetAsideAfterRuns failures in a row that
// will not heal by themselves (the database refuses the row, the values cannot be read,
// the kind is unknown) it is set aside with the reason, and the changes after it arrive.
// A failure that may heal (a busy or full disk, a failed open) is not counted. Every
// later sync tries the set-aside changes again first; one that goes through leaves the
// list. People see the list, retry or discard its entries.
#include <string>
#include <vector>

#include "model/Records.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"

namespace kivtal {

// One set-aside change as people see it.
struct SetAsideChange {
    int id = 0;  // aside_id, what retry and discard name
    SyncRecord change;
    std::string name;    // the record's name when its values can be read and it has one
    std::string reason;  // why its last try failed
    int failedRuns = 0;
    int setAsideAt = 0;  // seconds since 1970; 0 for changes set aside before it was kept
};

// The changes set aside, oldest first. 0, or 1 when the database fails (out untouched).
int ListSetAsideChanges(LocalStore& store, std::vector<SetAsideChange>& out);
// The number of received changes set aside. 0, or 1 when the database fails.
int SetAsideChangeCount(LocalStore& store, int& count);
// Drops a set-aside change for good: this device will not hold it. 0 dropped, 1 when the
// database fails, kSetAsideNotFound when no set-aside change has that id.
int DiscardSetAsideChange(LocalStore& store, int id);
inline constexpr int kSetAsideNotFound = 3;

namespace setaside {

inline constexpr int kSetAsideAfterRuns = 3;

// Why a received change could not be written, and whether trying again can help.
struct Failure {
    bool permanent = false;
    std::string reason;
};

// The rest is internal to the store, on the caller's open connection.

// The changes already set aside, oldest first. False when the query fails.
bool ReadSetAside(SqliteDb& db, std::vector<SetAsideChange>& out);
// Whether the received change is one of them (same kind, way, server id and values).
bool Contains(const std::vector<SetAsideChange>& setAside, const SyncRecord& change);
// One more run in which the change failed for good; it is set aside at the limit
// (`setAside` says whether it now is). Runs in its own transaction, after the batch was
// rolled back. False when it could not be stored.
bool CountFailure(SqliteDb& db, const SyncRecord& change, const std::string& reason, bool& setAside);
// A set-aside change that failed again: its count and reason. False when it fails.
bool NoteFailedAgain(SqliteDb& db, int id, const std::string& reason);
// A set-aside change that went through leaves the list. False when it fails.
bool Remove(SqliteDb& db, int id);
// A batch went through: the failures counted so far were not in a row. Inside the
// batch's transaction. False when the statement fails.
bool ForgetFailures(SqliteDb& db);

}  // namespace setaside

}  // namespace kivtal
