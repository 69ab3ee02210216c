// The trash's matters and remarks.
#include "model/Clock.h"
#include "store/ChangeLogEntries.h"
#include "store/MatterStore.h"
#include "store/TrashRows.h"
#include "store/TrashStore.h"
#include "store/TrashStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kDeletedMatters =
    "SELECT event_id,description,'',deleted_at FROM tb_event WHERE event_state<>0 AND deleted_at>=? "
    "ORDER BY deleted_at DESC,event_id DESC;";
constexpr const char* kCountDeletedMatters = "SELECT count(*) FROM tb_event WHERE event_state<>0 AND deleted_at>=?;";
constexpr const char* kRestoreMatter = "UPDATE tb_event SET event_state=0 WHERE event_id=?;";
constexpr const char* kRestoreRemark = "UPDATE tb_event_comment SET comment_state=0 WHERE comment_id=?;";

int RestoreMatter(SqliteDb& db, int eventId) {
    TalEvent m;
    if (ReadMatter(db, eventId, m) != 0 || m.event_state == 0) return TrashStore::kNotDeleted;
    m.event_state = 0;
    if (db.execute(kRestoreMatter, {Arg(eventId)}) != SQLITE_OK || !trash::SettleMatter(db, eventId, NowSeconds()))
        return 1;
    return LogChange(db, m);
}

}  // namespace

int TrashStore::DeletedMatters(int since, TrashedRecordList& out) {
    return trash::ReadTrash(store_, kDeletedMatters, since, out);
}

int TrashStore::CountDeletedMatters(int since, int& count) {
    return trash::CountTrash(store_, kCountDeletedMatters, since, count);
}

int TrashStore::RestoreMatters(const std::vector<int>& eventIds) {
    return trash::RunRestore(store_, [&](SqliteDb& db) {
        for (int id : eventIds)
            if (const int rc = RestoreMatter(db, id); rc != 0) return rc;
        return 0;
    });
}

int TrashStore::RestoreRemark(int commentId) {
    return trash::RunRestore(store_, [&](SqliteDb& db) {
        EventComment c;
        if (ReadRemark(db, commentId, c) != 0 || c.comment_state == 0) return kNotDeleted;
        c.comment_state = 0;
        if (db.execute(kRestoreRemark, {Arg(commentId)}) != SQLITE_OK) return 1;
        return LogChange(db, c);
    });
}

}  // namespace kivtal
