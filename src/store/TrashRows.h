#pragma once
// The deletion stamps (deleted_at) of contacts and matters, kept in step with their
// state on the caller's connection and inside the caller's transaction: a row that
// became deleted gets the time, a row that became live again loses it. A matter takes
// its live remarks and reminders with it under the same stamp, and brings back exactly
// those when it is restored. Used by the local deletes and restores and by the
// received changes, so a delete that arrived from the service is stamped too.
#include "model/Records.h"
#include "store/SqliteDb.h"

namespace kivtal::trash {

// Each returns true, or false when a statement fails (the caller must roll back).
// `now`: seconds since 1970.

// The contact row bc_id.
bool SettleContact(SqliteDb& db, int bcId, int now);
// The matter row event_id, with its remarks and reminders.
bool SettleMatter(SqliteDb& db, int eventId, int now);

// After a received change was written over the row that holds `serverId`: settles that
// contact or matter. Other kinds have no stamp.
bool SettleReceived(SqliteDb& db, const BusinessCard& card, int serverId, int now);
bool SettleReceived(SqliteDb& db, const TalEvent& matter, int serverId, int now);
template <class Record>
bool SettleReceived(SqliteDb&, const Record&, int, int) {
    return true;
}

}  // namespace kivtal::trash
