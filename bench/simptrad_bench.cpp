// Items 18 and 19 on a 100 KB text, through the dispatcher as "=" runs them.
#include <benchmark/benchmark.h>

#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"

namespace {

std::string HundredKilobytes(const char* unit) {
  std::string text;
  while (text.size() < 100 * 1024) text += unit;
  return text;
}

void RunItem(benchmark::State& state, int item, const std::string& text) {
  TDispatcher calc;
  RunEquals(state, calc, item, text);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

}  // namespace

static void BM_Item18Traditional100KB(benchmark::State& state) {
  RunItem(state, 18, HundredKilobytes("简体中文转为繁体中文，头发后来干燥。abc 123 "));
}
BENCHMARK(BM_Item18Traditional100KB)->Unit(benchmark::kMillisecond);

static void BM_Item19Simplified100KB(benchmark::State& state) {
  RunItem(state, 19, HundredKilobytes("簡體中文轉爲繁體中文，頭髮後來乾燥。abc 123 "));
}
BENCHMARK(BM_Item19Simplified100KB)->Unit(benchmark::kMillisecond);
