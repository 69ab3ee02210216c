#pragma once
// The change log's entries, written inside the caller's transaction on its open
// connection, so a row and its entry never disagree.
#include <vector>

#include "model/Records.h"
#include "model/SyncKinds.h"
#include "store/SqliteDb.h"

namespace kivtal {

// Each returns 0 on success and 1 on failure; a failure must fail the caller's write
// (roll back the row change too).

int InsertSyncEntry(SqliteDb& db, const SyncRecord& entry);
// An entry in state SYNC_DEFERRED is appended to tb_sync_record_tmp instead; the
// entry in tb_sync_record is then left as it was.
int UpdateSyncEntry(SqliteDb& db, const SyncRecord& entry);

// The deferred changes (tb_sync_record_tmp), in the order they were made, and their
// removal: for a replay that must read, rewrite and clear in one transaction.
int ReadDeferredEntries(SqliteDb& db, std::vector<SyncRecord>& out);
int ClearDeferredEntries(SqliteDb& db);

// Writes each uploaded entry's server id into its row and marks the entry as the
// service answered, on the caller's transaction: for a sync run that stores them with
// the received changes. 0, or 1 at the first failing statement.
int AcknowledgeOn(SqliteDb& db, const std::vector<SyncRecord>& results);

// A text holding the value-string separator cannot be logged: both rules then return 1.

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

}  // namespace kivtal
