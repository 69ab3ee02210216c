// The account and content reads the windows make while the user waits: the area
// pickers of the profile editor, the news window and a settings save.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/AccountStore.h"
#include "store/ContentStore.h"
#include "store/ReferenceStore.h"

namespace {

using namespace kivtal;

// One user database with 200 news and a settings row, plus the shipped reference
// database, built once for every benchmark and removed at exit.
struct Data {
    std::string dir;
    LocalStore store;

    Data() : dir(MakeDir()), store(StorePaths{dir, DefaultRefDbPath()}) {
        store.EnsureUserDb("bench");
        NewsList news;
        for (int i = 0; i < 200; ++i) {
            News n;
            n.news_server_id = i;
            n.news_title = "消息标题 " + std::to_string(i);
            n.news_content = std::string(400, 'x');
            n.create_time = 1700000000 + i * 60;
            news.push_back(n);
        }
        ContentStore(store).StoreNews(news);
        StoreSession s = store.OpenUserDb();
        s.db().execute(
            "INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id)"
            "VALUES(6,0,0,1,1);");
    }
    ~Data() { std::filesystem::remove_all(dir); }

    static std::string MakeDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kivtal-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data())) + "/";
    }
};

Data& Shared() {
    static Data data;
    return data;
}

// The province's cities for the picker, or the chain of a district to fill it.
void BM_AreaRead(benchmark::State& state, int (ReferenceStore::*read)(int, AddressInfoList&), int id) {
    ReferenceStore refs(Shared().store);
    for (auto _ : state) {
        AddressInfoList areas;
        (refs.*read)(id, areas);
        benchmark::DoNotOptimize(areas);
    }
}
BENCHMARK_CAPTURE(BM_AreaRead, under_province, &ReferenceStore::AreasUnder, 440000);
BENCHMARK_CAPTURE(BM_AreaRead, path_of_district, &ReferenceStore::AreaPath, 440106);

void BM_ReadNews200(benchmark::State& state) {
    ContentStore content(Shared().store);
    for (auto _ : state) {
        NewsList news;
        content.ReadNews(news);
        benchmark::DoNotOptimize(news);
    }
}
BENCHMARK(BM_ReadNews200);

void BM_ModifySettings(benchmark::State& state) {
    AccountStore accounts(Shared().store);
    UserSettings s{1, 6, 0, 0, 1, 1};
    for (auto _ : state) {
        s.coloumn_show ^= UserSettings::kShowEmail;
        benchmark::DoNotOptimize(accounts.ModifySettings(s));
    }
}
BENCHMARK(BM_ModifySettings);

}  // namespace

BENCHMARK_MAIN();
