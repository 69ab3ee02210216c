// Finding the duplicates among 10,000 live contacts (budget 200 ms): every 25th
// contact is another one written differently (its mobile with +86 and dashes, its
// e-mail in capitals), every 40th an exact twin. Once over the records in memory, and
// once with the read of the whole book from a store on disk before it, as the window
// and the command line run it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>

#include "duplicates/DuplicateFinder.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

constexpr int kContacts = 10000;

BusinessCard Person(int i) {
    BusinessCard c;
    c.bc_name = "客户" + std::to_string(i);
    c.bc_name_pinyin = "KEHU" + std::to_string(i);
    c.company_name = "公司" + std::to_string(i % 1000);
    c.cell_phone = "139" + std::to_string(10000000 + i);
    c.fix_phone = "010-" + std::to_string(60000000 + i);
    c.mail = "user" + std::to_string(i) + "@example.com";
    c.position = "经理";
    UserBankInfo a;
    a.bank_name = "工商银行";
    a.ubank_card = "6222" + std::to_string(100000000 + i);
    c.bank_accounts.push_back(a);
    return c;
}

BusinessCardList Book() {
    BusinessCardList book;
    for (int i = 0; i < kContacts; ++i) {
        BusinessCard c = Person(i);
        if (i % 25 == 1) {
            c = Person(i - 1);
            c.cell_phone = "+86 139-" + c.cell_phone.substr(3, 4) + "-" + c.cell_phone.substr(7);
            c.mail = "USER" + std::to_string(i - 1) + "@EXAMPLE.COM";
        } else if (i % 40 == 2) {
            c = Person(i - 1);
        }
        c.bc_id = i + 1;
        book.push_back(std::move(c));
    }
    return book;
}

// The book in a user database of a scratch folder, written in one transaction.
class StoredBook {
public:
    StoredBook() {
        store_.EnsureUserDb("bench");
        StoreSession s = store_.OpenUserDb();
        SqliteTransaction tx(s.db());
        for (BusinessCard c : Book()) {
            c.bc_id = 0;
            if (InsertContact(s.db(), c) != StoreStatus::kOk) std::abort();
        }
        if (tx.commit() != SQLITE_OK) std::abort();
    }
    LocalStore& store() { return store_; }

private:
    test::TempDir dir_;
    LocalStore store_{StorePaths{dir_.path() + "user", dir_.path() + "none.db"}};
};

void BM_FindInMemory(benchmark::State& state) {
    const BusinessCardList book = Book();
    std::size_t groups = 0;
    for (auto _ : state) groups = duplicates::FindDuplicates(book).size();
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(BM_FindInMemory)->Unit(benchmark::kMillisecond);

void BM_FindExactInMemory(benchmark::State& state) {
    const BusinessCardList book = Book();
    std::size_t groups = 0;
    for (auto _ : state) groups = duplicates::FindDuplicates(book, {.exactOnly = true}).size();
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(BM_FindExactInMemory)->Unit(benchmark::kMillisecond);

void BM_ReadAndFind(benchmark::State& state) {
    static StoredBook stored;
    ContactStore contacts(stored.store());
    std::size_t groups = 0;
    for (auto _ : state) {
        BusinessCardList book;
        if (contacts.AllContacts(book) != 0 || book.size() != kContacts) state.SkipWithError("read");
        groups = duplicates::FindDuplicates(book).size();
    }
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(BM_ReadAndFind)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivtal

BENCHMARK_MAIN();
