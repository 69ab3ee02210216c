// Merges of contacts and their undo, on the contact store's write frame; the pairs the
// user keeps apart.
#include "store/MergeStore.h"

#include <algorithm>

#include "model/EditMerge.h"
#include "model/SyncKinds.h"
#include "store/ContactStore.h"
#include "store/ContactStoreBank.h"
#include "store/ContactStoreSql.h"

namespace kivtal {
namespace {

constexpr const char* kEditTimes =
    "SELECT s_row_id,max(oper_time) FROM tb_sync_record WHERE oper_code=? GROUP BY s_row_id;";
// Made on first use: a table of this device alone, which no schema version or sync knows.
constexpr const char* kIgnoredTable =
    "CREATE TABLE IF NOT EXISTS tb_duplicate_ignored(bc_id_a INTEGER NOT NULL,bc_id_b INTEGER NOT NULL,"
    "PRIMARY KEY(bc_id_a,bc_id_b));";
constexpr const char* kIgnorePair = "INSERT OR IGNORE INTO tb_duplicate_ignored(bc_id_a,bc_id_b) VALUES(?,?);";
constexpr const char* kIgnoredPairs = "SELECT bc_id_a,bc_id_b FROM tb_duplicate_ignored;";

bool SameAccount(const UserBankInfo& a, const UserBankInfo& b) {
    return a.bank_name == b.bank_name && a.ubank_branch == b.ubank_branch && a.ubank_subbranch == b.ubank_subbranch &&
           a.ubank_card == b.ubank_card && a.ubank_user == b.ubank_user;
}

UserBankInfoList LiveAccounts(const UserBankInfoList& accounts) {
    UserBankInfoList live;
    std::copy_if(accounts.begin(), accounts.end(), std::back_inserter(live),
                 [](const UserBankInfo& a) { return a.ubank_state == 0; });
    return live;
}

// contacts::RunWrite, telling kNotLive from the other failures of the body.
template <class Record, class Body>
int RunMergeWrite(LocalStore& store, Record& record, Body&& body) {
    int status = 0;
    const int rc = ResultOf(contacts::RunWrite(store, record, [&](SqliteDb& db) {
        status = body(db);
        return StatusOf(status == 0);
    }));
    return rc == 1 && status == MergeStore::kNotLive ? MergeStore::kNotLive : rc;
}

// The plans of one Merge on its connection, each contact named once.
class MergeRun {
public:
    MergeRun(SqliteDb& db, MergeUndo& undo) : db_(db), undo_(undo) {}

    int Run(const MergePlan& plan) {
        BusinessCard kept;
        if (const int rc = ReadLive(plan.asRead.bc_id, kept); rc != 0) return rc;
        BusinessCard merged = MergeEdit(plan.asRead, plan.merged, kept);
        UserBankInfoList held = LiveAccounts(kept.bank_accounts);
        merged.bank_accounts.clear();
        BusinessCardList others;
        for (int id : plan.otherIds) {
            BusinessCard other;
            if (const int rc = ReadLive(id, other); rc != 0) return rc;
            for (const UserBankInfo& a : LiveAccounts(other.bank_accounts)) {
                if (std::any_of(held.begin(), held.end(), [&](const UserBankInfo& h) { return SameAccount(h, a); }))
                    continue;
                UserBankInfo copy = a;
                copy.ubank_id = copy.server_id = 0;
                copy.bc_server_id = kept.bc_server_id;
                held.push_back(copy);
                merged.bank_accounts.push_back(copy);
            }
            other.bank_accounts.clear();
            others.push_back(std::move(other));
        }
        kept.bank_accounts.clear();
        undo_.keptBefore.push_back(kept);
        if (UpdateContact(db_, merged) != StoreStatus::kOk) return 1;
        undo_.addedAccounts.insert(undo_.addedAccounts.end(), merged.bank_accounts.begin(), merged.bank_accounts.end());
        for (BusinessCard& other : others) {
            undo_.mergedAway.push_back(other);
            other.bc_state = 1;
            if (UpdateContact(db_, other) != StoreStatus::kOk) return 1;
        }
        return 0;
    }

private:
    int ReadLive(int bcId, BusinessCard& out) {
        if (!named_.insert(bcId).second) return MergeStore::kNotLive;
        const StoreStatus read = contacts::ReadOneContact(db_, "where bc_id= ?;", {Arg(bcId)}, out);
        if (read == StoreStatus::kFailed) return 1;
        return read == StoreStatus::kNotFound || out.bc_state != 0 ? MergeStore::kNotLive : 0;
    }

    SqliteDb& db_;
    MergeUndo& undo_;
    std::set<int> named_;
};

}  // namespace

int MergeStore::Merge(const std::vector<MergePlan>& plans, MergeUndo& undo) {
    MergeUndo done;
    const int rc = RunMergeWrite(store_, done, [&](SqliteDb& db) {
        MergeRun run(db, done);
        for (const MergePlan& plan : plans)
            if (const int status = run.Run(plan); status != 0) return status;
        return 0;
    });
    if (rc == 0) undo = std::move(done);
    return rc;
}

int MergeStore::Undo(const MergeUndo& undo) {
    MergeUndo rows = undo;
    return ResultOf(contacts::RunWrite(store_, rows, [&](SqliteDb& db) {
        for (UserBankInfo& account : rows.addedAccounts) {
            account.ubank_state = 1;
            if (ModifyBankAccount(db, account) != 0) return StoreStatus::kFailed;
        }
        for (BusinessCardList* list : {&rows.keptBefore, &rows.mergedAway})
            for (BusinessCard& card : *list)
                if (UpdateContact(db, card) != StoreStatus::kOk) return StoreStatus::kFailed;
        return StoreStatus::kOk;
    }));
}

int MergeStore::EditTimes(std::unordered_map<int, int>& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        ResultTable t;
        if (db.query(kEditTimes, {Arg(static_cast<int>(OPER_CONTACT))}, t) != SQLITE_OK) return 1;
        for (int r = 0; r < t.rows(); ++r) out[t.integer(r, 0)] = t.integer(r, 1);
        return 0;
    });
}

int MergeStore::NewestContactId(int& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        ResultTable t;
        if (db.query("SELECT coalesce(max(bc_id),0) FROM tb_bc;", t) != SQLITE_OK || t.empty()) return 1;
        out = t.integer(0, 0);
        return 0;
    });
}

int MergeStore::IgnoreGroup(const std::vector<int>& bcIds) {
    std::vector<int> ids = bcIds;
    std::sort(ids.begin(), ids.end());
    return ResultOf(contacts::RunWrite(store_, ids, [&](SqliteDb& db) {
        if (db.execute(kIgnoredTable) != SQLITE_OK) return StoreStatus::kFailed;
        for (std::size_t a = 0; a < ids.size(); ++a)
            for (std::size_t b = a + 1; b < ids.size(); ++b)
                if (ids[a] != ids[b] && db.execute(kIgnorePair, {Arg(ids[a]), Arg(ids[b])}) != SQLITE_OK)
                    return StoreStatus::kFailed;
        return StoreStatus::kOk;
    }));
}

int MergeStore::IgnoredPairs(std::set<std::pair<int, int>>& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        ResultTable t;
        if (db.execute(kIgnoredTable) != SQLITE_OK || db.query(kIgnoredPairs, t) != SQLITE_OK) return 1;
        for (int r = 0; r < t.rows(); ++r) out.insert({t.integer(r, 0), t.integer(r, 1)});
        return 0;
    });
}

}  // namespace kivtal
