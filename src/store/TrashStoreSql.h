#pragma once
// Internal to the trash store: the frame of one restore and of one trash read.
#include <sqlite3.h>

#include <exception>
#include <string>
#include <vector>

#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "store/TrashStore.h"

namespace kivtal::trash {

// Lock, open, begin, run body(db), commit. body returns 0, 1 or kNotDeleted; anything
// but 0 (or an exception from the change log) rolls everything back and is returned.
template <class Body>
int RunRestore(LocalStore& store, Body&& body) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteTransaction tx(session.db());
    if (!tx.began()) return -1;
    int rc = 1;
    try {
        rc = body(session.db());
    } catch (const std::exception&) {
        return 1;
    }
    if (rc != 0) return rc;
    return tx.commit() == SQLITE_OK ? 0 : 1;
}

// Runs `sql` (id, title, detail, deleted_at; one parameter: since) and appends its rows.
int ReadTrash(LocalStore& store, const char* sql, int since, TrashedRecordList& out);
// Runs `sql` (one count; one parameter: since).
int CountTrash(LocalStore& store, const char* sql, int since, int& count);

// Restores a deleted group row of `table`, logged with `Group`'s change.
template <class Group>
int RestoreGroupRow(LocalStore& store, const char* table, int groupId);

}  // namespace kivtal::trash
