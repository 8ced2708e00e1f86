// Shared by the benchmarks: the data folder, and one "=" of an item repeated.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "app/engine/dispatcher.h"

// ORVEX_DATA_DIR, or the folder of orvex-calc, where the build puts the data files (the
// benchmarks themselves sit one folder below it).
inline std::string BenchDataDir() {
  if (const char* env = std::getenv("ORVEX_DATA_DIR"); env && *env) return env;
  const std::string calc = ORVEX_CALC_PATH;
  return calc.substr(0, calc.rfind('/'));
}

// "=" of item on the typed text, as often as the benchmark asks; calc keeps whatever the
// caller set up (its data folder, its Wubi list).
inline void RunEquals(benchmark::State& state, TDispatcher& calc, int item,
                      const std::string& typed) {
  calc.ItemIndex = item;
  for (auto _ : state) {
    calc.Edit1Text = typed;
    calc.Button20Click();
    benchmark::DoNotOptimize(calc.Edit1Text.data());
  }
}

// orvex-calc --batch on the lines of the file at path, its output discarded, once per
// iteration; the wall time of each run is the iteration's time (register with
// UseManualTime).
inline void TimeBatchRun(benchmark::State& state, const std::string& path) {
  const std::string cmd = std::string(ORVEX_CALC_PATH) + " --batch < " + path + " > /dev/null";
  for (auto _ : state) {
    timespec a, b;
    clock_gettime(CLOCK_MONOTONIC, &a);
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("orvex-calc failed");
    clock_gettime(CLOCK_MONOTONIC, &b);
    state.SetIterationTime((b.tv_sec - a.tv_sec) + (b.tv_nsec - a.tv_nsec) / 1e9);
  }
}
