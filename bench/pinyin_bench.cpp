// Item 39 on a 10,000-character text: the pinyin of every character, looked up in the
// data file beside orvex-calc.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"
#include "core/mekstr.h"

namespace {

// 10,000 characters: a passage of 50 repeated, some ASCII among them.
std::string LongText() {
  const std::string passage =
      "春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。长江黄河的水都流向大海, "
      "pinyin中国人民好";
  std::string text;
  while (CharCount(text) < 10000) text += passage;
  return text.substr(0, CharBytePos(text, 10001) - 1);
}

}  // namespace

static void BM_PinyinOfText10000(benchmark::State& state) {
  const std::string text = LongText(), dir = BenchDataDir();
  if (PinyinOfText("中", dir) != "zhōng") state.SkipWithError(("no pinyin data file in " + dir).c_str());
  for (auto _ : state) benchmark::DoNotOptimize(PinyinOfText(text, dir));
  state.SetItemsProcessed(state.iterations() * CharCount(text));
}
BENCHMARK(BM_PinyinOfText10000)->Unit(benchmark::kMillisecond);

static void BM_Item39Equals10000(benchmark::State& state) {
  const std::string text = LongText();
  TDispatcher calc;
  calc.DataDir = BenchDataDir();
  RunEquals(state, calc, 39, text);
}
BENCHMARK(BM_Item39Equals10000)->Unit(benchmark::kMillisecond);
