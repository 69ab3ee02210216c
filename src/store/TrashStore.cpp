// The trash's reads, and the restore of contacts and contact groups.
#include "store/TrashStore.h"

#include "model/Clock.h"
#include "store/ChangeLogEntries.h"
#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"
#include "store/TrashRows.h"
#include "store/TrashStoreSql.h"

namespace kivtal {
namespace trash {

int ReadTrash(LocalStore& store, const char* sql, int since, TrashedRecordList& out) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    if (session.db().query(sql, {Arg(since)}, t) != SQLITE_OK) return 1;
    for (int r = 0; r < t.rows(); ++r) out.push_back({t.integer(r, 0), t.text(r, 1), t.text(r, 2), t.integer(r, 3)});
    return 0;
}

int CountTrash(LocalStore& store, const char* sql, int since, int& count) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    if (session.db().query(sql, {Arg(since)}, t) != SQLITE_OK || t.empty()) return 1;
    count = t.integer(0, 0);
    return 0;
}

template <class Group>
int RestoreGroupRow(LocalStore& store, const char* table, int groupId) {
    return RunRestore(store, [&](SqliteDb& db) {
        ResultTable t;
        const std::string where = std::string(" FROM ") + table + " WHERE group_id=?;";
        if (db.query("SELECT group_name,server_id,group_state" + where, {Arg(groupId)}, t) != SQLITE_OK) return 1;
        if (t.empty() || t.integer(0, 2) == 0) return TrashStore::kNotDeleted;
        Group g;
        g.group_id = groupId;
        g.group_name = t.text(0, 0);
        g.server_id = t.integer(0, 1);
        if (db.execute(std::string("UPDATE ") + table + " SET group_state=0 WHERE group_id=?;", {Arg(groupId)}) !=
            SQLITE_OK)
            return 1;
        return LogChange(db, g);
    });
}

template int RestoreGroupRow<CardGroup>(LocalStore&, const char*, int);
template int RestoreGroupRow<EventGroup>(LocalStore&, const char*, int);

}  // namespace trash

namespace {

constexpr const char* kDeletedContacts =
    "SELECT bc_id,bc_name,company_name,deleted_at FROM tb_bc WHERE bc_state<>0 AND deleted_at>=? "
    "ORDER BY deleted_at DESC,bc_id DESC;";
constexpr const char* kCountDeletedContacts = "SELECT count(*) FROM tb_bc WHERE bc_state<>0 AND deleted_at>=?;";
constexpr const char* kLiveGroup = "SELECT 1 FROM tb_bc_group WHERE group_id=? AND group_state=0;";
constexpr const char* kRestoreContact = "UPDATE tb_bc SET bc_state=0,group_id=?,server_group_id=? WHERE bc_id=?;";

// A contact of a group deleted since cannot show in it, on any device: it comes back
// in no group.
int LeaveDeletedGroup(SqliteDb& db, BusinessCard& card) {
    if (card.group_id == 0) return 0;
    ResultTable t;
    if (db.query(kLiveGroup, {Arg(card.group_id)}, t) != SQLITE_OK) return 1;
    if (t.empty()) card.group_id = card.server_group_id = 0;
    return 0;
}

int RestoreContact(SqliteDb& db, int bcId) {
    BusinessCard card;
    const StoreStatus read = contacts::ReadOneContact(db, "where bc_id= ?;", {Arg(bcId)}, card);
    if (read == StoreStatus::kFailed) return 1;
    if (read == StoreStatus::kNotFound || card.bc_state == 0) return TrashStore::kNotDeleted;
    card.bc_state = 0;
    if (LeaveDeletedGroup(db, card) != 0) return 1;
    if (db.execute(kRestoreContact, {Arg(card.group_id), Arg(card.server_group_id), Arg(bcId)}) != SQLITE_OK ||
        !trash::SettleContact(db, bcId, NowSeconds()))
        return 1;
    return LogChange(db, card);
}

}  // namespace

int TrashStore::DeletedContacts(int since, TrashedRecordList& out) {
    return trash::ReadTrash(store_, kDeletedContacts, since, out);
}

int TrashStore::CountDeletedContacts(int since, int& count) {
    return trash::CountTrash(store_, kCountDeletedContacts, since, count);
}

int TrashStore::RestoreContacts(const std::vector<int>& bcIds) {
    return trash::RunRestore(store_, [&](SqliteDb& db) {
        for (int id : bcIds)
            if (const int rc = RestoreContact(db, id); rc != 0) return rc;
        return 0;
    });
}

int TrashStore::RestoreContactGroup(int groupId) {
    return trash::RestoreGroupRow<CardGroup>(store_, "tb_bc_group", groupId);
}

int TrashStore::RestoreMatterGroup(int groupId) {
    return trash::RestoreGroupRow<EventGroup>(store_, "tb_event_group", groupId);
}

}  // namespace kivtal
