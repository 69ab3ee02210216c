// The coming-birthdays list over 10,000 contacts with birthdays (two in five lunar, some
// in leap months, some on a 30th, a tenth without a year), budget 20 ms: the list alone
// from birthdays already read, and the whole of it from a user database on disk (open,
// read, compute, sort), as the matters page and `kivtal-cli birthdays` do it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "store/ContactBirthdays.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

constexpr int kContacts = 10000;
constexpr CivilDate kToday{2026, 5, 20};

ContactBirthday MakeBirthday(int i) {
    const bool lunar = i % 5 < 2;
    const int year = i % 10 == 0 ? 0 : 1940 + i % 80;
    int month = 1 + i % 12;
    if (lunar && i % 50 == 1) month = -month;  // a leap month the year may not have
    const int day = 1 + i % (lunar ? 30 : 28);
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return {i + 1, "联系人" + std::to_string(i), lunar ? kLunarBirthday : kSolarBirthday, text};
}

std::vector<ContactBirthday> Birthdays() {
    std::vector<ContactBirthday> all;
    for (int i = 0; i < kContacts; ++i) all.push_back(MakeBirthday(i));
    return all;
}

void BM_UpcomingBirthdays(benchmark::State& state) {
    const std::vector<ContactBirthday> all = Birthdays();
    for (auto _ : state) benchmark::DoNotOptimize(UpcomingBirthdays(all, kToday, 30));
}
BENCHMARK(BM_UpcomingBirthdays)->Unit(benchmark::kMillisecond);

class DataSet {
public:
    DataSet() : store_(StorePaths{dir_.path() + "user", dir_.path() + "none.db"}) {
        store_.EnsureUserDb("bench");
        StoreSession s = store_.OpenUserDb();
        SqliteTransaction tx(s.db());
        for (const ContactBirthday& b : Birthdays()) {
            BusinessCard c;
            c.bc_name = b.name;
            c.birthday_type = b.type;
            c.birthday = b.text;
            if (InsertContact(s.db(), c) != StoreStatus::kOk) std::abort();
        }
        if (tx.commit() != SQLITE_OK) std::abort();
    }
    LocalStore& store() { return store_; }

private:
    test::TempDir dir_;
    LocalStore store_;
};

void BM_UpcomingBirthdaysFromTheStore(benchmark::State& state) {
    static DataSet data;
    for (auto _ : state) {
        std::vector<ContactBirthday> read;
        if (ReadContactBirthdays(data.store(), read) != 0 || read.size() != kContacts) state.SkipWithError("read");
        benchmark::DoNotOptimize(UpcomingBirthdays(read, kToday, 30));
    }
}
BENCHMARK(BM_UpcomingBirthdaysFromTheStore)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivtal

BENCHMARK_MAIN();
