#pragma once
// Taking the other device's value of a clash after all. The value becomes an edit of
// this device's record, saved and logged like any edit, so it goes up with the next
// sync and settles the record everywhere.
#include "store/LocalStore.h"
#include "store/SyncBases.h"

namespace kivtal {

// Writes the clash's other value into its field over the record as it is now, or, for
// a delete against an edit, deletes the record; then closes the clash. 0; kClashNotFound
// (no open clash, or its record is gone); kClashNotAdoptable for a kind no editor
// shows (contacts, matters and their groups are adoptable; dismiss the others); 1 when
// the store fails (the clash stays open; adopting again is harmless).
int AdoptClash(LocalStore& store, int clashId);
inline constexpr int kClashNotAdoptable = 3;

// Whether the clash is a delete against an edit: adopting it deletes the record.
bool IsDeleteClash(const SyncClash& clash);

}  // namespace kivtal
