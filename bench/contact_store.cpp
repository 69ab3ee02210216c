// The contact store on a user database of 10,000 live contacts, each with one bank
// account, spread over 20 groups. The data set is built once in a scratch folder.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "store/ContactStore.h"
#include "store/LocalStore.h"

namespace kivtal {
namespace {

constexpr int kContacts = 10000;
constexpr int kGroups = 20;

const char* const kSurnames[] = {"张", "李", "王", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const char* const kSurnamePinyin[] = {"ZHANG", "LI", "WANG", "LIU", "CHEN", "YANG", "ZHAO", "HUANG", "ZHOU", "WU"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "洋", "艳", "勇", "军", "杰"};
const char* const kGivenPinyin[] = {"WEI", "FANG", "NA",  "MIN",  "JING", "QIANG",
                                    "LEI", "YANG", "YAN", "YONG", "JUN",  "JIE"};

BusinessCard MakeContact(int i, int firstGroupId) {
    BusinessCard c;
    const int s = i % 10, g1 = (i / 10) % 12, g2 = (i / 120) % 12;
    c.bc_name = std::string(kSurnames[s]) + kGiven[g1] + kGiven[g2];
    c.bc_name_pinyin = std::string(kSurnamePinyin[s]) + kGivenPinyin[g1] + kGivenPinyin[g2];
    if (i % 97 == 0) c.bc_name_pinyin = "3" + c.bc_name_pinyin;  // a few under "#"
    c.company_name = "公司" + std::to_string(i % 300);
    c.cell_phone = "139" + std::to_string(10000000 + i);
    c.mail = "user" + std::to_string(i) + "@example.com";
    c.position = "经理";
    c.addr_c_detail = "北京市朝阳区某某路" + std::to_string(i) + "号";
    c.group_id = firstGroupId + i % kGroups;
    c.main_tab = 1;
    UserBankInfo a;
    a.bank_name = "工商银行";
    a.ubank_branch = "北京分行";
    a.ubank_card = "6222" + std::to_string(100000000 + i);
    a.ubank_user = c.bc_name;
    c.bank_accounts.push_back(a);
    return c;
}

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
    // One transaction for the whole set: the data set, not the write path, is what the
    // read benchmarks are about.
    void Fill() {
        ContactStore contacts(*store_);
        int firstGroupId = 0;
        for (int g = 0; g < kGroups; ++g) {
            CardGroup group;
            group.group_name = "组" + std::to_string(g);
            contacts.AddGroup(group);
            if (g == 0) firstGroupId = group.group_id;
        }
        StoreSession s = store_->OpenUserDb();
        SqliteTransaction tx(s.db());
        for (int i = 0; i < kContacts; ++i) {
            BusinessCard c = MakeContact(i, firstGroupId);
            if (InsertContact(s.db(), c) != StoreStatus::kOk) std::abort();
        }
        if (tx.commit() != SQLITE_OK) std::abort();
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
        BusinessCard c = MakeContact(i++, 1);
        c.bank_accounts.push_back(c.bank_accounts.front());
        if (contacts.AddContact(c) != StoreStatus::kOk) state.SkipWithError("add");
    }
}
BENCHMARK(BM_AddContactWithTwoAccounts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivtal

BENCHMARK_MAIN();
