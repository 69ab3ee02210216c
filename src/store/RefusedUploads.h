#pragma once
// Change-log entries the service refused (state SYNC_REFUSED, with the reason in
// tb_sync_refused). A refused entry stays out of later uploads, so that it no longer
// holds the others back, but it is kept: the user can list it, send it again or give
// it up. Editing the row again makes its entry pending by itself.
#include <string>
#include <vector>

#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal {

struct RefusedUpload {
    int entryId = 0;   // sync_id of the change-log entry
    int kind = 0;      // OPER_*
    int rowId = 0;     // the local row
    int serverId = 0;  // 0 when the service never gave the row one
    std::string name;  // a contact's or a group's name; empty for other kinds
    std::string reason;
};

// Marks the entries (by sync_id) refused with `reason`, all or none. Only entries still
// being sent change: one the run has let go of meanwhile is left as it is. 0, or 1 when
// the database fails (nothing changed).
int MarkUploadsRefused(LocalStore& store, const std::vector<SyncRecord>& entries, const std::string& reason);

// The refused entries, oldest first. 0, or 1 when the database fails (out untouched).
int ListRefusedUploads(LocalStore& store, std::vector<RefusedUpload>& out);
// 0 with the count, or 1 when the database fails.
int RefusedUploadCount(LocalStore& store, int& count);

// Makes a refused entry pending again, so the next sync sends it. Discarding deletes
// it: the row stays as it is here and goes up only when edited again. Both return 0,
// 2 when no refused entry has that id, or 1 when the database fails (nothing changed).
int RetryRefusedUpload(LocalStore& store, int entryId);
int DiscardRefusedUpload(LocalStore& store, int entryId);

}  // namespace kivtal
