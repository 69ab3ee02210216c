// Contact writes: the row, its change-log entry and its bank accounts, all or nothing.
#include <sqlite3.h>

#include "store/ChangeLogEntries.h"
#include "store/ContactStore.h"
#include "store/ContactStoreBank.h"
#include "store/ContactStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kDeleteContact = "UPDATE tb_bc set bc_state=? WHERE bc_id =?;";

}  // namespace

int InsertContact(SqliteDb& db, BusinessCard& card) {
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
    SqlArgs args = contacts::RowArgs(card);
    args.push_back(Arg(card.bc_id));
    if (contacts::UpdateExistingRow(db, contacts::UpdateSql(), args) != 0) return 1;
    if (LogChange(db, card) != 0) return 1;
    return SaveBankAccounts(db, card.bank_accounts, card.bc_id);
}

int ContactStore::AddContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) { return InsertContact(db, card); });
}

int ContactStore::ModifyContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) { return UpdateContact(db, card); });
}

int ContactStore::DeleteContact(BusinessCard& card) {
    return contacts::RunWrite(store_, card, [&](SqliteDb& db) {
        card.bc_state = 1;
        if (contacts::UpdateExistingRow(db, kDeleteContact, {Arg(card.bc_state), Arg(card.bc_id)}) != 0) return 1;
        return LogChange(db, card);
    });
}

}  // namespace kivtal
