#pragma once
// The trash: deleted contacts and matters of the last days, listed by the time they
// were deleted here or their delete arrived from the service, and their restore. A
// restore is an ordinary edit: the row goes back to state 0 and its change-log entry
// is written in the same transaction, so every device that syncs shows it live again
// with every field it had. Nothing is ever removed from the store.
//
// Every operation takes the store lock and opens the user database for its own run.
// Reads return 0, or 1 when the database fails (the list then untouched). Restores
// return 0 when committed; kNotDeleted, with nothing written, when an id names no
// deleted row; 1 when rolled back or the database failed; -1 when the transaction
// could not begin.
#include <string>
#include <vector>

#include "store/LocalStore.h"

namespace kivtal {

// One deleted record as the trash lists it.
struct TrashedRecord {
    int id = 0;          // bc_id or event_id
    std::string title;   // the contact's name, the matter's description
    std::string detail;  // the contact's company; empty for a matter
    int deleted_at = 0;  // seconds since 1970
    bool operator==(const TrashedRecord&) const = default;
};
using TrashedRecordList = std::vector<TrashedRecord>;

class TrashStore {
public:
    // How long a deleted record stays in the trash view.
    static constexpr int kKeptDays = 30;
    static constexpr int kNotDeleted = 2;

    explicit TrashStore(LocalStore& store) : store_(store) {}

    // The start of the trash's window for the moment `now` (kKeptDays before it).
    static int WindowStart(int now) { return now - kKeptDays * 86400; }

    // Records deleted at or after `since`, the latest deletion first; appended. Rows
    // deleted before the store kept deletion times have none and are not listed.
    int DeletedContacts(int since, TrashedRecordList& out);
    int DeletedMatters(int since, TrashedRecordList& out);
    // Their numbers; `count` untouched on failure.
    int CountDeletedContacts(int since, int& count);
    int CountDeletedMatters(int since, int& count);

    // All of the ids or none, in one transaction. A contact whose group has been
    // deleted since comes back in no group; its bank accounts were never touched by
    // the delete. A matter brings back the remarks and reminders that went with it.
    int RestoreContacts(const std::vector<int>& bcIds);
    int RestoreMatters(const std::vector<int>& eventIds);
    // A deleted group back to live; its contacts or matters kept their membership.
    int RestoreContactGroup(int groupId);
    int RestoreMatterGroup(int groupId);
    // A remark deleted on its own back to live.
    int RestoreRemark(int commentId);

private:
    LocalStore& store_;
};

}  // namespace kivtal
