#pragma once
// What this device last agreed with the service about each synced record (tb_sync_base:
// the value string that went up acknowledged, or came down and was stored), and the
// clashes a field-by-field settlement left for the user (tb_sync_clash). The bases
// are written inside the transactions that acknowledge and apply; a record without
// one is settled by the older rules.
#include <set>
#include <vector>

#include "model/FieldMerge.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"

namespace kivtal {

// The bases of `keys` that exist. 0, or 1 when the database fails (out untouched).
int ReadSyncBases(LocalStore& store, const std::vector<SyncBaseKey>& keys, SyncBases& out);

// The open clashes, oldest first. 0, or 1 when the database fails.
int ListClashes(LocalStore& store, SyncClashList& out);
// The open clashes of one record by local id. 0, or 1 when the database fails.
int ClashesOf(LocalStore& store, int operCode, int rowId, SyncClashList& out);
// The local ids of the records of a kind with open clashes. 0, or 1 when the database fails.
int RowsWithClashes(LocalStore& store, int operCode, std::set<int>& out);
// The number of open clashes. 0, or 1 when the database fails.
int CountClashes(LocalStore& store, int& count);
// One clash by id. 0; kClashNotFound; 1 when the database fails.
int FindClash(LocalStore& store, int clashId, SyncClash& out);
// Closes a clash (the user dismissed it, or adopted its value by an edit of its own).
// 0; kClashNotFound; 1 when the database fails.
int CloseClash(LocalStore& store, int clashId);
inline constexpr int kClashNotFound = 2;

namespace syncbase {

// The rest is internal to the store, on the caller's open connection (and transaction).

// Keeps `values` as the base of the record; nothing for a record without a server id
// or without values. False when the statement fails.
bool Write(SqliteDb& db, int operCode, int serverId, const std::string& values);
// Gives the record the base `before` holds for it, or none. False when it fails.
bool Restore(SqliteDb& db, int operCode, int serverId, const SyncBases& before);
// Stores the clashes, each replacing an open one of the same record and field.
// False when a statement fails.
bool WriteClashes(SqliteDb& db, const SyncClashList& clashes);

}  // namespace syncbase

}  // namespace kivtal
