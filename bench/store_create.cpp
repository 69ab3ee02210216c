// Creating a user database with its whole schema, as the first login does.
#include <benchmark/benchmark.h>

#include <string>

#include "store/LocalStore.h"
#include "support/TempDir.h"

namespace {

void BM_CreateUserDatabase(benchmark::State& state) {
    kivtal::test::TempDir dir;
    kivtal::LocalStore store(kivtal::StorePaths{dir.path() + "user", ""});
    int n = 0;
    for (auto _ : state) {
        if (store.EnsureUserDb("user" + std::to_string(n++)) != 0) state.SkipWithError("creation failed");
    }
}
BENCHMARK(BM_CreateUserDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
