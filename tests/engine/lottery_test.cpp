// The lottery draw list: cutting made-up draw-history pages into draws, and item 35
// through "=" against a lottery site on 127.0.0.1, with the site down and with none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "itemcases.h"
#include "loopback.h"
#include "net/mekcaipiaodown.h"
#include "testenv.h"
#include "webcases.h"

namespace {

// The eleven lines of a draw as the page's text shows them: the draw line, the digits,
// eight other cells and the date.
std::vector<std::string> Draw(const std::string& number, const std::string& digits,
                              const std::string& date) {
  std::vector<std::string> lines = {"--" + number + "--", digits};
  lines.insert(lines.end(), 8, "x");
  lines.push_back(date);
  return lines;
}

// The blocks' lines joined by breaks.
std::string Page(const std::vector<std::vector<std::string>>& blocks) {
  std::string page;
  for (const auto& block : blocks)
    for (const std::string& line : block) page += line + "\r\n";
  return page;
}

const std::vector<std::string> Header = {"期号", "开奖日期"};
const std::vector<std::string> End = {"end"};

const char* const NoDrawBox = "地球上还没发这一期的中奖号呢";

}  // namespace

TEST(ReadLotteryDraws, CutsThePageIntoDraws) {
  const struct {
    std::string page;
    std::vector<std::string> draws;
  } cases[] = {
      {"", {}},
      // Nothing counts before the header.
      {Page({Draw("2013011", "1 2 3", "2013-01-11"), Draw("2013012", "4 5 6", "2013-01-12"), End}), {}},
      {Page({Header, Draw("2013011", " 1 2 3 ", " 2013-01-11\t"), End}), {"2013011|2013-01-11|123"}},
      {Page({{"--2013010--"}, Header, Draw("2013011", "1 2 3", "d"), End}), {"2013011|d|123"}},
      // The header line itself starts no draw.
      {Page({{"开奖日期 --"}, Draw("2013011", "1 2 3", "d"), End}), {"2013011|d|123"}},
      // A draw line among the last eleven lines ends the scan.
      {Page({Header, Draw("2013011", "1 2 3", "d1"), Draw("2013012", "4 5 6", "d2")}), {"2013011|d1|123"}},
      {Page({Header, Draw("2013011", "1 2 3", "d1"), Draw("2013012", "4 5 6", "d2"), End}),
       {"2013011|d1|123", "2013012|d2|456"}},
      {Page({Header, {"--1--"}, End}), {}},
      // A "--" among a draw's ten lines starts another draw.
      {Page({Header, {"--1--", "1 2", "a", "--2--", "3 4", "b", "c", "d", "e", "f", "g", "h", "k", "m", "n"}}),
       {"1|g|12", "2|m|34"}},
      {Page({Header, {"--1--", "1 2", "a", "--2--", "3 4", "b", "c", "d", "e", "f", "g", "h", "k", "m"}}),
       {"1|g|12"}},
      // Table cells end lines, "</TD>" as well as "</td>".
      {"<table><tr><td>期号</td><td>开奖日期</td></tr>\n<tr><td>--2013011--</td><td>1 2 3</td>"
       "<td>a</td><td>b</td><td>c</td><td>d</td><td>e</td><td>f</td><td>g</td><TD>h</TD>"
       "<td>2013-01-11</td><td>i</td></tr></table>",
       {"2013011|2013-01-11|123"}},
  };
  for (const auto& c : cases) {
    FDrawList list = {"left over"};
    EXPECT_EQ(ReadLotteryDraws(c.page, list), !c.draws.empty()) << c.page;
    EXPECT_EQ(list, c.draws) << c.page;
  }
}

TEST(LotteryItem, FindsTheDrawOnTheSite) {
  TWebServer server;
  TConfigHome home;
  home.Write(server.Services());
  const std::string page =
      Page({Header, Draw("2013010", "0 1 1", "2013-01-10"), Draw("2013011", "5 6 7", "2013-01-11"), End});
  const char* const path = "/sd/history/inc/history.php";
  const FWebCase cases[] = {
      {35, "2013011", page, "2013011|2013-01-11|567", nullptr, path},
      {35, "２０１３０１０", page, "2013010|2013-01-10|011", nullptr, path},
      // A short number matches anywhere in any field of the first draw holding it.
      {35, "011", page, "2013010|2013-01-10|011", nullptr, path},
      {35, "2013011 ", page, "2013011 ", NoDrawBox, path},  // untrimmed
      {35, "2099001", page, "2099001", NoDrawBox, path},
      {35, "", page, "", NoDrawBox, nullptr},
      {35, "2013011", Page({Draw("2013011", "5 6 7", "d"), End}), "2013011", NoDrawBox, path},
      {35, "2013011", "", "2013011", "查询失败", path},  // an empty page is no page
  };
  RunWebCases(server, cases);
}

// Without a page the box says the query failed, not that the draw is not out yet.
TEST(LotteryItem, SiteDownOrMissing) {
  const FItemCase cases[] = {{35, "2013011", "2013011", "查询失败"}, {35, "", "", NoDrawBox}};
  TConfigHome home;
  RunItemCases(cases);
  home.Write("[services]\nlottery=\n");
  RunItemCases(cases);
  TRefusingPort refusing;
  ASSERT_NE(refusing.Port, 0);
  home.Write("[services]\nlottery=http://127.0.0.1:" + std::to_string(refusing.Port) + "\n");
  RunItemCases(cases);
}
