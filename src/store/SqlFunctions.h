#pragma once

namespace kivtal {

class SqliteDb;

// Registers getFirstLetterNotAZ(text): 0 when the text starts with an ASCII letter,
// 1 otherwise (also for an empty text), NULL for NULL. Returns SQLITE_OK or the error.
int RegisterFirstLetterNotAZ(SqliteDb& db);

}  // namespace kivtal
