// Contact groups: writes with their change-log entries, and the group lists.
#include <sqlite3.h>

#include "store/ChangeLogEntries.h"
#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"
#include "store/RecordSql.h"

namespace kivtal {
namespace {

constexpr const char* kDeleteGroup = "UPDATE tb_bc_group set group_state=? WHERE group_id =?;";
const std::string kLiveGroups = recordsql::SelectSql<CardGroup>() + "WHERE group_state = 0;";
const std::string kGroupById = recordsql::SelectSql<CardGroup>() + "WHERE group_id = ?;";
constexpr const char* kCountOfGroup = "SELECT count(*) FROM tb_bc where group_id = ? and bc_state = 0;";

using recordsql::RecordOfRow;

// Fills the count of live contacts of every group, through one statement.
int FillCounts(SqliteDb& db, CardGroup* first, CardGroup* last) {
    SqliteStatement count(db.raw(), kCountOfGroup);
    if (!count.ok()) return 1;
    for (CardGroup* g = first; g != last; ++g) {
        count.reset();
        if (count.bind({Arg(g->group_id)}) != SQLITE_OK || count.step() != SQLITE_ROW) return 1;
        g->count = contacts::ColumnInt(count, 0);
    }
    return 0;
}

}  // namespace

int InsertGroup(SqliteDb& db, CardGroup& group) {
    if (db.execute(recordsql::InsertSql<CardGroup>(), recordsql::ColumnArgs(group, true)) != SQLITE_OK) return 1;
    group.group_id = static_cast<int>(db.lastInsertId());
    return LogAdd(db, group);
}

int ReadLiveGroups(SqliteDb& db, CardGroupList& out) {
    ResultTable t;
    if (db.query(kLiveGroups, t) != SQLITE_OK) return 1;
    for (int r = 0; r < t.rows(); ++r) out.push_back(RecordOfRow<CardGroup>(t, r));
    return 0;
}

StoreStatus ContactStore::AddGroup(CardGroup& group) {
    return contacts::RunLoggedWrite(store_, group, [&](SqliteDb& db) { return StatusOf(InsertGroup(db, group) == 0); });
}

StoreStatus ContactStore::ModifyGroup(const CardGroup& group) {
    CardGroup copy = group;
    return contacts::RunLoggedWrite(store_, copy, [&](SqliteDb& db) {
        SqlArgs args = recordsql::ColumnArgs(copy, true);
        args.push_back(Arg(copy.group_id));
        if (const StoreStatus s = contacts::UpdateExistingRow(db, recordsql::UpdateSql<CardGroup>(), args);
            s != StoreStatus::kOk)
            return s;
        return StatusOf(LogChange(db, copy) == 0);
    });
}

StoreStatus ContactStore::DeleteGroup(CardGroup& group) {
    return contacts::RunWrite(store_, group, [&](SqliteDb& db) {
        group.group_state = 1;
        const SqlArgs args{Arg(group.group_state), Arg(group.group_id)};
        if (const StoreStatus s = contacts::UpdateExistingRow(db, kDeleteGroup, args); s != StoreStatus::kOk) return s;
        return StatusOf(LogChange(db, group) == 0);
    });
}

int ContactStore::ContactGroups(CardGroupList& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        const std::size_t start = out.size();
        if (ReadLiveGroups(db, out) != 0) return 1;
        return FillCounts(db, out.data() + start, out.data() + out.size());
    });
}

int ContactStore::ContactGroupNames(CardGroupList& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) { return ReadLiveGroups(db, out); });
}

int ContactStore::GroupById(int groupId, CardGroup& out) { return ResultOf(FindGroup(groupId, out)); }

StoreStatus ContactStore::FindGroup(int groupId, CardGroup& out) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return StoreStatus::kFailed;
    ResultTable t;
    if (session.db().query(kGroupById, {Arg(groupId)}, t) != SQLITE_OK) return StoreStatus::kFailed;
    if (t.empty()) return StoreStatus::kNotFound;
    out = RecordOfRow<CardGroup>(t, 0);
    return StoreStatus::kOk;
}

}  // namespace kivtal
