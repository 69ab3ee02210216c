// The target: UTF-8 to GBK of a ten-character Chinese name within a microsecond.
#include <benchmark/benchmark.h>

#include <string>

#include "text/TextConv.h"

namespace {

const std::string kName = "欧阳张三丰李四王五赵六";  // ten characters
const std::string kSql = "SELECT bc_id, bc_name FROM tb_bc WHERE state = 0 ORDER BY bc_name_pinyin";

void BM_Utf8ToAnsi_Name(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(kivtal::Utf8ToAnsi(kName));
}
BENCHMARK(BM_Utf8ToAnsi_Name);

void BM_AnsiToUtf8_Name(benchmark::State& state) {
    const std::string gbk = kivtal::Utf8ToAnsi(kName);
    for (auto _ : state) benchmark::DoNotOptimize(kivtal::AnsiToUtf8(gbk));
}
BENCHMARK(BM_AnsiToUtf8_Name);

void BM_Utf8ToWide_Sql(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(kivtal::Utf8ToWide(kSql));
}
BENCHMARK(BM_Utf8ToWide_Sql);

// The slow path: every emoji makes iconv stop and the repair substitute "?".
void BM_Utf8ToAnsi_NameWithEmoji(benchmark::State& state) {
    const std::string text = "张三😀李四😀王五";
    for (auto _ : state) benchmark::DoNotOptimize(kivtal::Utf8ToAnsi(text));
}
BENCHMARK(BM_Utf8ToAnsi_NameWithEmoji);

}  // namespace

BENCHMARK_MAIN();
