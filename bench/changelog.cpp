// The change log on a user database the size of a busy account: the cost of one
// logged edit (it holds the store lock the UI waits on) and of the sync run's reads
// and acknowledgements over thousands of entries.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "model/SyncKinds.h"
#include "store/ChangeLog.h"
#include "store/ChangeLogEntries.h"
#include "store/LocalStore.h"

namespace {

constexpr int kContacts = 5000;

// One user database with kContacts contacts, each with its pending add entry, built
// once and removed at exit.
struct Account {
    Account() : store(kivtal::StorePaths{MakeDir() + "user/", dir + "none.db"}) {
        store.EnsureUserDb("bench");
        auto s = store.OpenUserDb();
        kivtal::SqliteTransaction tx(s.db());
        for (int i = 0; i < kContacts; ++i) {
            kivtal::BusinessCard c;
            c.bc_name = "contact " + std::to_string(i);
            c.company_name = "某某科技有限公司";
            s.db().execute("INSERT INTO tb_bc(bc_name,company_name)VALUES(?,?);",
                           {kivtal::Arg(c.bc_name), kivtal::Arg(c.company_name)});
            c.bc_id = static_cast<int>(s.db().lastInsertId());
            kivtal::LogAdd(s.db(), c);
        }
        tx.commit();
    }
    ~Account() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string MakeDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kivtal-bench-XXXXXX").string();
        dir = std::string(mkdtemp(pattern.data())) + "/";
        return dir;
    }

    std::string dir;
    kivtal::LocalStore store;
};

Account& TheAccount() {
    static Account account;
    return account;
}

void BM_LoggedContactEdit(benchmark::State& state) {
    Account& a = TheAccount();
    kivtal::BusinessCard c;
    c.bc_id = kContacts / 2;
    int n = 0;
    for (auto _ : state) {
        c.bc_name = "renamed " + std::to_string(++n);
        auto s = a.store.OpenUserDb();
        kivtal::SqliteTransaction tx(s.db());
        s.db().execute("UPDATE tb_bc SET bc_name=? where bc_id=?;", {kivtal::Arg(c.bc_name), kivtal::Arg(c.bc_id)});
        if (kivtal::LogChange(s.db(), c) != 0 || tx.commit() != SQLITE_OK) state.SkipWithError("edit failed");
    }
}
BENCHMARK(BM_LoggedContactEdit)->Unit(benchmark::kMicrosecond);

void BM_PendingEntries(benchmark::State& state) {
    kivtal::ChangeLog log(TheAccount().store);
    for (auto _ : state) {
        std::vector<kivtal::SyncRecord> out;
        if (log.PendingEntries(out) != 0 || out.size() != static_cast<size_t>(kContacts))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_PendingEntries)->Unit(benchmark::kMillisecond);

// Acknowledges the first N contacts; repeating it rewrites the same values.
void BM_ApplyCommitResults(benchmark::State& state) {
    kivtal::ChangeLog log(TheAccount().store);
    std::vector<kivtal::SyncRecord> results(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < results.size(); ++i) {
        results[i].oper_code = kivtal::OPER_CONTACT;
        results[i].s_row_id = static_cast<int>(i) + 1;
        results[i].s_server_id = 100000 + static_cast<int>(i);
        results[i].sync_state = kivtal::SYNC_DONE;
    }
    for (auto _ : state) {
        if (log.ApplyCommitResults(1700000000, results) != 0) state.SkipWithError("apply failed");
    }
    // Later runs of PendingEntries expect every entry pending again.
    auto s = TheAccount().store.OpenUserDb();
    s.db().execute("UPDATE tb_sync_record SET sync_state=0;");
}
BENCHMARK(BM_ApplyCommitResults)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
