#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "text/ChsToPinyin.h"

namespace {

// Three-character names in GBK, spread over level 1 and level 2 so that both lookups run.
std::array<std::string, 8> Names() {
    return {
        "\xD5\xC5\xC8\xFD\xB7\xE1",  // 张三丰
        "\xCD\xF5\xD0\xA1\xC3\xF7",  // 王小明
        "\xC0\xEE\xB4\xF3\xC1\xFA",  // 李大龙
        "\xC2\xC0\xD7\xF7\xD0\xC2",  // 吕作新
        "\xE3\xCC\xC7\xF0\xC3\xF7",  // 闾丘明
        "\xF1\xD2\xB9\xFA\xB6\xB0",  // 褚国栋
        "\xE5\xA7\xD1\xF4\xB7\xE5",  // 濮阳峰
        "\xC5\xB7\xD1\xF4\xB7\xE5",  // 欧阳峰
    };
}

void BM_ToPinyinThreeCharacterNames(benchmark::State& state) {
    const auto names = Names();
    const auto& converter = kivtal::ChsToPinyin::Instance();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(converter.ToPinyin(names[i++ % names.size()]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToPinyinThreeCharacterNames);

}  // namespace

BENCHMARK_MAIN();
