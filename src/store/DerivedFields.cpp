#include "store/DerivedFields.h"

#include <sqlite3.h>

#include "text/NamePinyin.h"

namespace kivtal::derived {
namespace {

StoreStatus FillFromGroup(SqliteDb& db, const char* sql, int groupId, int& serverGroupId) {
    if (groupId == 0) {
        serverGroupId = 0;
        return StoreStatus::kOk;
    }
    ResultTable t;
    if (db.query(sql, {Arg(groupId)}, t) != SQLITE_OK) return StoreStatus::kFailed;
    if (!t.empty()) serverGroupId = t.integer(0, 0);
    return StoreStatus::kOk;
}

}  // namespace

void FillPinyin(BusinessCard& card, const std::string* storedName) {
    const bool madeForThisName = storedName == nullptr || *storedName == card.bc_name;
    if (card.bc_name_pinyin.empty() || !madeForThisName) card.bc_name_pinyin = NamePinyin(card.bc_name);
}

StoreStatus FillServerGroupId(SqliteDb& db, BusinessCard& card) {
    return FillFromGroup(db, "SELECT server_id FROM tb_bc_group WHERE group_id=?;", card.group_id,
                         card.server_group_id);
}

StoreStatus FillServerGroupId(SqliteDb& db, TalEvent& matter) {
    return FillFromGroup(db, "SELECT server_id FROM tb_event_group WHERE group_id=?;", matter.group_id,
                         matter.server_group_id);
}

StoreStatus FillContact(SqliteDb& db, BusinessCard& card, bool isNew) {
    if (isNew) {
        FillPinyin(card, nullptr);
    } else {
        ResultTable t;
        if (db.query("SELECT bc_name FROM tb_bc WHERE bc_id=?;", {Arg(card.bc_id)}, t) != SQLITE_OK)
            return StoreStatus::kFailed;
        // No row: the update that follows finds none either and fails.
        const std::string stored = t.empty() ? std::string() : t.text(0, 0);
        FillPinyin(card, t.empty() ? nullptr : &stored);
    }
    return FillServerGroupId(db, card);
}

}  // namespace kivtal::derived
