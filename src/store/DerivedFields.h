#pragma once
// The fields a write derives from the others instead of taking them from its caller:
// a contact's name pinyin (the list's order, its letter bar, the pinyin search) and
// the server id of a contact's or matter's group (what the change log sends). The
// contact and matter writes fill them just before the row is written, so every
// caller gets the same answer. Internal to the store.
#include <string>

#include "model/Records.h"
#include "store/SqliteDb.h"
#include "store/StoreStatus.h"

namespace kivtal::derived {

// The pinyin of the card's name, unless the card brings a non-empty one made for this
// name: `storedName` is the row's name before the write (nullptr for a new row), and a
// renamed contact always gets a fresh pinyin.
void FillPinyin(BusinessCard& card, const std::string* storedName);

// Group 0 (none) has server group 0; a group row takes its server id (-1 while it has
// none). A group id no row holds keeps the server id the record brings: a change
// received for a group this device never got still names the service's group.
// kFailed when the lookup fails, the record untouched.
StoreStatus FillServerGroupId(SqliteDb& db, BusinessCard& card);
StoreStatus FillServerGroupId(SqliteDb& db, TalEvent& matter);

// Both of a contact's derived fields before an insert (isNew) or an update of its row.
StoreStatus FillContact(SqliteDb& db, BusinessCard& card, bool isNew);

}  // namespace kivtal::derived
