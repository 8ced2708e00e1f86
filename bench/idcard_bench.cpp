// Items 4, 37 and 36 (identity card numbers): one "=" per iteration; item 36 on the
// committed sfz.dll, kept parsed between lookups, and read anew for every lookup.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/dispatcher.h"
#include "benchutil.h"
#include "core/mekini.h"

namespace {

// The data files sit beside orvex-calc, one folder above the benchmarks, unless
// ORVEX_DATA_DIR names another folder.
void RunItem(benchmark::State& state, int item, const char* typed) {
  TDispatcher calc;
  calc.DataDir = BenchDataDir();
  RunEquals(state, calc, item, typed);
  state.SetLabel(calc.Edit1Text.size() > 2 ? "answered" : "no answer");
}

// Nine copies of sfz.dll looked up in turn: more files than the reader keeps parsed,
// so every lookup reads and parses its file.
void IniReadEveryTime(benchmark::State& state) {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/idcardbenchXXXXXX";
  const std::string folder = mkdtemp(pattern.data());
  std::vector<std::string> paths;
  for (int i = 0; i < 9; ++i) {
    paths.push_back(folder + "/sfz" + std::to_string(i) + ".dll");
    std::filesystem::copy_file(BenchDataDir() + "/sfz.dll", paths.back());
  }
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(IniReadString(paths[k], "sfz", "659001", "?").data());
    k = (k + 1) % paths.size();
  }
  std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK_CAPTURE(RunItem, Item4Birth18, 4, "11010519491231002X");
BENCHMARK_CAPTURE(RunItem, Item4Birth15, 4, "110105491231002");
BENCHMARK_CAPTURE(RunItem, Item37Check18, 37, "11010519491231002X");
BENCHMARK_CAPTURE(RunItem, Item37Check15, 37, "110105491231002");
BENCHMARK_CAPTURE(RunItem, Item36Region, 36, "510104199003070015");
BENCHMARK_CAPTURE(RunItem, Item36Unknown, 36, "999999199003070015");
BENCHMARK(IniReadEveryTime)->Unit(benchmark::kMicrosecond);
