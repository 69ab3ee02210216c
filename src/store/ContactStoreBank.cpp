#include "store/ContactStoreBank.h"

#include <sqlite3.h>

#include "store/ChangeLogEntries.h"
#include "store/ContactStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kSelectAccounts =
    "SELECT ubank_id,bank_name,ubank_branch,ubank_subbranch,ubank_card,ubank_user,bc_id,server_id,"
    "ubank_state,bc_server_id FROM tb_ubank_info WHERE bc_id=?;";

constexpr const char* kInsertAccount =
    "INSERT INTO tb_ubank_info(bank_name,ubank_branch,ubank_subbranch,ubank_card,ubank_user,bc_id,"
    "server_id,ubank_state,bc_server_id)VALUES(?,?,?,?,?,?,?,?,?);";

constexpr const char* kUpdateAccount =
    "UPDATE tb_ubank_info SET bank_name=?,ubank_branch=?,ubank_subbranch=?,ubank_card=?,ubank_user=?,"
    "bc_id=?,server_id=?,ubank_state=?, bc_server_id=? where ubank_id=?;";

constexpr const char* kContactServerId = "SELECT bc_server_id FROM tb_bc WHERE bc_id=?;";

// The values of the INSERT and of the UPDATE's SET list, in their shared order.
SqlArgs AccountArgs(const UserBankInfo& a) {
    return {Arg(a.bank_name), Arg(a.ubank_branch), Arg(a.ubank_subbranch), Arg(a.ubank_card),  Arg(a.ubank_user),
            Arg(a.bc_id),     Arg(a.server_id),    Arg(a.ubank_state),     Arg(a.bc_server_id)};
}

// The service files an account under its contact's server id: an account that does not
// carry one takes it from its contact row. A failed lookup leaves it at 0 on purpose;
// the sync engine maps it later.
void FillContactServerId(SqliteDb& db, UserBankInfo& account) {
    if (account.bc_server_id != 0) return;
    ResultTable t;
    if (db.query(kContactServerId, {Arg(account.bc_id)}, t) == SQLITE_OK && !t.empty())
        account.bc_server_id = t.integer(0, 0);
}

}  // namespace

int AddBankAccount(SqliteDb& db, UserBankInfo& account) {
    FillContactServerId(db, account);
    if (db.execute(kInsertAccount, AccountArgs(account)) != SQLITE_OK) return 1;
    account.ubank_id = static_cast<int>(db.lastInsertId());
    return LogAdd(db, account) == 0 ? 0 : 1;
}

int ModifyBankAccount(SqliteDb& db, UserBankInfo& account) {
    FillContactServerId(db, account);
    SqlArgs args = AccountArgs(account);
    args.push_back(Arg(account.ubank_id));
    if (contacts::UpdateExistingRow(db, kUpdateAccount, args) != 0) return 1;
    return LogChange(db, account) == 0 ? 0 : 1;
}

int SaveBankAccounts(SqliteDb& db, UserBankInfoList& accounts, int bcId) {
    for (UserBankInfo& account : accounts) {
        account.bc_id = bcId;
        const int rc = account.ubank_id == 0 ? AddBankAccount(db, account) : ModifyBankAccount(db, account);
        if (rc != 0) return 1;
    }
    return 0;
}

BankAccountReader::BankAccountReader(SqliteDb& db) : stmt_(db.raw(), kSelectAccounts) {}

int BankAccountReader::Read(int bcId, UserBankInfoList& out) {
    if (!stmt_.ok()) return 1;
    stmt_.reset();
    if (stmt_.bind({Arg(bcId)}) != SQLITE_OK) return 1;
    UserBankInfoList read;
    int rc;
    while ((rc = stmt_.step()) == SQLITE_ROW) {
        using contacts::ColumnInt;
        using contacts::ColumnText;
        UserBankInfo a;
        a.ubank_id = ColumnInt(stmt_, 0);
        a.bank_name = ColumnText(stmt_, 1);
        a.ubank_branch = ColumnText(stmt_, 2);
        a.ubank_subbranch = ColumnText(stmt_, 3);
        a.ubank_card = ColumnText(stmt_, 4);
        a.ubank_user = ColumnText(stmt_, 5);
        a.bc_id = ColumnInt(stmt_, 6);
        a.server_id = ColumnInt(stmt_, 7);
        a.ubank_state = ColumnInt(stmt_, 8);
        a.bc_server_id = ColumnInt(stmt_, 9);
        read.push_back(std::move(a));
    }
    stmt_.reset();
    if (rc != SQLITE_DONE) return 1;
    out = std::move(read);
    return 0;
}

}  // namespace kivtal
