// Conflict settlement over 5,000 local and 5,000 received entries of mixed kinds, a
// tenth of them naming the same rows on both sides.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "model/SyncKinds.h"
#include "model/ValueString.h"
#include "net/SyncMerge.h"

namespace {

using kivtal::SyncRecord;
using kivtal::SyncRecordList;

std::string Values(int id, const std::string& name) {
    return std::to_string(id) + std::string(kivtal::kValueSeparator) + name + std::string(kivtal::kValueSeparator) +
           "x";
}

SyncRecord Entry(int kind, int rowId, int serverId, int ways, const std::string& name) {
    SyncRecord e;
    e.oper_code = kind;
    e.oper_ways = ways;
    e.s_row_id = rowId;
    e.s_server_id = serverId;
    e.main_tab = 1;
    e.s_values = Values(rowId, name);
    return e;
}

void Lists(int n, SyncRecordList& local, SyncRecordList& server) {
    std::mt19937 rng(7);
    for (int i = 0; i < n; ++i) {
        const int kind = 1 + i % 9;
        local.push_back(Entry(kind, i + 1, 100000 + i, kivtal::WAY_MODIFY, "local"));
        // Every tenth received entry names a local row; the others are rows of their own.
        const int serverId = i % 10 == 0 ? 100000 + static_cast<int>(rng() % n) : 200000 + i;
        server.push_back(
            Entry(1 + static_cast<int>(rng() % 9), 0, serverId, kivtal::WAY_MODIFY, i % 2 ? "local" : "server"));
    }
}

void BM_MergeChanges(benchmark::State& state) {
    SyncRecordList local0, server0;
    Lists(static_cast<int>(state.range(0)), local0, server0);
    for (auto _ : state) {
        state.PauseTiming();
        SyncRecordList local = local0, server = server0, dropped;
        state.ResumeTiming();
        kivtal::mergeChanges(local, server, dropped);
        benchmark::DoNotOptimize(server.data());
    }
}
BENCHMARK(BM_MergeChanges)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
