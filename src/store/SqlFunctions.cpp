#include "store/SqlFunctions.h"

#include <sqlite3.h>

#include "store/SqliteDb.h"

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

}  // namespace

int RegisterFirstLetterNotAZ(SqliteDb& db) {
    return sqlite3_create_function_v2(db.raw(), "getFirstLetterNotAZ", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      FirstLetterNotAZ, nullptr, nullptr, nullptr);
}

}  // namespace kivtal
