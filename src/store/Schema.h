#pragma once
#include <string>
#include <vector>

namespace kivtal {

// The single statement that creates the login database.
extern const char* const kLoginDbSchema;

// The CREATE TABLE statements of a user database, in creation order (17 tables).
const std::vector<std::string>& UserDbSchema();

// Seeds the single-row tables so that later updates always find their row.
extern const char* const kSeedSyncTime;
extern const char* const kSeedHardwareInfo;

}  // namespace kivtal
