#include "store/ContactBirthdays.h"

#include "store/ContactStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kSelect =
    "SELECT bc_id, bc_name, birthday_type, birthday FROM tb_bc WHERE bc_state = 0 AND coalesce(birthday, '') <> '';";

}  // namespace

int ReadContactBirthdays(LocalStore& store, std::vector<ContactBirthday>& out) {
    return contacts::RunRead(store, [&](SqliteDb& db) {
        ResultTable t;
        if (db.query(kSelect, t) != SQLITE_OK) return 1;
        out.reserve(out.size() + static_cast<std::size_t>(t.rows()));
        for (int r = 0; r < t.rows(); ++r) {
            out.push_back({t.integer(r, 0), t.text(r, 1), t.integer(r, 2), t.text(r, 3)});
        }
        return 0;
    });
}

}  // namespace kivtal
