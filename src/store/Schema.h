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
// Tables the client keeps for itself beside the shared file format (no "tb_" prefix, so
// no other copy of the program mistakes them for its own); created when missing.
const std::vector<std::string>& UserDbClientTables();

// Seeds the single-row tables so that later updates always find their row.
extern const char* const kSeedSyncTime;
extern const char* const kSeedHardwareInfo;

}  // namespace kivtal
