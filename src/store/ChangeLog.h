#pragma once
// The change log of local edits (tb_sync_record): one entry per changed row, written
// in the same transaction as the row itself, so the row and its entry never disagree.
#include <vector>

#include "model/Records.h"
#include "model/SyncKinds.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"

namespace kivtal {

// --- Helpers that run inside the caller's transaction, on its open connection. ---
// Each returns 0 on success and 1 on failure; a failure must fail the caller's write
// (roll back the row change too).

int InsertSyncEntry(SqliteDb& db, const SyncRecord& entry);
int UpdateSyncEntry(SqliteDb& db, const SyncRecord& entry);

// Log an add: call after inserting the row and writing its new local id into the
// record, so that the value string carries it.
int LogAdd(SqliteDb& db, const BusinessCard& r);
int LogAdd(SqliteDb& db, const TalEvent& r);
int LogAdd(SqliteDb& db, const UserInfo& r);
int LogAdd(SqliteDb& db, const EventComment& r);
int LogAdd(SqliteDb& db, const EventAlarm& r);
int LogAdd(SqliteDb& db, const CardGroup& r);
int LogAdd(SqliteDb& db, const EventGroup& r);
int LogAdd(SqliteDb& db, const UserSettings& r);
int LogAdd(SqliteDb& db, const UserBankInfo& r);

// Log a change: call after updating the row (a soft delete is a change with state 1).
int LogChange(SqliteDb& db, const BusinessCard& r);
int LogChange(SqliteDb& db, const TalEvent& r);
int LogChange(SqliteDb& db, const UserInfo& r);
int LogChange(SqliteDb& db, const EventComment& r);
int LogChange(SqliteDb& db, const EventAlarm& r);
int LogChange(SqliteDb& db, const CardGroup& r);
int LogChange(SqliteDb& db, const EventGroup& r);
int LogChange(SqliteDb& db, const UserSettings& r);
int LogChange(SqliteDb& db, const UserBankInfo& r);

// --- Public operations: each takes the store lock and opens the user database. ---
class ChangeLog {
public:
    explicit ChangeLog(LocalStore& store) : store_(store) {}

    int PendingEntries(std::vector<SyncRecord>& out);
    int ApplyCommitResults(int syncTime, const std::vector<SyncRecord>& results);
    int StoreSyncTime(int syncTime);
    int ReadSyncTime(int& syncTime);

private:
    LocalStore& store_;
};

}  // namespace kivtal
