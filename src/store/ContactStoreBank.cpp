#include "store/ContactStoreBank.h"

#include <sqlite3.h>

#include "store/ChangeLogEntries.h"
#include "store/ContactStoreSql.h"
#include "store/RecordSql.h"

namespace kivtal {
namespace {

const std::string kSelectAccounts = recordsql::SelectSql<UserBankInfo>() + "WHERE bc_id=?;";

constexpr const char* kContactServerId = "SELECT bc_server_id FROM tb_bc WHERE bc_id=?;";

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
    if (db.execute(recordsql::InsertSql<UserBankInfo>(), recordsql::ColumnArgs(account, true)) != SQLITE_OK) return 1;
    account.ubank_id = static_cast<int>(db.lastInsertId());
    return LogAdd(db, account) == 0 ? 0 : 1;
}

int ModifyBankAccount(SqliteDb& db, UserBankInfo& account) {
    FillContactServerId(db, account);
    SqlArgs args = recordsql::ColumnArgs(account, true);
    args.push_back(Arg(account.ubank_id));
    if (contacts::UpdateExistingRow(db, recordsql::UpdateSql<UserBankInfo>(), args) != StoreStatus::kOk) return 1;
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
        UserBankInfo a;
        int col = 0;
        for (const RecordField<UserBankInfo>& f : DescriptionOf<UserBankInfo>().fields) {
            if (f.number) a.*f.number = contacts::ColumnInt(stmt_, col++);
            else a.*f.text = contacts::ColumnText(stmt_, col++);
        }
        read.push_back(std::move(a));
    }
    stmt_.reset();
    if (rc != SQLITE_DONE) return 1;
    out = std::move(read);
    return 0;
}

}  // namespace kivtal
