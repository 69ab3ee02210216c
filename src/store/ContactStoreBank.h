#pragma once
// A contact's bank accounts (tb_ubank_info). They are written only inside a contact's
// transaction, on its connection, each with its own change-log entry; a removed
// account is a modify with ubank_state 1.
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

// Reads the accounts of one contact after another through one prepared statement, so a
// list of thousands of contacts does not compile the same query thousands of times.
class BankAccountReader {
public:
    explicit BankAccountReader(SqliteDb& db);
    // Replaces out with every account of the contact, whatever its state, in the
    // query's order. 0 or 1.
    int Read(int bcId, UserBankInfoList& out);

private:
    SqliteStatement stmt_;
};

}  // namespace kivtal
