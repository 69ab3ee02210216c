// Contact writes: the row, its change-log entry and its bank accounts, all or nothing.
#include <sqlite3.h>

#include <algorithm>

#include "model/Clock.h"
#include "model/EditMerge.h"
#include "store/ChangeLogEntries.h"
#include "store/ContactStore.h"
#include "store/ContactStoreBank.h"
#include "store/ContactStoreSql.h"
#include "store/DerivedFields.h"
#include "store/TrashRows.h"

namespace kivtal {
namespace {

constexpr const char* kDeleteContact = "UPDATE tb_bc set bc_state=? WHERE bc_id =?;";

const UserBankInfo* AccountWithId(const UserBankInfoList& accounts, int ubankId) {
    const auto it =
        std::find_if(accounts.begin(), accounts.end(), [&](const UserBankInfo& a) { return a.ubank_id == ubankId; });
    return it == accounts.end() ? nullptr : &*it;
}

// The accounts the edit added or changed, each changed one merged into its current row;
// an account the user left as it was is not written at all.
UserBankInfoList ChangedAccounts(const BusinessCard& asRead, const BusinessCard& edited, const BusinessCard& current) {
    UserBankInfoList changed;
    for (const UserBankInfo& mine : edited.bank_accounts) {
        const UserBankInfo* read = AccountWithId(asRead.bank_accounts, mine.ubank_id);
        const UserBankInfo* now = AccountWithId(current.bank_accounts, mine.ubank_id);
        if (mine.ubank_id == 0 || read == nullptr || now == nullptr) changed.push_back(mine);
        else if (!(mine == *read)) changed.push_back(MergeEdit(*read, mine, *now));
    }
    return changed;
}

// Soft delete of one contact, stamped with the time for the trash.
StoreStatus MarkDeleted(SqliteDb& db, BusinessCard& card) {
    card.bc_state = 1;
    const SqlArgs args{Arg(card.bc_state), Arg(card.bc_id)};
    if (const StoreStatus s = contacts::UpdateExistingRow(db, kDeleteContact, args); s != StoreStatus::kOk) return s;
    if (!trash::SettleContact(db, card.bc_id, NowSeconds())) return StoreStatus::kFailed;
    return StatusOf(LogChange(db, card) == 0);
}

StoreStatus ReadStored(SqliteDb& db, int bcId, BusinessCard& out) {
    return contacts::ReadOneContact(db, "where bc_id=?;", {Arg(bcId)}, out);
}

}  // namespace

StoreStatus InsertContact(SqliteDb& db, BusinessCard& card) {
    if (const StoreStatus s = derived::FillContact(db, card, true); s != StoreStatus::kOk) return s;
    if (db.execute(contacts::InsertSql(), contacts::RowArgs(card)) != SQLITE_OK) return StoreStatus::kFailed;
    card.bc_id = static_cast<int>(db.lastInsertId());
    if (LogAdd(db, card) != 0) return StoreStatus::kFailed;
    for (UserBankInfo& account : card.bank_accounts) {
        account.bc_id = card.bc_id;
        if (AddBankAccount(db, account) != 0) return StoreStatus::kFailed;
    }
    return StoreStatus::kOk;
}

StoreStatus UpdateContact(SqliteDb& db, BusinessCard& card) {
    if (const StoreStatus s = derived::FillContact(db, card, false); s != StoreStatus::kOk) return s;
    SqlArgs args = contacts::RowArgs(card);
    args.push_back(Arg(card.bc_id));
    if (const StoreStatus s = contacts::UpdateExistingRow(db, contacts::UpdateSql(), args); s != StoreStatus::kOk)
        return s;
    if (!trash::SettleContact(db, card.bc_id, NowSeconds()) || LogChange(db, card) != 0) return StoreStatus::kFailed;
    return StatusOf(SaveBankAccounts(db, card.bank_accounts, card.bc_id) == 0);
}

StoreStatus ContactStore::AddContact(BusinessCard& card) {
    return contacts::RunLoggedWrite(store_, card, [&](SqliteDb& db) { return InsertContact(db, card); });
}

StoreStatus ContactStore::ModifyContact(BusinessCard& card) {
    return contacts::RunLoggedWrite(store_, card, [&](SqliteDb& db) { return UpdateContact(db, card); });
}

StoreStatus ContactStore::SaveContactEdit(const BusinessCard& asRead, BusinessCard& edited) {
    return contacts::RunLoggedWrite(store_, edited, [&](SqliteDb& db) {
        BusinessCard current;
        if (const StoreStatus s = ReadStored(db, asRead.bc_id, current); s != StoreStatus::kOk) return s;
        BusinessCard merged = MergeEdit(asRead, edited, current);
        merged.bank_accounts = ChangedAccounts(asRead, edited, current);
        if (const StoreStatus s = UpdateContact(db, merged); s != StoreStatus::kOk) return s;
        return ReadStored(db, asRead.bc_id, edited);
    });
}

StoreStatus ContactStore::DeleteContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) { return MarkDeleted(db, card); });
}

StoreStatus ContactStore::DeleteContacts(const std::vector<int>& bcIds) {
    std::vector<int> ids = bcIds;
    return contacts::RunWrite(store_, ids, [&](SqliteDb& db) {
        for (int id : ids) {
            BusinessCard card;
            if (const StoreStatus s = ReadStored(db, id, card); s != StoreStatus::kOk) return s;
            if (const StoreStatus s = MarkDeleted(db, card); s != StoreStatus::kOk) return s;
        }
        return StoreStatus::kOk;
    });
}

}  // namespace kivtal
