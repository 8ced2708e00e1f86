// Drawing lots: item 49 on 1,000 names (up to 18.8 million swaps), and the shuffle of
// large lists, where 200,000 slots take the Fisher-Yates pass.
#include <benchmark/benchmark.h>

#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"
#include "core/mekrandom.h"
#include "everyday/mekzj.h"

namespace {

std::string Names(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += (i > 1 ? "," : "") + std::to_string(i);
  return text;
}

// A seed after which Random(100) gives r: the shuffle then makes (r + 1) x Count x 188 + 1
// swaps, or the Fisher-Yates pass when that overflows.
uint32_t SeedFor(int32_t r) {
  for (uint32_t seed = 1;; ++seed) {
    RandSeed(seed);
    if (Random(100) == r) return seed;
  }
}

}  // namespace

// The whole item: split, shuffle with a clock seed (r varies per run), join.
static void BM_Item49(benchmark::State& state) {
  const std::string text = Names(static_cast<int>(state.range(0)));
  TDispatcher calc;
  RunEquals(state, calc, 49, text);
}
BENCHMARK(BM_Item49)->Arg(1000)->Unit(benchmark::kMillisecond);

// Shuffle alone with r fixed: range(0) slots, range(1) = r.
static void BM_Shuffle(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  const uint32_t seed = SeedFor(static_cast<int32_t>(state.range(1)));
  Tmekzj order(n, 0);
  for (auto _ : state) {
    RandSeed(seed);
    order.Shuffle();
    benchmark::DoNotOptimize(order.Items.data());
  }
  const double swaps = static_cast<double>(state.range(1) + 1) * n * 188;
  state.counters["swaps"] = swaps < 2147483648.0 ? swaps + 1 : n - 1;
}
BENCHMARK(BM_Shuffle)->Args({1000, 0})->Args({1000, 49})->Args({1000, 99})
    ->Unit(benchmark::kMillisecond);
// 200,000 slots with r = 99 overflow the swap count: the Fisher-Yates pass.
BENCHMARK(BM_Shuffle)->Args({200000, 99})->Unit(benchmark::kMillisecond);
// The largest lists the swap rule still covers, at their worst: about 1.9 and 2.1
// billion swaps.
BENCHMARK(BM_Shuffle)->Args({100000, 99})->Args({114227, 99})->Iterations(1)
    ->Unit(benchmark::kMillisecond);
