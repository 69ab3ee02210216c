#pragma once
#include "Database.h"

namespace kivtal::service {

// The version of the tables this service reads and writes, kept in schema_version.
inline constexpr std::int64_t kSchemaVersion = 1;

// Creates the tables on a fresh database and records its schema version; a no-op on an
// existing one. Throws DbError for a database a newer service has changed.
void CreateSchema(Database& db);

}  // namespace kivtal::service
