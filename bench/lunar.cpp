#include <benchmark/benchmark.h>

#include "model/WallClock.h"
#include "text/LunarCalendar.h"

namespace {

// Walks the covered range so the measurement is not one cache-hot year.
void BM_SolarToLunarText(benchmark::State& state) {
    int year = 1902;
    int month = 1;
    int day = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kivtal::SolarToLunarText(year, month, day));
        day = day % 28 + 1;
        if (day == 1) month = month % 12 + 1;
        if (day == 1 && month == 1) year = year == 2100 ? 1902 : year + 1;
    }
}
BENCHMARK(BM_SolarToLunarText);

void BM_SolarToLunarTextLateDate(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kivtal::SolarToLunarText(2100, 12, 31));
    }
}
BENCHMARK(BM_SolarToLunarTextLateDate);

void BM_TimeToWallClock(benchmark::State& state) {
    std::int32_t t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kivtal::TimeToWallClock(t));
        t += 86'399;
    }
}
BENCHMARK(BM_TimeToWallClock);

}  // namespace

BENCHMARK_MAIN();
