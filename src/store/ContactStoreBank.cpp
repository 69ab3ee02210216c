#include "store/ContactStoreBank.h"

#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>

#include "store/ChangeLogEntries.h"
#include "store/ContactStoreSql.h"
#include "store/RecordSql.h"

namespace kivtal {
namespace {

constexpr std::size_t kIdsAtOnce = 500;

// The accounts of `count` contacts, each id one placeholder.
std::string AccountsOfSql(std::size_t count) {
    std::string marks = "?";
    for (std::size_t i = 1; i < count; ++i) marks += ",?";
    return recordsql::SelectSql<UserBankInfo>() + "WHERE bc_id IN (" + marks + ") ORDER BY bc_id, ubank_id;";
}

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

int AppendBankAccounts(SqliteDb& db, std::span<BusinessCard> cards) {
    std::unordered_map<int, BusinessCard*> byId;
    byId.reserve(cards.size());
    for (BusinessCard& card : cards) byId.emplace(card.bc_id, &card);
    for (std::size_t first = 0; first < cards.size(); first += kIdsAtOnce) {
        const std::size_t count = std::min(kIdsAtOnce, cards.size() - first);
        SqlArgs ids;
        ids.reserve(count);
        for (std::size_t i = first; i < first + count; ++i) ids.push_back(Arg(cards[i].bc_id));
        SqliteStatement stmt(db.raw(), AccountsOfSql(count));
        if (!stmt.ok() || stmt.bind(ids) != SQLITE_OK) return 1;
        int rc;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            UserBankInfo a;
            contacts::ReadRow(stmt, a);
            if (const auto card = byId.find(a.bc_id); card != byId.end())
                card->second->bank_accounts.push_back(std::move(a));
        }
        if (rc != SQLITE_DONE) return 1;
    }
    return 0;
}

}  // namespace kivtal
