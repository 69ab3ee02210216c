#include <sqlite3.h>

#include "model/Clock.h"
#include "model/EditMerge.h"
#include "store/ChangeLogEntries.h"
#include "store/DerivedFields.h"
#include "store/MatterStore.h"
#include "store/RecordSql.h"
#include "store/TrashRows.h"

namespace kivtal {

namespace {

using recordsql::ColumnArgs;
using recordsql::InsertSql;
using recordsql::UpdateSql;

constexpr const char* kSetMatterState = "UPDATE tb_event set event_state=? WHERE event_id =?;";
constexpr const char* kSetGroupState = "UPDATE tb_event_group set group_state=? WHERE group_id =?;";

// A remark never moves to another matter: its update leaves event_id alone.
constexpr const char* kUpdateRemark =
    "UPDATE tb_event_comment SET c_content=?,server_id=?,comment_state=?,create_time=?,event_server_id=?"
    "  where comment_id=?; ";

constexpr const char* kMatterServerId = "SELECT server_id FROM tb_event WHERE event_id=?;";

SqlArgs RemarkUpdateArgs(const EventComment& c) {
    return {Arg(c.c_content),   Arg(c.server_id),       Arg(c.comment_state),
            Arg(c.create_time), Arg(c.event_server_id), Arg(c.comment_id)};
}

SqlArgs With(SqlArgs args, int id) {
    args.push_back(Arg(id));
    return args;
}

bool Ok(int rc) { return rc == SQLITE_OK; }

constexpr StoreStatus kBeginFailed = StoreStatus::kBusy;
// Reminder writes have one failure answer for every failure.
constexpr StoreStatus kReminderBeginFailed = StoreStatus::kFailed;

// Runs `body` (row statements plus the log step, 0 or 1) in one transaction on the
// user database; a record whose texts hold the value-string separator is refused
// before anything is written. It works on a copy, so the caller's record changes
// only when the write is committed and never carries the id of a rolled-back row.
template <class Record, class Body>
StoreStatus LoggedWrite(LocalStore& store, Record& record, StoreStatus beginFailure, Body body) {
    if (HoldsSeparator(record)) return StoreStatus::kRefused;
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return StoreStatus::kFailed;
    SqliteTransaction tx(session.db());
    if (!tx.began()) return beginFailure;
    Record work = record;
    if (body(session.db(), work) != 0) return StoreStatus::kFailed;
    if (tx.commit() != SQLITE_OK) return StoreStatus::kFailed;
    record = std::move(work);
    return StoreStatus::kOk;
}

// Inserts a row and writes the new id into the record before it is logged, so that
// its value string carries the id.
template <class Record>
int InsertAndLogAdd(SqliteDb& db, std::string_view sql, const SqlArgs& args, Record& record, int Record::*id) {
    if (!Ok(db.execute(sql, args))) return 1;
    record.*id = static_cast<int>(db.lastInsertId());
    return LogAdd(db, record);
}

template <class Record>
int UpdateAndLogChange(SqliteDb& db, std::string_view sql, const SqlArgs& args, const Record& record) {
    if (!Ok(db.execute(sql, args))) return 1;
    return LogChange(db, record);
}

// A matter write that may change its state keeps the trash's stamp in step.
int UpdateMatterAndLog(SqliteDb& db, std::string_view sql, const SqlArgs& args, const TalEvent& m) {
    if (UpdateAndLogChange(db, sql, args, m) != 0) return 1;
    return trash::SettleMatter(db, m.event_id, NowSeconds()) ? 0 : 1;
}

// Remarks and reminders carry their matter's server id once the matter has one; it
// stays 0 while the matter has none or cannot be read.
template <class Record>
void FillMatterServerId(SqliteDb& db, Record& record) {
    if (record.event_server_id != 0) return;
    ResultTable t;
    if (Ok(db.query(kMatterServerId, {Arg(record.event_id)}, t)) && !t.empty()) {
        record.event_server_id = t.integer(0, 0);
    }
}

}  // namespace

StoreStatus MatterStore::AddMatter(TalEvent& matter) {
    return LoggedWrite(store_, matter, kBeginFailed, [](SqliteDb& db, TalEvent& m) {
        if (derived::FillServerGroupId(db, m) != StoreStatus::kOk) return 1;
        return InsertAndLogAdd(db, InsertSql<TalEvent>(), ColumnArgs(m, true), m, &TalEvent::event_id);
    });
}

StoreStatus MatterStore::ModifyMatter(const TalEvent& matter) {
    TalEvent copy = matter;
    return LoggedWrite(store_, copy, kBeginFailed, [](SqliteDb& db, TalEvent& m) {
        if (derived::FillServerGroupId(db, m) != StoreStatus::kOk) return 1;
        return UpdateMatterAndLog(db, UpdateSql<TalEvent>(), With(ColumnArgs(m, true), m.event_id), m);
    });
}

StoreStatus MatterStore::SaveMatterEdit(const TalEvent& asRead, TalEvent& edited) {
    return LoggedWrite(store_, edited, kBeginFailed, [&](SqliteDb& db, TalEvent& m) {
        TalEvent current;
        if (ReadMatter(db, asRead.event_id, current) != 0) return 1;
        m = MergeEdit(asRead, m, current);  // `m` was checked for the separator
        if (derived::FillServerGroupId(db, m) != StoreStatus::kOk) return 1;
        return UpdateMatterAndLog(db, UpdateSql<TalEvent>(), With(ColumnArgs(m, true), m.event_id), m);
    });
}

// The live remarks and reminders go with their matter, under its stamp, but get no
// entries of their own: the service keeps them with the matter.
StoreStatus MatterStore::DeleteMatter(TalEvent& matter) {
    return LoggedWrite(store_, matter, kBeginFailed, [](SqliteDb& db, TalEvent& m) {
        m.event_state = 1;
        return UpdateMatterAndLog(db, kSetMatterState, {Arg(1), Arg(m.event_id)}, m);
    });
}

StoreStatus MatterStore::AddMatterGroup(EventGroup& group) {
    return LoggedWrite(store_, group, kBeginFailed, [](SqliteDb& db, EventGroup& g) {
        return InsertAndLogAdd(db, InsertSql<EventGroup>(), ColumnArgs(g, true), g, &EventGroup::group_id);
    });
}

StoreStatus MatterStore::ModifyMatterGroup(const EventGroup& group) {
    EventGroup copy = group;
    return LoggedWrite(store_, copy, kBeginFailed, [](SqliteDb& db, EventGroup& g) {
        return UpdateAndLogChange(db, UpdateSql<EventGroup>(), With(ColumnArgs(g, true), g.group_id), g);
    });
}

StoreStatus MatterStore::DeleteMatterGroup(EventGroup& group) {
    return LoggedWrite(store_, group, kBeginFailed, [](SqliteDb& db, EventGroup& g) {
        g.group_state = 1;
        return UpdateAndLogChange(db, kSetGroupState, {Arg(1), Arg(g.group_id)}, g);
    });
}

StoreStatus MatterStore::AddRemark(EventComment& remark) {
    return LoggedWrite(store_, remark, kBeginFailed, [](SqliteDb& db, EventComment& c) {
        FillMatterServerId(db, c);
        return InsertAndLogAdd(db, InsertSql<EventComment>(), ColumnArgs(c, true), c, &EventComment::comment_id);
    });
}

StoreStatus MatterStore::ModifyRemark(EventComment& remark) {
    return LoggedWrite(store_, remark, kBeginFailed, [](SqliteDb& db, EventComment& c) {
        FillMatterServerId(db, c);
        return UpdateAndLogChange(db, kUpdateRemark, RemarkUpdateArgs(c), c);
    });
}

// Reminder writes used to commit the row and its entry separately; a failed log step
// then left a row the log never heard of. They now share one transaction like every
// other write, and keep their single failure code 1.
StoreStatus MatterStore::AddReminder(EventAlarm& reminder) {
    return LoggedWrite(store_, reminder, kReminderBeginFailed, [](SqliteDb& db, EventAlarm& a) {
        FillMatterServerId(db, a);
        return InsertAndLogAdd(db, InsertSql<EventAlarm>(), ColumnArgs(a, true), a, &EventAlarm::alarm_id);
    });
}

StoreStatus MatterStore::ModifyReminder(EventAlarm& reminder) {
    return LoggedWrite(store_, reminder, kReminderBeginFailed, [](SqliteDb& db, EventAlarm& a) {
        FillMatterServerId(db, a);
        return UpdateAndLogChange(db, UpdateSql<EventAlarm>(), With(ColumnArgs(a, true), a.alarm_id), a);
    });
}

}  // namespace kivtal
