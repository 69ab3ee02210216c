#include "store/TrashRows.h"

#include <sqlite3.h>

#include <string>

namespace kivtal::trash {
namespace {

constexpr const char* kSettleContact =
    "UPDATE tb_bc SET deleted_at=CASE WHEN bc_state=0 THEN NULL ELSE coalesce(deleted_at,?) END WHERE bc_id=?;";
constexpr const char* kContactsOfServerId = "SELECT bc_id FROM tb_bc WHERE bc_server_id=?;";
constexpr const char* kMattersOfServerId = "SELECT event_id FROM tb_event WHERE server_id=?;";

// Whether a matter is deleted (state not 0) and its stamp (-1 when none); no row when
// there is no such matter.
constexpr const char* kMatterState = "SELECT event_state<>0, coalesce(deleted_at,-1) FROM tb_event WHERE event_id=?;";
constexpr const char* kStampMatter = "UPDATE tb_event SET deleted_at=? WHERE event_id=?;";
constexpr const char* kUnstampMatter = "UPDATE tb_event SET deleted_at=NULL WHERE event_id=?;";

// The children of a matter: their table and state column.
struct Child {
    const char* table;
    const char* state;
};
constexpr Child kChildren[] = {{"tb_event_comment", "comment_state"}, {"tb_event_alarm", "alarm_state"}};

bool Ok(int rc) { return rc == SQLITE_OK; }

bool TakeChildren(SqliteDb& db, int eventId, int stamp) {
    for (const Child& c : kChildren) {
        const std::string sql = std::string("UPDATE ") + c.table + " SET " + c.state +
                                "=1,deleted_at=? WHERE event_id=? AND " + c.state + "=0;";
        if (!Ok(db.execute(sql, {Arg(stamp), Arg(eventId)}))) return false;
    }
    return true;
}

// Only the children stamped with their matter went with it; one deleted on its own
// before stays deleted.
bool BringBackChildren(SqliteDb& db, int eventId, int stamp) {
    for (const Child& c : kChildren) {
        const std::string sql = std::string("UPDATE ") + c.table + " SET " + c.state +
                                "=0,deleted_at=NULL WHERE event_id=? AND " + c.state + "<>0 AND deleted_at=?;";
        if (!Ok(db.execute(sql, {Arg(eventId), Arg(stamp)}))) return false;
    }
    return true;
}

template <class Settle>
bool SettleRowsOfServerId(SqliteDb& db, const char* sql, int serverId, Settle settle) {
    // Rows never uploaded share server ids below 1: none of them is the received row.
    if (serverId < 1) return true;
    ResultTable t;
    if (!Ok(db.query(sql, {Arg(serverId)}, t))) return false;
    for (int r = 0; r < t.rows(); ++r)
        if (!settle(t.integer(r, 0))) return false;
    return true;
}

}  // namespace

bool SettleContact(SqliteDb& db, int bcId, int now) { return Ok(db.execute(kSettleContact, {Arg(now), Arg(bcId)})); }

bool SettleMatter(SqliteDb& db, int eventId, int now) {
    ResultTable t;
    if (!Ok(db.query(kMatterState, {Arg(eventId)}, t))) return false;
    if (t.empty()) return true;
    const bool deleted = t.integer(0, 0) != 0;
    const int stamp = t.text(0, 1) == "-1" ? -1 : t.integer(0, 1);
    if (deleted && stamp == -1)
        return Ok(db.execute(kStampMatter, {Arg(now), Arg(eventId)})) && TakeChildren(db, eventId, now);
    if (!deleted && stamp != -1)
        return BringBackChildren(db, eventId, stamp) && Ok(db.execute(kUnstampMatter, {Arg(eventId)}));
    return true;
}

bool SettleReceived(SqliteDb& db, const BusinessCard&, int serverId, int now) {
    return SettleRowsOfServerId(db, kContactsOfServerId, serverId, [&](int id) { return SettleContact(db, id, now); });
}

bool SettleReceived(SqliteDb& db, const TalEvent&, int serverId, int now) {
    return SettleRowsOfServerId(db, kMattersOfServerId, serverId, [&](int id) { return SettleMatter(db, id, now); });
}

}  // namespace kivtal::trash
