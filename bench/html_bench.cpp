// HtmlToText on pages of 1 MB and 8 MB (the largest page a fetch keeps), the UTF-8
// conversion of a fetched page, and the percent form of 1 MB of text.
#include <benchmark/benchmark.h>

#include <string>

#include "core/codepage.h"
#include "core/mekstr.h"
#include "net/mekhtml.h"

namespace {

// A page of about size bytes shaped like a portal's news and weather page: a head with
// styles and scripts, then rows of a table with links, entities and Chinese text.
std::string Page(size_t size) {
  std::string page =
      "<!DOCTYPE html>\r\n<HTML>\r\n<HEAD>\r\n<meta http-equiv=\"Content-Type\" "
      "content=\"text/html; charset=gb2312\">\r\n<TITLE>天气预报 - 北京</TITLE>\r\n"
      "<style type=\"text/css\">\r\nbody { font: 12px/1.5 宋体; }\r\n.t td { padding: 2px; }\r\n"
      "</style>\r\n<script type=\"text/javascript\">\r\nvar ad = '<div class=ad>广告</div>';\r\n"
      "if (a < b && c > d) { document.write(ad); }\r\n</script>\r\n</HEAD>\r\n<BODY>\r\n";
  const std::string row =
      "<tr class=\"row\"><td width=\"80\"><a href=\"/news/2013/01/12345.html\" target=\"_blank\">"
      "北京今日晴转多云</a></td><td>气温&nbsp;-5℃～3℃&nbsp;北风3-4级</td>"
      "<td><span style=\"color:#c00\">&quot;空气质量&quot; 良</span> &amp; 湿度 35%</td></tr>\r\n"
      "<script>trackClick('row', 12345);</script>\r\n"
      "<p>今年１月以来，本市平均气温较常年偏低&lt;1.2℃&gt;，&copy; 气象台。</p><br>\r\n";
  while (page.size() < size) page += row;
  page += "</table>\r\n</BODY>\r\n</HTML>\r\n";
  return page;
}

void RunHtmlToText(benchmark::State& state, size_t size) {
  const std::string page = Page(size);
  for (auto _ : state) {
    const std::string text = HtmlToText(page);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}

// A megabyte of text as typed into the input line: Chinese, letters, blanks and signs.
std::string TypedMegabyte() {
  std::string text;
  while (text.size() < (size_t(1) << 20)) text += "北京 天气?city=北京&day=1 中文100% (a+b) ";
  return text;
}

}  // namespace

static void BM_HtmlToText1MB(benchmark::State& state) { RunHtmlToText(state, size_t(1) << 20); }
BENCHMARK(BM_HtmlToText1MB)->Unit(benchmark::kMillisecond);

static void BM_HtmlToText8MB(benchmark::State& state) { RunHtmlToText(state, size_t(8) << 20); }
BENCHMARK(BM_HtmlToText8MB)->Unit(benchmark::kMillisecond);

static void BM_PageToGbkUtf8Page1MB(benchmark::State& state) {
  const std::string page = "\xEF\xBB\xBF" + GbkToUtf8(Page(size_t(1) << 20));
  for (auto _ : state) {
    const std::string gbk = PageToGbk(page, "text/html");
    benchmark::DoNotOptimize(gbk.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_PageToGbkUtf8Page1MB)->Unit(benchmark::kMillisecond);

static void BM_UrlEncodeBytes1MB(benchmark::State& state) {
  const std::string text = TypedMegabyte();
  for (auto _ : state) {
    const std::string out = UrlEncodeBytes(text);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UrlEncodeBytes1MB)->Unit(benchmark::kMillisecond);

static void BM_UrlDecodeBytes1MB(benchmark::State& state) {
  std::string encoded = UrlEncodeBytes(TypedMegabyte());
  encoded.resize(size_t(1) << 20);
  encoded.resize(encoded.rfind('%'));  // no escape cut in half
  for (auto _ : state) {
    const std::string out = UrlDecodeBytes(encoded);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(encoded.size()));
}
BENCHMARK(BM_UrlDecodeBytes1MB)->Unit(benchmark::kMillisecond);
