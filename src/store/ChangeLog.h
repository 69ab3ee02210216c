#pragma once
// The change log of local edits (tb_sync_record): one entry per changed row, written
// in the same transaction as the row itself, so the row and its entry never disagree.
#include <vector>

#include "model/FieldMerge.h"
#include "model/Records.h"
#include "model/SyncKinds.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"

namespace kivtal {

// Each operation takes the store lock and opens the user database.
class ChangeLog {
public:
    explicit ChangeLog(LocalStore& store) : store_(store) {}

    // Appends the entries in state SYNC_PENDING. 0, or 1 when the database fails.
    int PendingEntries(std::vector<SyncRecord>& out);
    // Stores the sync time, then writes each result's server id into its row and marks
    // its entry acknowledged, all results or none. 0 when everything was stored.
    int ApplyCommitResults(int syncTime, const std::vector<SyncRecord>& results);
    // Writes the server ids and marks the entries acknowledged, all or nothing, without
    // moving the sync time (for immediate commits, which must not skip changes not yet
    // received; a sync run stores them with the received changes, settleSyncRun).
    int AcknowledgeResults(const std::vector<SyncRecord>& results);
    // Puts acknowledged entries of these rows back to pending modifies, all or none, and
    // gives each row (by kind and server id) back the base it had in `basesBefore`, or
    // none, so that the next settlement sees this device's change again. 0, 1 on
    // failure, -1 when the transaction cannot begin.
    int ReopenEntries(const std::vector<SyncRecord>& rows, const SyncBases& basesBefore = {});
    int StoreSyncTime(int syncTime);
    // Leaves syncTime untouched when the table has no row.
    int ReadSyncTime(int& syncTime);
    // The wall-clock time (seconds since 1970) the last complete sync run finished;
    // 0 when none has yet.
    int StoreLastSyncFinish(int finishedAt);
    int ReadLastSyncFinish(int& finishedAt);

    // Appends the pending entries and marks them as being sent, in one transaction, so
    // that an edit landing at any moment either is read with its values or is deferred;
    // out is untouched unless it committed. 0, 1 on failure, -1 when it cannot begin.
    int TakePendingForSending(std::vector<SyncRecord>& out);
    // Pending entries with these sync_ids go to SYNC_SENDING. Read apart from the
    // marking, an edit may land in between and be taken for acknowledged: a sync run
    // uses TakePendingForSending. 0, 1 on failure, -1 when the transaction cannot begin.
    int MarkSending(const std::vector<SyncRecord>& entries);
    // Puts entries left in SYNC_SENDING back to pending. A sync run lets go of them with
    // replayDeferredChanges, which replays the deferred edits in the same transaction.
    int ResetSendingEntries();
    // Appends the deferred changes and empties tb_sync_record_tmp, in one transaction;
    // out is untouched unless it committed. 0, 1 on failure, -1 when it cannot begin.
    int TakeDeferredEntries(std::vector<SyncRecord>& out);

private:
    LocalStore& store_;
};

}  // namespace kivtal
