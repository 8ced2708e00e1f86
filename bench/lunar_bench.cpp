// Solar to lunar for every day of 1901-2050 (54,787 dates).
#include <benchmark/benchmark.h>

#include "calendar/mekdate.h"

static void BM_SolarToLunarEveryDay(benchmark::State& state) {
  const double first = EncodeDate(1901, 1, 1), last = EncodeDate(2050, 12, 31);
  for (auto _ : state) {
    long sum = 0;
    for (double d = first; d <= last; ++d) sum += SolarToLunarCode(d);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(last - first + 1));
}
BENCHMARK(BM_SolarToLunarEveryDay)->Unit(benchmark::kMillisecond);

static void BM_LunarDateTextEveryDay(benchmark::State& state) {
  const double first = EncodeDate(1901, 1, 1), last = EncodeDate(2050, 12, 31);
  for (auto _ : state) {
    size_t bytes = 0;
    for (double d = first; d <= last; ++d) bytes += LunarDateText(d).size();
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_LunarDateTextEveryDay)->Unit(benchmark::kMillisecond);
