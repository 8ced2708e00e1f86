// The lottery draw list: fetching the draw-history page and cutting it into draws.
#include "net/mekcaipiaodown.h"

#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekweb.h"

bool ReadLotteryDraws(const std::string& page, FDrawList& list) {
  list.clear();
  const std::vector<std::string> lines = SplitLines(HtmlToText(ReplaceAll(page, "</td>", "</td>\r")));
  bool header = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!header) {
      header = lines[i].find("开奖日期") != std::string::npos;
      continue;
    }
    if (lines[i].find("--") == std::string::npos) continue;
    // A draw needs its line i + 11; the scan ends at the first draw without it.
    if (i + 11 >= lines.size()) break;
    const std::string number = TrimText(ReplaceAll(lines[i], "--", ""));
    const std::string digits = TrimText(ReplaceAll(lines[i + 1], " ", ""));
    const std::string tenth = TrimText(lines[i + 10]);
    list.push_back(number + "|" + tenth + "|" + digits);
  }
  return !list.empty();
}

namespace {
const char* const HistoryPath = "/sd/history/inc/history.php";
}

bool FetchLotteryDraws(FDrawList& list) {
  return ReadLotteryDraws(FetchServicePage("lottery", HistoryPath), list);
}

std::optional<std::string> FindLotteryDraw(const std::string& drawNumber) {
  if (drawNumber.empty()) return std::string();
  const std::string page = FetchServicePage("lottery", HistoryPath);
  if (page.empty()) return std::nullopt;
  FDrawList list;
  ReadLotteryDraws(page, list);
  for (const std::string& line : list)
    if (line.find(drawNumber) != std::string::npos) return line;
  return std::string();
}
