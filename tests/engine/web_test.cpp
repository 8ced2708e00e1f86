// The web lookups: their parsers on made-up pages, the query value's percent form, and
// items 27, 28, 29, 45, 46 and 50 through "=" against a service on 127.0.0.1 (what it
// received, what the input line shows, which box appears), with no service configured
// and with the service down or its name server silent.
#include <gtest/gtest.h>

#include <time.h>

#include <cstdio>
#include <deque>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/engine/updatecheck.h"
#include "core/mekstr.h"
#include "itemcases.h"
#include "loopback.h"
#include "net/mekweb.h"
#include "testenv.h"
#include "testutil.h"
#include "webcases.h"

namespace {

const char* const WeatherFailure = "俺挖空心思算不出，能上网不？城市名对不？";
const char* const MobileFailure = "俺挖空心思算不出，能上网不？IP对不？";
const char* const CurrencyBox = "目前只支持常用:人民币美元,欧元,港元,台币,\r英镑,韩元,日元";

double Seconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

// A rate page's answer line: three cells, a blank between them, the table closing.
std::string RateLine(const std::string& value) {
  return "<td>100</td> <td>=</td> <td>" + value + "</td></tr></table>";
}

}  // namespace

TEST(SplitLines, BreaksAtCrLfOrCrLf) {
  const struct {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n", {"a"}},            // a final break adds no line
      {"a\n\n", {"a", ""}},
      {"\n", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << "[" << c.text << "]";
}

TEST(UrlEncodeQueryValue, OnlyUnreservedBytesStay) {
  const std::string keep =
      "-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~";
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", b);
    EXPECT_EQ(UrlEncodeQueryValue(one), keep.find(one) != std::string::npos ? one : escaped) << b;
  }
  EXPECT_EQ(UrlEncodeQueryValue("北京&x=1#"), "%B1%B1%BE%A9%26x%3D1%23");
  EXPECT_EQ(UrlEncodeQueryValue(""), "");
}

TEST(ParseWeather, ArgumentsOfTheFirstScriptLink) {
  const struct {
    std::string page;
    const char* result;
  } cases[] = {
      {"", WeatherFailure},
      {"<p>北京</p>\r\n<a href='javascript:sent_to_vb('a','b')'>", WeatherFailure},  // single quote
      {"<A HREF=\"javascript:sent_to_vb('a','b')\">", WeatherFailure},             // case
      {"<a href=\"javascript:sent_to_vb('北京','晴 25℃')\">", "晴 25℃"},
      {"<a href=\"javascript:sent_to_vb('晴')\">", "晴"},
      {"<a href=\"javascript:sent_to_vb('x','y,z')\">", "y,z"},  // only the first comma
      {"(a)\n<a href=\"javascript:sent_to_vb('1','2')\">\r<a href=\"javascript:sent_to_vb('3','4')\">", "2"},
      {"<a href=\"javascript:sent_to_vb()\">", ""},
      {"<a href=\"javascript:sent_to_vb('')\">", ""},
      {"<a href=\"javascript:sent_to_vb)('a','b')\">", ""},   // ")" before "("
      {"<a href=\"javascript:sent_to_vb('a','b'\">", ""},     // no ")"
      {"<a href=\"javascript:sent_to_vb 'a','b')\">", "b"},   // no "(": from the line's start
      {"x)\n<a href=\"javascript:sent_to_vb('a','b')", "b"},  // another line's ")" is not read
  };
  for (const auto& c : cases) EXPECT_EQ(ParseWeather(c.page), c.result) << c.page;
}

TEST(ParseMobileArea, TheLineAfterTheMarker) {
  const struct {
    const char* text;
    std::optional<std::string> result;
  } cases[] = {
      {"", MobileFailure},
      {"卡号\n归属地\n北京", MobileFailure},
      {"号码\r\n卡号归属地\r\n  北京 移动\t\r\n卡号归属地\r\n上海", "北京 移动"},
      {"卡号归属地 \r\r上海", ""},
      {"号码\n卡号归属地", std::nullopt},    // last line: no answer
      {"号码\n卡号归属地\r\n", std::nullopt},  // a final break adds no line
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMobileArea(c.text), c.result) << c.text;
}

TEST(ParseIpArea, TheMarkerLineWhole) {
  const struct {
    const char* text;
    const char* result;
  } cases[] = {
      {"", "查询失败"},
      {"本站\n主数据", "查询失败"},
      {"ip\r\n \t本站主数据：北京 联通 \r\n参考数据：北京", "本站主数据：北京 联通"},
      {"a\r本站主数据\rb本站主数据", "本站主数据"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIpArea(c.text), c.result) << c.text;
}

TEST(ParseExchangeRate, TheUppermostTableLineWithAValue) {
  const struct {
    std::string page;
    const char* result;
  } cases[] = {
      {"", "无法查询,是否能上网?"},
      {"<td>100</td> <td>=</td> <td>6.8</td></tr>", "无法查询,是否能上网?"},  // no "</table>"
      {RateLine("6.8"), "6.8"},
      {"<table>\r\n" + RateLine("6.8") + "\r\n<p>\r\n" + RateLine("7.1") + "\r\n", "6.8"},
      {"</table>\n" + RateLine("7.1"), "7.1"},  // a line without a value changes nothing
      {"</table>", "无法查询,是否能上网?"},
      {"</table></td>", "无法查询,是否能上网?"},  // the cut runs past the line's end
      {"x</td></table>", "无法查询,是否能上网?"},
      {"<td>a</td>b<td>c</td>d><</table>", ""},        // "<" right after the cuts
      {"<b>5</b></table>", "5"},                        // no "</td>"
      {"a</table>", "无法查询,是否能上网?"},           // its own ">" is cut away
  };
  for (const auto& c : cases) EXPECT_EQ(ParseExchangeRate(c.page), c.result) << c.page;
}

TEST(CurrencyCodes, TrimmedNamesAnyLetterCase) {
  const struct {
    const char* from;
    const char* to;
    const char* fromCode;
    const char* toCode;
  } cases[] = {
      {"人民币", "美元", "CNY", "USD"},
      {" 美元 ", "\t人民币\r", "USD", "CNY"},
      {"日元", "日元", "JPY", "JPY"},
      {"台币", "英镑", "TWD", "GBP"},
      {"dollar", "韩元", "", "KRW"},
      {"港元", "人民币元", "HKD", ""},
      {"", "欧元", "", "EUR"},
      {"美 元", "USD", "", ""},
  };
  for (const auto& c : cases) {
    const auto [from, to] = CurrencyCodes(c.from, c.to);
    EXPECT_EQ(from, c.fromCode) << c.from;
    EXPECT_EQ(to, c.toCode) << c.to;
  }
}

TEST(CurrencyCodes, TheBoxNamesExactlyTheTable) {
  // The supported-currencies box lists the currencies the table converts.
  std::string names;
  for (const FCurrency& row : CurrencyTable) {
    EXPECT_EQ(CurrencyCodes(row.Name, row.Name).first, row.Code);
    names += row.Name;
  }
  std::string box = CurrencyBox;
  box = box.substr(box.find(':') + 1);
  for (const char* cut : {",", "\r"}) box = ReplaceAll(box, cut, "");
  EXPECT_EQ(box, names);
}

namespace {

const std::string WeatherPage =
    "<html>\r\n<p>天气</p>\r\n<a href=\"javascript:sent_to_vb('北京','晴 25℃')\">北京</a>\r\n</html>";
const std::string MobilePage =
    "<html><head><title>t</title></head><body><table>\r\n<tr><td>卡号归属地</td></tr>\r\n"
    "<tr><td> 北京 移动 </td></tr>\r\n</table></body></html>";
const std::string RatePage = "<table>\n" + RateLine("6.8") + "\n";

}  // namespace

TEST(WebItems, WeatherMobileAndIpQueries) {
  TWebServer server;
  TConfigHome home;
  home.Write(server.Services());
  const FWebCase cases[] = {
      {27, "北京", WeatherPage, "晴 25℃", nullptr, "/search.php?city=%B1%B1%BE%A9&dpc=1"},
      // Whatever the user types stays one value of the query.
      {27, "北京&x=1#", WeatherPage, "晴 25℃", nullptr, "/search.php?city=%B1%B1%BE%A9%26x%3D1%23&dpc=1"},
      {27, "a b+c?/%", WeatherPage, "晴 25℃", nullptr, "/search.php?city=a%20b%2Bc%3F%2F%25&dpc=1"},
      {27, "北京", "<p>no link</p>", WeatherFailure, nullptr, "/search.php?city=%B1%B1%BE%A9&dpc=1"},
      {28, "13800138000", MobilePage, "北京 移动", nullptr, "/search.asp?action=mobile&mobile=13800138000"},
      {28, "１３８", MobilePage, "北京 移动", nullptr, "/search.asp?action=mobile&mobile=138"},
      // The marker on the last line: the input line keeps its text.
      {28, "13800138000", "<p>卡号归属地</p>", "13800138000", nullptr,
       "/search.asp?action=mobile&mobile=13800138000"},
      {28, "1", "<p>号码</p>", MobileFailure, nullptr, "/search.asp?action=mobile&mobile=1"},
      {29, "1.2.3.4", "<p>ip</p>\n<p> 本站主数据：北京 联通 </p>\n<p>参考数据</p>", "本站主数据：北京 联通",
       nullptr, "/ips138.asp?ip=1.2.3.4&action=2"},
      {29, "1.2.3.4&action=1", "<p>ip</p>", "查询失败", nullptr, "/ips138.asp?ip=1.2.3.4%26action%3D1&action=2"},
  };
  RunWebCases(server, cases);
}

TEST(WebItems, CurrencyConversion) {
  TWebServer server;
  TConfigHome home;
  home.Write(server.Services());
  const FWebCase cases[] = {
      {45, "100,美元,人民币", RatePage, "100美元=6.8人民币", nullptr, "/hl.asp?from=USD&to=CNY&q=100"},
      // Names trimmed to find their codes; the amount sent and shown as typed.
      {45, "100 , 美元 , 人民币", RatePage, "100  美元 =6.8 人民币", nullptr, "/hl.asp?from=USD&to=CNY&q=100%20"},
      {45, "１００，日元，日元", RatePage, "100日元=6.8日元", nullptr, "/hl.asp?from=JPY&to=JPY&q=100"},
      {45, "1&to=X,欧元,港元,", RatePage, "1&to=X欧元=6.8港元", nullptr, "/hl.asp?from=EUR&to=HKD&q=1%26to%3DX"},
      {45, "100,美元,人民币", "<p>busy</p>", "无法查询,是否能上网?", nullptr, "/hl.asp?from=USD&to=CNY&q=100"},
      {45, "100,dollar,人民币", RatePage, "100,dollar,人民币", CurrencyBox, nullptr},
      {45, "100,美元,rmb", RatePage, "100,美元,rmb", CurrencyBox, nullptr},
      {45, "100,美元", RatePage, "100,美元", "输入错误", nullptr},
      {45, "", RatePage, "", "输入错误", nullptr},
  };
  RunWebCases(server, cases);
}

TEST(WebItems, DomainAndPresenceMarkers) {
  TWebServer server;
  TConfigHome home;
  home.Write(server.Services());
  const FWebCase cases[] = {
      {46, "example.com", "<b>Domain name is not available</b>", "example.com已被注册", nullptr,
       "/cgi-bin/check.cgi?area_domain=example.com"},
      {46, "example.com", "<b>domain name is not available</b>", "example.com未被注册", nullptr,
       "/cgi-bin/check.cgi?area_domain=example.com"},
      {46, "例子.com", "<b>available</b>", "例子.com未被注册", nullptr,
       "/cgi-bin/check.cgi?area_domain=%C0%FD%D7%D3.com"},
      // The account is sent trimmed and kept as typed.
      {50, " 12345 ", "12345:x=1", " 12345 在线", nullptr, "/getonline?Type=1&12345:"},
      {50, "12345", "12345:x=0", "12345离线", nullptr, "/getonline?Type=1&12345:"},
      {50, "1&Type=2", "", "1&Type=2离线", nullptr, "/getonline?Type=1&1%26Type%3D2:"},
  };
  RunWebCases(server, cases);
}

namespace {

// With the services down or missing every item gives its failure text.
const FItemCase OfflineCases[] = {
    {27, "北京", WeatherFailure, nullptr},
    {28, "13800138000", MobileFailure, nullptr},
    {29, "1.2.3.4", "查询失败", nullptr},
    {45, "100,美元,人民币", "无法查询,是否能上网?", nullptr},
    {45, "100,dollar,人民币", "100,dollar,人民币", CurrencyBox},
    {46, "example.com", "example.com未被注册", nullptr},
    {50, "12345", "12345离线", nullptr},
};

}  // namespace

TEST(WebItems, ServiceDown) {
  TRefusingPort refusing;
  ASSERT_NE(refusing.Port, 0);
  TConfigHome home;
  home.Write(TWebServer::ServicesAt("http://127.0.0.1:" + std::to_string(refusing.Port)));
  RunItemCases(OfflineCases);
}

TEST(WebItems, NoServiceConfigured) {
  TConfigHome home;
  RunItemCases(OfflineCases);  // no services.ini
  home.Write(TWebServer::ServicesAt(""));
  RunItemCases(OfflineCases);
}

TEST(WebItems, BaseAddressWithClosingSlash) {
  TWebServer server;
  TConfigHome home;
  home.Write(TWebServer::ServicesAt(server.Base() + "/"));
  const FWebCase cases[] = {
      {29, "1.2.3.4", "本站主数据", "本站主数据", nullptr, "/ips138.asp?ip=1.2.3.4&action=2"},
  };
  RunWebCases(server, cases);
}

// Name servers that never answer: every web item and the update check, all at once, end
// within the fifteen seconds of their bound with their failure texts, their names asked of
// the program's own resolver.
TEST(WebItems, ResolverThatNeverAnswers) {
  auto gate = std::make_shared<FGate>();
  FResolverSwap swap(FGate::Resolver(gate));
  TConfigHome home;
  home.Write(TWebServer::ServicesAt("http://held.example:8123") + "site=http://held.example\n");
  const FItemCase cases[] = {
      {27, "北京", WeatherFailure, nullptr}, {28, "13800138000", MobileFailure, nullptr},
      {29, "1.2.3.4", "查询失败", nullptr},     {35, "2013011", "2013011", nullptr},
      {45, "100,美元,人民币", "无法查询,是否能上网?", nullptr},
      {46, "example.com", "example.com未被注册", nullptr}, {50, "12345", "12345离线", nullptr},
  };
  std::vector<std::string> lines(std::size(cases));
  TUpdateOutcome outcome{};
  const double start = Seconds();
  std::vector<std::thread> threads;
  for (size_t i = 0; i < std::size(cases); ++i)
    threads.emplace_back([&, i] {
      TDispatcher calc;  // no dialogs installed: item 35's box goes nowhere
      calc.ItemIndex = cases[i].item;
      calc.Edit1Text = cases[i].typed;
      calc.Button20Click();
      lines[i] = calc.Edit1Text;
    });
  threads.emplace_back([&] { outcome = UpdateCheck({"http://held.example", home.Path}); });
  for (std::thread& t : threads) t.join();
  const double waited = Seconds() - start;
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(lines[i], cases[i].line) << cases[i].item;
  EXPECT_EQ(outcome, TUpdateOutcome::NoVersionLine);
  EXPECT_EQ(gate->Hosts, std::deque<std::string>(std::size(cases) + 1, "held.example"));
  EXPECT_GE(waited, 14.9);
  EXPECT_LT(waited, 25.0);
  gate->Release();
  EXPECT_TRUE(LookupWorkersDone());
}
