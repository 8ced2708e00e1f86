// The evaluator, the full-width mapping, one "=" of item 0, and orvex-calc --batch.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"
#include "core/mekmath.h"
#include "core/mekstr.h"

static void BM_EvaluateShort(benchmark::State& state) {
  const std::string e = "(2+3)*7/19";
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateExpression(e));
}
BENCHMARK(BM_EvaluateShort);

static void BM_Evaluate2000Terms(benchmark::State& state) {
  std::string e;
  for (int i = 0; i < 500; ++i) e += "(12.5+3)*7/19-";
  e += "1";
  for (auto _ : state) benchmark::DoNotOptimize(EvaluateExpression(e));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(e.size()));
}
BENCHMARK(BM_Evaluate2000Terms);

static void BM_ToHalfWidth1MB(benchmark::State& state) {
  std::string text;
  while (text.size() < (1 << 20)) text += "１２３。４５＋（６）中文abc ｘｙｚ，";
  for (auto _ : state) benchmark::DoNotOptimize(ToHalfWidth(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ToHalfWidth1MB)->Unit(benchmark::kMillisecond);

static void BM_EqualsItemZero(benchmark::State& state) {
  TDispatcher calc;
  RunEquals(state, calc, 0, "(2+3)*7/19");
}
BENCHMARK(BM_EqualsItemZero);

// orvex-calc --batch over 200,000 lines of short expressions; reports lines per second.
static void BM_BatchThroughput(benchmark::State& state) {
  const int lines = 200000;
  char path[] = "/tmp/orvex-batch-XXXXXX";
  const int fd = mkstemp(path);
  FILE* f = fdopen(fd, "w");
  const char* exprs[] = {"(2+3)*7/19", "1+2*3", "１２３＋４", "8/2/2", "1/0", "0.1+0.2"};
  for (int i = 0; i < lines; ++i) std::fprintf(f, "0\t%s\n", exprs[i % 6]);
  std::fclose(f);
  TimeBatchRun(state, path);
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines) * state.iterations(), benchmark::Counter::kIsRate);
  std::remove(path);
}
BENCHMARK(BM_BatchThroughput)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
