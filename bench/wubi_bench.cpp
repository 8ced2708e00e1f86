// Item 38 on the committed Wubi list (about 21,000 lines): one "=" per iteration.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"

namespace {

// The data files sit beside orvex-calc, one folder above the benchmarks, unless
// ORVEX_DATA_DIR names another folder.
void RunItem38(benchmark::State& state, const char* typed) {
  TDispatcher calc;
  calc.DataDir = BenchDataDir();
  calc.CreateWubiList();
  if (!calc.Wubi() || calc.Wubi()->Lines.empty()) {
    state.SkipWithError("no Wubi list beside orvex-calc (set ORVEX_DATA_DIR)");
    return;
  }
  RunEquals(state, calc, 38, typed);
  state.counters["lines"] = static_cast<double>(calc.WubiList->Lines.size());
}

}  // namespace

// 﨩, the last line: found at once.
BENCHMARK_CAPTURE(RunItem38, LastCharacter, "﨩")->Unit(benchmark::kMicrosecond);
// 靵, near the end.
BENCHMARK_CAPTURE(RunItem38, CharacterNearTheEnd, "靵")->Unit(benchmark::kMicrosecond);
// 丂, the first line: every line is compared.
BENCHMARK_CAPTURE(RunItem38, FirstCharacter, "丂")->Unit(benchmark::kMicrosecond);
// An ASCII key: a substring search in the lines.
BENCHMARK_CAPTURE(RunItem38, AsciiKey, "ab")->Unit(benchmark::kMicrosecond);
// An ASCII key found nowhere: a substring search in every line.
BENCHMARK_CAPTURE(RunItem38, AsciiKeyMissing, "AB")->Unit(benchmark::kMicrosecond);

static void BM_CreateWubiList(benchmark::State& state) {
  for (auto _ : state) {
    TDispatcher calc;
    calc.DataDir = BenchDataDir();
    calc.CreateWubiList();
    benchmark::DoNotOptimize(calc.Wubi());
  }
}
BENCHMARK(BM_CreateWubiList)->Unit(benchmark::kMillisecond);
