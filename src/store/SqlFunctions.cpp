#include "store/SqlFunctions.h"

#include <sqlite3.h>

#include "store/SqliteDb.h"
#include "text/NamePinyin.h"

namespace kivtal {

namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void FirstLetterNotAZ(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // An ASCII letter is one byte in UTF-8 as in UTF-16, so the first byte decides.
    const auto* text = sqlite3_value_text(argv[0]);
    const bool letter = text != nullptr && IsAsciiLetter(text[0]);
    sqlite3_result_int(ctx, letter ? 0 : 1);
}

std::string_view TextArg(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, sqlite3_value_bytes(value)) : std::string_view();
}

void PinyinMatchesFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 3) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const std::string_view term = TextArg(argv[2]);
    const bool match = !term.empty() && PinyinMatches(PinyinSyllables(TextArg(argv[0]), TextArg(argv[1])), term);
    sqlite3_result_int(ctx, match ? 1 : 0);
}

}  // namespace

int RegisterPinyinMatches(SqliteDb& db) {
    return sqlite3_create_function_v2(db.raw(), "pinyinMatches", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      PinyinMatchesFunction, nullptr, nullptr, nullptr);
}

int RegisterFirstLetterNotAZ(SqliteDb& db) {
    return sqlite3_create_function_v2(db.raw(), "getFirstLetterNotAZ", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      FirstLetterNotAZ, nullptr, nullptr, nullptr);
}

}  // namespace kivtal
