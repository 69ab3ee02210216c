#pragma once
#include <string>
#include <vector>

namespace kivtal {

// The single statement that creates the login database.
extern const char* const kLoginDbSchema;

// The CREATE TABLE statements of a user database, in creation order (17 tables).
const std::vector<std::string>& UserDbSchema();

// Lookup indexes: the change log is searched by (row, kind) on every logged edit and
// acknowledgement, bank accounts by their contact, and received changes find their rows
// and parents by server id. Without them each lookup scans its whole table, which makes
// listing 10,000 contacts or acknowledging a large upload take seconds. They add no
// column, so files with or without them open alike.
const std::vector<std::string>& UserDbIndexes();

// Tables added after the first schema, made IF NOT EXISTS at creation and at every
// login, so that older files get them: the received changes set aside after failing
// run after run (tb_sync_set_aside), when the last sync finished (client_last_sync) and
// why the service refused an uploaded entry (tb_sync_refused).
const std::vector<std::string>& UserDbAdditions();

// Columns added to the tables later still: made at creation, and at login when a file
// lacks them. Why a change was set aside, and when (tb_sync_set_aside); when a
// contact, matter, remark or reminder was deleted (deleted_at).
struct AddedColumn {
    const char* table;
    const char* column;
    const char* type;
};
const std::vector<AddedColumn>& UserDbAddedColumns();

// Seeds the single-row tables so that later updates always find their row.
extern const char* const kSeedSyncTime;
extern const char* const kSeedHardwareInfo;

}  // namespace kivtal
