// The contact store on a user database of 10,000 live contacts, each with one bank
// account, spread over 20 groups. The data set is built once in a scratch folder.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ChineseBook.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"

namespace kivtal {
namespace {

constexpr int kContacts = 10000;
constexpr int kGroups = bench::kBookGroups;

class DataSet {
public:
    DataSet() {
        char pattern[] = "/tmp/kivtal-bench-contacts-XXXXXX";
        dir_ = mkdtemp(pattern);
        store_ = std::make_unique<LocalStore>(StorePaths{dir_ + "/user", dir_ + "/none.db"});
        store_->EnsureUserDb("bench");
        Fill();
    }
    ~DataSet() {
        store_.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    LocalStore& store() { return *store_; }
    std::string path() { return store_->userDbPath(); }

private:
    void Fill() {
        if (!bench::FillBook(*store_, kContacts)) std::abort();
    }

    std::string dir_;
    std::unique_ptr<LocalStore> store_;
};

DataSet& Data() {
    static DataSet data;
    return data;
}

void ReadAllByName(benchmark::State& state, LocalStore& store) {
    ContactStore contacts(store);
    for (auto _ : state) {
        BusinessCardList list;
        if (contacts.AllContactsByName(false, list) != 0 || list.size() != kContacts) state.SkipWithError("read");
        benchmark::DoNotOptimize(list.data());
    }
}

void BM_AllContactsByName(benchmark::State& state) { ReadAllByName(state, Data().store()); }
BENCHMARK(BM_AllContactsByName)->Unit(benchmark::kMillisecond);

// The floor: the same contacts and accounts in one SELECT on a connection that is
// already open, read whole into memory.
void BM_FloorOneJoinOnOpenConnection(benchmark::State& state) {
    SqliteDb db;
    db.open(Data().path());
    const std::string sql =
        "SELECT b.*, u.ubank_id,u.bank_name,u.ubank_branch,u.ubank_subbranch,u.ubank_card,u.ubank_user,u.bc_id,"
        "u.server_id,u.ubank_state,u.bc_server_id FROM tb_bc b LEFT JOIN tb_ubank_info u ON u.bc_id=b.bc_id "
        "WHERE b.bc_state = 0 ORDER BY b.bc_name_pinyin;";
    for (auto _ : state) {
        ResultTable t;
        if (db.query(sql, t) != SQLITE_OK || t.rows() != kContacts) state.SkipWithError("read");
        benchmark::DoNotOptimize(t.rows());
    }
}
BENCHMARK(BM_FloorOneJoinOnOpenConnection)->Unit(benchmark::kMillisecond);

void BM_AlphabetIndex(benchmark::State& state) {
    ContactStore contacts(Data().store());
    for (auto _ : state) {
        std::vector<int> index;
        if (contacts.AlphabetIndex(index) != 0) state.SkipWithError("index");
        benchmark::DoNotOptimize(index.data());
    }
}
BENCHMARK(BM_AlphabetIndex)->Unit(benchmark::kMillisecond);

// A two-character term: a given name (about 1 in 12 contacts) and a phone fragment
// that every contact matches.
void BM_Search(benchmark::State& state, const char* term) {
    ContactStore contacts(Data().store());
    std::size_t found = 0;
    for (auto _ : state) {
        BusinessCardList list;
        if (contacts.Search(term, list) != 0) state.SkipWithError("search");
        found = list.size();
    }
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_Search, two_chinese_chars, "伟芳")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, two_digits_all_match, "39")->Unit(benchmark::kMillisecond);

void BM_ContactGroups(benchmark::State& state) {
    ContactStore contacts(Data().store());
    for (auto _ : state) {
        CardGroupList groups;
        if (contacts.ContactGroups(groups) != 0 || groups.size() != kGroups) state.SkipWithError("groups");
        benchmark::DoNotOptimize(groups.data());
    }
}
BENCHMARK(BM_ContactGroups)->Unit(benchmark::kMillisecond);

// A store over a copy of the data set under another login name, so that a benchmark
// may change it while the others keep their 10,000 contacts.
std::unique_ptr<LocalStore> CopyOfData(const std::string& login) {
    const std::filesystem::path folder = std::filesystem::path(Data().path()).parent_path();
    std::filesystem::copy_file(Data().path(), folder / (login + ".db"),
                               std::filesystem::copy_options::overwrite_existing);
    auto store = std::make_unique<LocalStore>(StorePaths{folder.string(), "/none.db"});
    store->EnsureUserDb(login);
    return store;
}

// What the all-contacts read would cost if tb_ubank_info had an index on bc_id: the
// per-contact account queries are full scans without one. Measured on a copy; the
// store's schema is unchanged.
void BM_AllContactsByNameIfAccountsWereIndexed(benchmark::State& state) {
    auto store = CopyOfData("indexed");
    store->OpenUserDb().db().execute("CREATE INDEX ix_bench_ubank_bc ON tb_ubank_info(bc_id);");
    ReadAllByName(state, *store);
}
BENCHMARK(BM_AllContactsByNameIfAccountsWereIndexed)->Unit(benchmark::kMillisecond);

// Each add is its own locked, committed operation (durable: synchronous=FULL).
void BM_AddContactWithTwoAccounts(benchmark::State& state) {
    auto store = CopyOfData("adder");
    ContactStore contacts(*store);
    int i = 0;
    for (auto _ : state) {
        BusinessCard c = bench::BookContact(i++, 1);
        c.bank_accounts.push_back(c.bank_accounts.front());
        if (contacts.AddContact(c) != StoreStatus::kOk) state.SkipWithError("add");
    }
}
BENCHMARK(BM_AddContactWithTwoAccounts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivtal

BENCHMARK_MAIN();
