// The lottery draw list: cutting made-up draw-history pages into draws, and item 35
// through "=" against a lottery site on 127.0.0.1, with the site down and with none, and
// against stand-ins of the public sources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "itemcases.h"
#include "loopback.h"
#include "net/mekcaipiaodown.h"
#include "net/mekdraws.h"
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
  TRefusingPort refusing;
  ASSERT_NE(refusing.Port, 0);
  const std::string down = "http://127.0.0.1:" + std::to_string(refusing.Port);
  TConfigHome home;
  home.Write("[services]\nlottery=\ndraws=" + down + "/a " + down + "/b\n");  // the public sources down
  RunItemCases(cases);
  home.Write("[services]\nlottery=" + down + "\n");
  RunItemCases(cases);
}

// Without a lottery site (the default), the draw history page asked for the one draw,
// then the welfare lottery's notice service; the rows and fields as public scripts
// document them.
TEST(LotteryItem, PublicSources) {
  TWebServer server;
  TConfigHome home;
  home.Write(TWebServer::SourcesAt(server.Base(), ""));
  const std::string history = TWebServer::HistoryPath, notice = TWebServer::NoticePath;
  const std::string table =
      "<table id=\"tablelist\"><tbody><tr class=\"th\"><td>期号</td><td>中奖号码</td>"
      "<td>开奖日期</td></tr></tbody><tbody id=\"tdata\">";
  const auto row = [](const std::string& number, const std::string& digits, const std::string& date) {
    return "<tr class=\"t_tr1\"><!--<td>2</td>--><td class=\"t_tr1\">" + number + "</td>" + digits +
           "<td>1040</td><td class=\"t_tr1\">" + date + "</td></tr>";
  };
  const std::string oneCell = "<td class=\"cfont2\">5 8 9</td>";
  const std::string threeCells = "<td class=\"cfont2\">0</td><td>1</td><td> 2 </td>";
  const std::vector<std::string> page = {history + "?start=2013011&end=2013011"};
  const std::vector<std::string> both = {history + "?start=2013012&end=2013012",
                                         notice + "?name=3d&issueStart=2013012&issueEnd=2013012"};
  const std::string answered = R"({"state":0,"message":"\u67e5\u8be2\u6210\u529f","result":[)"
                               R"J({"name":"3d","code":"2013012","date":"2013-01-12(\u516d)","red":"1,2,3"}]})J";
  const struct {
    int historyStatus;
    std::string historyPage;
    int noticeStatus;
    std::string noticeAnswer;
    FSourceCase c;
  } cases[] = {
      {200, table + row("2013011", oneCell, "2013-01-11") + "</tbody></table>", 0, "",
       {35, " 2013011 ", "2013011|2013-01-11|589", nullptr, page}},
      {200, table + row("13011", threeCells, "2013-01-11") + "</tbody></table>", 0, "",
       {35, "13011", "2013011|2013-01-11|012", nullptr, page}},  // five digits are of the 2000s
      // The sources answer in their layouts without the draw: not drawn yet.
      {200, table + "</tbody></table>", 200, answered,
       {35, "2013011", "2013011", NoDrawBox, {page[0], notice + "?name=3d&issueStart=2013011&issueEnd=2013011"}}},
      // A page of another layout, or an error status: the notice service answers.
      {200, "<html>maintenance</html>", 200, answered, {35, "2013012", "2013012|2013-01-12|123", nullptr, both}},
      {503, table, 200, answered, {35, "2013012", "2013012|2013-01-12|123", nullptr, both}},
      {200, "<html>maintenance</html>", 200, R"({"state":0,"result":[]})",
       {35, "2013012", "2013012", NoDrawBox, both}},
      // Nothing had from either: the query failed.
      {200, "<html>maintenance</html>", 404, "{}", {35, "2013012", "2013012", "查询失败", both}},
      {500, "", 200, "<html>login</html>", {35, "2013012", "2013012", "查询失败", both}},
      // What is no draw number is not asked about.
      {200, "", 200, "", {35, "201301", "201301", NoDrawBox, {}}},
      {200, "", 200, "", {35, "2013O11", "2013O11", NoDrawBox, {}}},
      {200, "", 200, "", {35, "", "", NoDrawBox, {}}},
  };
  for (const auto& k : cases) {
    server.Answer(history, k.historyStatus, k.historyPage, "text/html");
    server.Answer(notice, k.noticeStatus ? k.noticeStatus : 404, k.noticeAnswer, "application/json");
    const FSourceCase one[] = {k.c};
    RunSourceCases(server, one);
  }
  // The addresses asked: {N} where the address holds it, else each source's own query.
  EXPECT_EQ(DrawSourceAddress("http://x/h.php?t=1&s={N}&e={N}", "2013011"), "http://x/h.php?t=1&s=2013011&e=2013011");
  EXPECT_EQ(DrawSourceAddress("https://www.cwl.gov.cn/cwl_admin/front/cwlkj/search/kjxx/findDrawNotice", "2026044"),
            "https://www.cwl.gov.cn/cwl_admin/front/cwlkj/search/kjxx/findDrawNotice"
            "?name=3d&issueStart=2026044&issueEnd=2026044");
}
