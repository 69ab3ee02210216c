// The counts the group list shows beside 全部 and 常用.
#include <sqlite3.h>

#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kCounts = "SELECT count(*), coalesce(sum(common_use = 1), 0) FROM tb_bc where bc_state = 0;";

}  // namespace

int ContactStore::ContactCounts(int& live, int& common) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        ResultTable t;
        if (db.query(kCounts, t) != SQLITE_OK || t.empty()) return 1;
        live = t.integer(0, 0);
        common = t.integer(0, 1);
        return 0;
    });
}

}  // namespace kivtal
