#pragma once
// How each kind of synchronised record sits in its table, for the writes that do not
// come from an editor: changes received from the service, replayed deferred edits and
// the acknowledgement of uploaded ones. One table of shapes and a dispatch from an
// oper_code to its record type serve all nine kinds. Internal to the store.
#include <string>

#include "model/Records.h"
#include "model/SyncKinds.h"
#include "store/SqliteDb.h"

namespace kivtal::serverrows {

struct RowShape {
    const char* table;
    const char* localIdColumn;
    const char* serverIdColumn;
    std::string columns;  // every written column except the local key, comma-separated
    // A column among `columns` that is the table's key: an insert that meets an existing
    // row with that key updates it instead (the profile row is keyed by the account id).
    const char* upsertKey = nullptr;
};

// A parent the record names by server id and must hold by local id. lookupSql selects
// the parent's local id from its server id; none for kinds without a parent.
struct ParentRef {
    const char* lookupSql = nullptr;
    int* localId = nullptr;
    int serverId = 0;
};

#define KIVTAL_ROW_KIND(R)             \
    const RowShape& ShapeOf(const R&); \
    SqlArgs ColumnValues(const R&);    \
    int& LocalIdOf(R&);                \
    int& ServerIdOf(R&);               \
    ParentRef ParentOf(R&);

KIVTAL_ROW_KIND(BusinessCard)
KIVTAL_ROW_KIND(TalEvent)
KIVTAL_ROW_KIND(UserInfo)
KIVTAL_ROW_KIND(EventComment)
KIVTAL_ROW_KIND(EventAlarm)
KIVTAL_ROW_KIND(CardGroup)
KIVTAL_ROW_KIND(EventGroup)
KIVTAL_ROW_KIND(UserSettings)
KIVTAL_ROW_KIND(UserBankInfo)
#undef KIVTAL_ROW_KIND

// Fields the store derives instead of taking them from a value string: a contact's
// name pinyin. Nothing for the other kinds.
void FillDerived(BusinessCard& card);
template <class R>
void FillDerived(R&) {}

// A remark, reminder or bank account whose parent server id is still 0 takes the one
// its parent row holds now, as the editors' change operations do. 0, or 1 when the
// lookup fails; nothing to do for the other kinds.
int FillParentServerId(SqliteDb& db, EventComment& remark);
int FillParentServerId(SqliteDb& db, EventAlarm& reminder);
int FillParentServerId(SqliteDb& db, UserBankInfo& account);
template <class R>
int FillParentServerId(SqliteDb&, R&) {
    return 0;
}

// "INSERT INTO t(columns)VALUES(?,...);" (with an upsert clause for a keyed shape) and "UPDATE t SET c=?,... where
// <where>=?;".
std::string InsertSql(const RowShape& shape);
std::string UpdateSql(const RowShape& shape, const char* whereColumn);

// Writes the parent's local id into the record when a parent row has its server
// id; leaves it as it came otherwise. 0, or 1 when the lookup fails.
int MapParent(SqliteDb& db, const ParentRef& parent);

// Calls visit(record) with a default record of the kind. False for a kind outside 1-9.
template <class Visit>
bool VisitKind(int kind, Visit&& visit) {
    switch (kind) {
        case OPER_CONTACT: {
            BusinessCard r;
            visit(r);
            return true;
        }
        case OPER_MATTER: {
            TalEvent r;
            visit(r);
            return true;
        }
        case OPER_USER: {
            UserInfo r;
            visit(r);
            return true;
        }
        case OPER_REMARK: {
            EventComment r;
            visit(r);
            return true;
        }
        case OPER_REMINDER: {
            EventAlarm r;
            visit(r);
            return true;
        }
        case OPER_CONTACT_GROUP: {
            CardGroup r;
            visit(r);
            return true;
        }
        case OPER_MATTER_GROUP: {
            EventGroup r;
            visit(r);
            return true;
        }
        case OPER_SETTINGS: {
            UserSettings r;
            visit(r);
            return true;
        }
        case OPER_BANK_ACCOUNT: {
            UserBankInfo r;
            visit(r);
            return true;
        }
        default: return false;
    }
}

}  // namespace kivtal::serverrows
