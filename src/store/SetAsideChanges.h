#pragma once
// Received changes that could not be written run after run (tb_sync_set_aside). While
// one fails, its whole batch is rolled back and the sync time stays, so every later
// change would wait behind it for good; after kSetAsideAfterRuns failures in a row it is
// kept here for inspection and skipped, and the changes after it arrive. Internal to
// the store, on the caller's open connection.
#include <vector>

#include "model/Records.h"
#include "store/SqliteDb.h"

namespace kivtal::setaside {

inline constexpr int kSetAsideAfterRuns = 3;

// The changes already set aside. False when the query fails.
bool ReadSetAside(SqliteDb& db, std::vector<SyncRecord>& out);
// Whether the received change is one of them (same kind, way, server id and values).
bool Contains(const std::vector<SyncRecord>& setAside, const SyncRecord& change);
// One more run in which the change failed; it is set aside at the limit. Runs in its
// own transaction, after the batch was rolled back. False when it could not be stored.
bool CountFailure(SqliteDb& db, const SyncRecord& change);
// A batch went through: the failures counted so far were not in a row. Inside the
// batch's transaction. False when the statement fails.
bool ForgetFailures(SqliteDb& db);

}  // namespace kivtal::setaside
