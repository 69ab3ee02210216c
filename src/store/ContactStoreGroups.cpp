// Contact groups: writes with their change-log entries, and the group lists.
#include <sqlite3.h>

#include "store/ChangeLogEntries.h"
#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kInsertGroup = "INSERT INTO tb_bc_group(group_name,server_id,group_state)VALUES(?,?,?);";
constexpr const char* kUpdateGroup = "UPDATE tb_bc_group SET group_name=?,server_id=?,group_state=? where group_id=?; ";
constexpr const char* kDeleteGroup = "UPDATE tb_bc_group set group_state=? WHERE group_id =?;";
constexpr const char* kLiveGroups =
    "SELECT group_id,group_name,server_id,group_state FROM tb_bc_group WHERE group_state = 0;";
constexpr const char* kGroupById =
    "SELECT group_id,group_name,server_id,group_state FROM tb_bc_group WHERE group_id = ?;";
constexpr const char* kCountOfGroup = "SELECT count(*) FROM tb_bc where group_id = ? and bc_state = 0;";

CardGroup GroupOfRow(const ResultTable& t, int r) {
    CardGroup g;
    g.group_id = t.integer(r, 0);
    g.group_name = t.text(r, 1);
    g.server_id = t.integer(r, 2);
    g.group_state = t.integer(r, 3);
    return g;
}

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
    const SqlArgs args{Arg(group.group_name), Arg(group.server_id), Arg(group.group_state)};
    if (db.execute(kInsertGroup, args) != SQLITE_OK) return 1;
    group.group_id = static_cast<int>(db.lastInsertId());
    return LogAdd(db, group);
}

int ReadLiveGroups(SqliteDb& db, CardGroupList& out) {
    ResultTable t;
    if (db.query(kLiveGroups, t) != SQLITE_OK) return 1;
    for (int r = 0; r < t.rows(); ++r) out.push_back(GroupOfRow(t, r));
    return 0;
}

int ContactStore::AddGroup(CardGroup& group) {
    return contacts::RunWrite(store_, group, [&](SqliteDb& db) { return InsertGroup(db, group); });
}

int ContactStore::ModifyGroup(const CardGroup& group) {
    CardGroup copy = group;
    return contacts::RunWrite(store_, copy, [&](SqliteDb& db) {
        const SqlArgs args{Arg(copy.group_name), Arg(copy.server_id), Arg(copy.group_state), Arg(copy.group_id)};
        if (contacts::UpdateExistingRow(db, kUpdateGroup, args) != 0) return 1;
        return LogChange(db, copy);
    });
}

int ContactStore::DeleteGroup(CardGroup& group) {
    return contacts::RunWrite(store_, group, [&](SqliteDb& db) {
        group.group_state = 1;
        if (contacts::UpdateExistingRow(db, kDeleteGroup, {Arg(group.group_state), Arg(group.group_id)}) != 0) return 1;
        return LogChange(db, group);
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
    out = GroupOfRow(t, 0);
    return StoreStatus::kOk;
}

}  // namespace kivtal
