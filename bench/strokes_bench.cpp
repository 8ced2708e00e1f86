// Stroke counts and radicals of every GB2312 hanzi cell, and the name relationship of
// two long names.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "everyday/mekshenghuo.h"
#include "hanzi/mekhanzistr.h"

namespace {

std::vector<std::string> HanziCells() {
  std::vector<std::string> cells;
  for (int lead = 0xB0; lead <= 0xF7; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail)
      cells.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  return cells;
}

}  // namespace

static void BM_StrokeCountEveryCell(benchmark::State& state) {
  const std::vector<std::string> cells = HanziCells();
  for (auto _ : state) {
    long sum = 0;
    for (const std::string& c : cells) sum += HanziStrokeCount(c);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cells.size()));
}
BENCHMARK(BM_StrokeCountEveryCell)->Unit(benchmark::kMicrosecond);

static void BM_RadicalEveryCell(benchmark::State& state) {
  const std::vector<std::string> cells = HanziCells();
  for (auto _ : state) {
    size_t bytes = 0;
    for (const std::string& c : cells) bytes += HanziRadical(c).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cells.size()));
}
BENCHMARK(BM_RadicalEveryCell)->Unit(benchmark::kMillisecond);

// Two names of n characters each.
static void BM_NameRelationship(benchmark::State& state) {
  std::string first, second;
  for (int64_t i = 0; i < state.range(0); ++i) {
    first += "张";
    second += "李";
  }
  for (auto _ : state) benchmark::DoNotOptimize(NameRelationship(first, second));
  state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_NameRelationship)->Arg(3)->Arg(100000)->Unit(benchmark::kMicrosecond);
