#pragma once
#include "Database.h"

namespace kivtal::service {

// Creates the tables on a fresh database; a no-op on an existing one.
void CreateSchema(Database& db);

}  // namespace kivtal::service
