// The lottery draw list: fetching the draw-history page and cutting it into draws.
#include "net/mekcaipiaodown.h"

#include <string_view>

#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekweb.h"

namespace {

bool Holds(std::string_view line, const char* marker) {
  return line.find(marker) != std::string_view::npos;
}

std::string LotteryPage() { return FetchServicePage("lottery", "/sd/history/inc/history.php"); }

}  // namespace

void ForEachLotteryDraw(const std::string& page, const std::function<bool(const std::string&)>& take) {
  const std::string text = HtmlToText(ReplaceAll(page, "</td>", "</td>\r"));
  TLineReader lines(text);
  std::string_view line;
  while (lines.Next(line) && !Holds(line, "开奖日期")) {
  }
  while (lines.Next(line)) {
    if (!Holds(line, "--")) continue;
    // A draw needs its line i + 11; the scan ends at the first draw without it. The
    // lines are looked at ahead of the scan, which goes on with line i + 1.
    TLineReader ahead = lines;
    std::string_view digits, tenth, eleventh;
    bool complete = ahead.Next(digits);
    for (int n = 2; complete && n <= 10; ++n) complete = ahead.Next(tenth);
    if (!complete || !ahead.Next(eleventh)) return;
    const std::string number = TrimText(ReplaceAll(std::string(line), "--", ""));
    if (!take(number + "|" + TrimText(tenth) + "|" + TrimText(ReplaceAll(std::string(digits), " ", ""))))
      return;
  }
}

bool ReadLotteryDraws(const std::string& page, FDrawList& list) {
  list.clear();
  ForEachLotteryDraw(page, [&list](const std::string& draw) {
    list.push_back(draw);
    return true;
  });
  return !list.empty();
}

bool FetchLotteryDraws(FDrawList& list) { return ReadLotteryDraws(LotteryPage(), list); }

std::optional<std::string> FindLotteryDraw(const std::string& drawNumber) {
  if (drawNumber.empty()) return std::string();
  const std::string page = LotteryPage();
  if (page.empty()) return std::nullopt;
  std::string found;
  ForEachLotteryDraw(page, [&](const std::string& draw) {
    if (draw.find(drawNumber) == std::string::npos) return true;
    found = draw;
    return false;
  });
  return found;
}
