#pragma once
// A contact's bank accounts (tb_ubank_info). They are written only inside a contact's
// transaction, on its connection, each with its own change-log entry; a removed
// account is a modify with ubank_state 1.
#include <span>

#include "model/Records.h"
#include "store/SqliteDb.h"

namespace kivtal {

// Each returns 0 on success and 1 on failure (the caller then rolls back).

// Gives every account the contact id, then adds those with ubank_id 0 and modifies the
// others, in order; the first failure stops.
int SaveBankAccounts(SqliteDb& db, UserBankInfoList& accounts, int bcId);
// Inserts the account, writes its new ubank_id into it and logs an add.
int AddBankAccount(SqliteDb& db, UserBankInfo& account);
// Rewrites the account by ubank_id (1 when no row has it) and logs a change.
int ModifyBankAccount(SqliteDb& db, UserBankInfo& account);

// Appends to each card the accounts filed under its bc_id, whatever their state, in
// ubank_id order: a few statements for the whole list (ids a few hundred at a time),
// since one statement per contact costs a lock of the file each. 0 or 1; on 1 the
// cards hold some of their accounts and the caller must drop them.
int AppendBankAccounts(SqliteDb& db, std::span<BusinessCard> cards);

}  // namespace kivtal
