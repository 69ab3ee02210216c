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
int MarkDeleted(SqliteDb& db, BusinessCard& card) {
    card.bc_state = 1;
    if (contacts::UpdateExistingRow(db, kDeleteContact, {Arg(card.bc_state), Arg(card.bc_id)}) != 0) return 1;
    if (!trash::SettleContact(db, card.bc_id, NowSeconds())) return 1;
    return LogChange(db, card);
}

}  // namespace

int InsertContact(SqliteDb& db, BusinessCard& card) {
    if (derived::FillContact(db, card, true) != StoreStatus::kOk) return 1;
    if (db.execute(contacts::InsertSql(), contacts::RowArgs(card)) != SQLITE_OK) return 1;
    card.bc_id = static_cast<int>(db.lastInsertId());
    if (LogAdd(db, card) != 0) return 1;
    for (UserBankInfo& account : card.bank_accounts) {
        account.bc_id = card.bc_id;
        if (AddBankAccount(db, account) != 0) return 1;
    }
    return 0;
}

int UpdateContact(SqliteDb& db, BusinessCard& card) {
    if (derived::FillContact(db, card, false) != StoreStatus::kOk) return 1;
    SqlArgs args = contacts::RowArgs(card);
    args.push_back(Arg(card.bc_id));
    if (contacts::UpdateExistingRow(db, contacts::UpdateSql(), args) != 0) return 1;
    if (!trash::SettleContact(db, card.bc_id, NowSeconds()) || LogChange(db, card) != 0) return 1;
    return SaveBankAccounts(db, card.bank_accounts, card.bc_id);
}

int ContactStore::AddContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) { return InsertContact(db, card); });
}

int ContactStore::ModifyContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) { return UpdateContact(db, card); });
}

int ContactStore::SaveContactEdit(const BusinessCard& asRead, BusinessCard& edited) {
    return contacts::RunWrite(store_, edited, [&](SqliteDb& db) {
        BusinessCard current;
        if (ReadContact(db, asRead.bc_id, current) != 0) return 1;
        BusinessCard merged = MergeEdit(asRead, edited, current);
        merged.bank_accounts = ChangedAccounts(asRead, edited, current);
        if (UpdateContact(db, merged) != 0) return 1;
        return ReadContact(db, asRead.bc_id, edited);
    });
}

int ContactStore::DeleteContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) { return MarkDeleted(db, card); });
}

int ContactStore::DeleteContacts(const std::vector<int>& bcIds) {
    std::vector<int> ids = bcIds;
    return contacts::RunWrite(store_, ids, [&](SqliteDb& db) {
        for (int id : ids) {
            BusinessCard card;
            if (ReadContact(db, id, card) != 0 || MarkDeleted(db, card) != 0) return 1;
        }
        return 0;
    });
}

}  // namespace kivtal
