// Code-page conversion at the program's edges: text full of characters GBK lacks (each
// becomes "?"), ten megabytes of mixed text both ways, and orvex-calc --batch on one line
// of 200,000 emoji and on lines of ten megabytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "benchutil.h"
#include "core/codepage.h"

namespace {

// UTF-8 bytes written as escapes: this file's literals are compiled to GBK.
const char* const Emoji = "\xF0\x9F\x98\x80";    // U+1F600, beyond GBK
const char* const Hangul = "\xEA\xB0\x80";       // U+AC00, a BMP character GBK lacks
const char* const Hanzi = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文

std::string Repeated(const std::string& piece, size_t bytes) {
  std::string text;
  text.reserve(bytes + piece.size());
  while (text.size() < bytes) text += piece;
  return text;
}

// Ten megabytes of what a hostile or careless user might paste: letters, Chinese,
// characters GBK lacks, and bytes that are no UTF-8 at all.
std::string MixedUtf8(size_t bytes) {
  return Repeated(std::string("abc 1+2 ") + Hanzi + Emoji + Hangul + "\xC0\x80\xFF\xED\xA0\x80" +
                      "\xE4\xB8",
                  bytes);
}

void ToGbk(benchmark::State& state, const std::string& text) {
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToGbk(text).data());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// Runs orvex-calc --batch on a file holding the one line "0<TAB>" + text + "1+2".
void BatchOneLine(benchmark::State& state, const std::string& text) {
  char path[] = "/tmp/orvex-codepage-XXXXXX";
  FILE* f = fdopen(mkstemp(path), "w");
  std::fprintf(f, "0\t%s1+2\n", text.c_str());
  std::fclose(f);
  TimeBatchRun(state, path);
  std::remove(path);
}

}  // namespace

static void BM_Utf8ToGbk200kEmoji(benchmark::State& state) {
  ToGbk(state, Repeated(Emoji, 200000 * 4));
}
BENCHMARK(BM_Utf8ToGbk200kEmoji)->Unit(benchmark::kMillisecond);

static void BM_Utf8ToGbkHangul10MB(benchmark::State& state) {
  ToGbk(state, Repeated(Hangul, 10 << 20));
}
BENCHMARK(BM_Utf8ToGbkHangul10MB)->Unit(benchmark::kMillisecond);

static void BM_Utf8ToGbkMixed10MB(benchmark::State& state) { ToGbk(state, MixedUtf8(10 << 20)); }
BENCHMARK(BM_Utf8ToGbkMixed10MB)->Unit(benchmark::kMillisecond);

static void BM_GbkToUtf8Mixed10MB(benchmark::State& state) {
  // GBK text with single bytes that decode to nothing (0x80 stands for the euro sign,
  // 0xFF for no character) and a lead byte cut off by an ASCII byte.
  const std::string text =
      Repeated(Utf8ToGbk(std::string("abc 1+2 ") + Hanzi) + "\xFF\x80\xB0" "a", 10 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(GbkToUtf8(text).data());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_GbkToUtf8Mixed10MB)->Unit(benchmark::kMillisecond);

static void BM_BatchLineOf200kEmoji(benchmark::State& state) {
  BatchOneLine(state, Repeated(Emoji, 200000 * 4));
}
BENCHMARK(BM_BatchLineOf200kEmoji)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_BatchLineOf10MBEmoji(benchmark::State& state) {
  BatchOneLine(state, Repeated(Emoji, 10 << 20));
}
BENCHMARK(BM_BatchLineOf10MBEmoji)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_BatchLineOf10MBMixed(benchmark::State& state) {
  BatchOneLine(state, MixedUtf8(10 << 20));
}
BENCHMARK(BM_BatchLineOf10MBMixed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
