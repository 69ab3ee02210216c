// The matters pane asks for the matters at a moment on every date click and for the
// busy days of the shown month on every month change; each call opens the user
// database afresh. Measured on a realistic user database: a year of 2,000 matters with
// remarks and reminders, 10,000 contacts and the change-log entries of all of them.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>

#include "model/WallClock.h"
#include "store/LocalStore.h"
#include "store/MatterStore.h"

namespace {

using namespace kivtal;

constexpr int kMatters = 2000;
constexpr int kContacts = 10000;
constexpr int kGroups = 8;

int BeijingTime(int year, int month, int day, int hour = 0) {
    return *WallClockToTime(WallClock{.year = year, .month = month, .day = day, .hour = hour});
}

void Fill(SqliteDb& db) {
    std::mt19937 rng(7);
    const int yearStart = BeijingTime(2024, 1, 1);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    db.execute("begin;");
    for (int g = 1; g <= kGroups; ++g) {
        db.execute("INSERT INTO tb_event_group(group_name,server_id,group_state)VALUES(?,?,0);",
                   {Arg("分组" + std::to_string(g)), Arg(g)});
    }
    for (int i = 1; i <= kMatters; ++i) {
        const int start = yearStart + pick(0, 365 * 86400);
        // Mostly hours long, some several days, a few a month.
        const int length = i % 50 == 0 ? pick(7, 31) * 86400 : i % 5 == 0 ? pick(1, 4) * 86400 : pick(1, 8) * 3600;
        db.execute(
            "INSERT INTO tb_event(start_time,end_time,group_id,description,place_top,server_id,event_state,"
            "create_time,server_group_id)VALUES(?,?,?,?,?,?,?,?,?);",
            {Arg(start), Arg(start + length), Arg(pick(0, kGroups)), Arg("和客户讨论合同细节 " + std::to_string(i)),
             Arg(i % 10 == 0 ? 1 : 0), Arg(i), Arg(i % 20 == 0 ? 1 : 0), Arg(start), Arg(-1)});
        for (int c = 0; c < 2; ++c) {
            db.execute(
                "INSERT INTO tb_event_comment(c_content,event_id,server_id,comment_state,create_time,"
                "event_server_id)VALUES(?,?,?,0,?,?);",
                {Arg("备注内容 " + std::to_string(c)), Arg(i), Arg(2 * i + c), Arg(start), Arg(i)});
        }
        db.execute(
            "INSERT INTO tb_event_alarm(a_content,event_id,alarm_time,alarm_whos,server_id,alarm_state,"
            "alarm_whos_id,event_description_alarm,event_server_id,alarm_myself)VALUES(?,?,?,?,?,0,?,1,?,1);",
            {Arg("提醒"), Arg(i), Arg(start - 3600), Arg("张三,李四"), Arg(i), Arg("1,2"), Arg(i)});
    }
    for (int i = 1; i <= kContacts; ++i) {
        db.execute(
            "INSERT INTO tb_bc(bc_name,company_name,cell_phone,bc_name_pinyin,bc_state,bc_server_id,main_tab)"
            "VALUES(?,?,?,?,'0',?,1);",
            {Arg("联系人" + std::to_string(i)), Arg("某某公司"), Arg("138" + std::to_string(10000000 + i)),
             Arg("LIANXIREN" + std::to_string(i)), Arg(i)});
    }
    // One acknowledged entry per row, as after a sync.
    for (const char* sql :
         {"INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
          " SELECT 2,1,event_id,description,3,create_time,server_id,1 FROM tb_event;",
          "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
          " SELECT 4,1,comment_id,c_content,3,create_time,server_id,1 FROM tb_event_comment;",
          "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
          " SELECT 1,1,bc_id,bc_name,3,0,bc_server_id,1 FROM tb_bc;"}) {
        db.execute(sql);
    }
    db.execute("commit;");
}

// The data set, built once in a scratch folder that is removed at exit.
class DataSet {
public:
    DataSet() : dir_(MakeDir()), store_(StorePaths{dir_ + "user/", dir_ + "none.db"}) {
        store_.EnsureUserDb("bench");
        SqliteDb db;
        db.open(store_.userDbPath());
        Fill(db);
    }
    ~DataSet() { std::filesystem::remove_all(dir_); }
    LocalStore& store() { return store_; }

private:
    static std::string MakeDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kivtal-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data())) + "/";
    }
    std::string dir_;
    LocalStore store_;
};

LocalStore& Store() {
    static DataSet data;
    return data.store();
}

void BM_MattersAtAMoment(benchmark::State& state) {
    MatterStore matters(Store());
    const int t = BeijingTime(2024, 6, 12, 10);
    size_t found = 0;
    for (auto _ : state) {
        TalEventList list;
        if (matters.MattersAt(t, list) != 0) state.SkipWithError("query failed");
        found = list.size();
    }
    state.counters["matters"] = static_cast<double>(found);
}
BENCHMARK(BM_MattersAtAMoment)->Unit(benchmark::kMillisecond);

void BM_MattersOfAGroupAtAMoment(benchmark::State& state) {
    MatterStore matters(Store());
    const int t = BeijingTime(2024, 6, 12, 10);
    for (auto _ : state) {
        TalEventList list;
        if (matters.MattersOfGroupAt(t, 3, list) != 0) state.SkipWithError("query failed");
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_MattersOfAGroupAtAMoment)->Unit(benchmark::kMillisecond);

void BM_BusyDaysOfAMonth(benchmark::State& state) {
    MatterStore matters(Store());
    size_t busy = 0;
    for (auto _ : state) {
        std::vector<int> days;
        if (matters.BusyDaysOfMonth(2024, 7, days) != 0) state.SkipWithError("query failed");
        busy = days.size();
    }
    state.counters["busy_days"] = static_cast<double>(busy);
}
BENCHMARK(BM_BusyDaysOfAMonth)->Unit(benchmark::kMillisecond);

// The timeline reads the reminders and remarks of each matter it shows.
void BM_RemarksAndRemindersOfAMatter(benchmark::State& state) {
    MatterStore matters(Store());
    for (auto _ : state) {
        EventCommentList remarks;
        EventAlarmList reminders;
        if (matters.RemarksOf(1000, remarks) != 0 || matters.RemindersOf(1000, reminders) != 0) {
            state.SkipWithError("query failed");
        }
        benchmark::DoNotOptimize(remarks);
    }
}
BENCHMARK(BM_RemarksAndRemindersOfAMatter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
