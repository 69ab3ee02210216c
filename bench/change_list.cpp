// The change list of a sync run is encoded and the service's changes parsed on every
// run; a first sync of a large address book carries thousands of entries.
#include <benchmark/benchmark.h>

#include <string>

#include "net/ChangeListCodec.h"
#include "net/ReplyParsers.h"

namespace {

kivtal::SyncRecordList Entries(int n) {
    kivtal::SyncRecordList list;
    for (int i = 0; i < n; ++i) {
        kivtal::SyncRecord r;
        r.oper_code = 1;
        r.oper_ways = 1;
        r.s_row_id = i;
        r.oper_time = 1700000000 + i;
        r.s_values = std::to_string(i) + "~麤^张三~麤^北京某某科技有限公司~麤^13800138000~麤^a+b=c/d?e";
        list.push_back(r);
    }
    return list;
}

void BM_EncodeChangeList(benchmark::State& state) {
    const auto list = Entries(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(kivtal::EncodeChangeList(list));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncodeChangeList)->Arg(1000)->Arg(10000);

void BM_ParseReceiveReply(benchmark::State& state) {
    std::string reply = R"({"error":"0","opers":[)";
    for (int i = 0; i < state.range(0); ++i) {
        if (i > 0) reply += ',';
        reply += R"({"oper_id":"1","main":"0","time":"1700000000","oper_ways":"1","id":")" + std::to_string(i) +
                 R"(","content":"1~麤^张三~麤^北京某某科技有限公司~麤^13800138000"})";
    }
    reply += "]}";
    for (auto _ : state) {
        kivtal::SyncRecordList out;
        benchmark::DoNotOptimize(kivtal::ParseReceiveReply(reply, out));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseReceiveReply)->Arg(1000)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
