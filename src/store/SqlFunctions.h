#pragma once

namespace kivtal {

class SqliteDb;

// Registers getFirstLetterNotAZ(text): 0 when the text starts with an ASCII letter,
// 1 otherwise (also for an empty text), NULL for NULL. Returns SQLITE_OK or the error.
int RegisterFirstLetterNotAZ(SqliteDb& db);
// Registers pinyinMatches(name, pinyin, term): 1 when term spells the name's stored
// pinyin as PinyinMatches (text/NamePinyin.h) takes it, else 0; 0 for a NULL.
int RegisterPinyinMatches(SqliteDb& db);

}  // namespace kivtal
