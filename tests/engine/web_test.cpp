// The web lookups: their parsers on made-up pages, the query value's percent form, and
// items 27, 28, 29, 45, 46 and 50 through "=" against a service on 127.0.0.1 (what it
// received, what the input line shows, which box appears), with the service down or its
// name server silent; items 28 and 29 offline, with their tables; items 27, 45 and 46
// against stand-ins of their public sources answering in each source's documented format.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/engine/dispatcher.h"
#include "app/engine/updatecheck.h"
#include "core/mekstr.h"
#include "itemcases.h"
#include "loopback.h"
#include "net/mekdatafile.h"
#include "net/mekdomain.h"
#include "net/mekhtml.h"
#include "net/mekjsonanswer.h"
#include "net/mekipregion.h"
#include "net/mekphone.h"
#include "net/mekwait.h"
#include "net/mekweb.h"
#include "testenv.h"
#include "testutil.h"
#include "webcases.h"

namespace {

const char* const WeatherFailure = "俺挖空心思算不出，能上网不？城市名对不？";
const char* const MobileFailure = "俺挖空心思算不出，能上网不？IP对不？";
const char* const CurrencyBox = "目前只支持常用:人民币,美元,欧元,港元,台币,\r英镑,韩元,日元";

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
      // An empty page is no answer: a failure, not a negative answer.
      {50, "1&Type=2", "", "1&Type=2查询失败", nullptr, "/getonline?Type=1&1%26Type%3D2:"},
      {46, "example.com", "", "example.com查询失败", nullptr, "/cgi-bin/check.cgi?area_domain=example.com"},
  };
  RunWebCases(server, cases);
  // An error status is no answer: its page is not read as one (a 404 page lacks the
  // marker of a registered name, a 500 page the "=1" of an online account).
  for (const int status : {404, 429, 500, 503}) {
    server.Answer("/cgi-bin/check.cgi", status, "<b>no such page</b>");
    server.Answer("/getonline", status, "x=1");
    server.Answer("/sd/history/inc/history.php", status, "开奖日期");
    const FItemCase errors[] = {
        {46, "example.com", "example.com查询失败", nullptr},
        {50, "12345", "12345查询失败", nullptr},
        {35, "2013011", "2013011", "查询失败"},
    };
    RunItemCases(errors);
  }
}

namespace {

// With the page services or the public sources down, every item gives its failure text,
// and no failure is said as a negative answer; items 28 and 29 answer offline.
const FItemCase OfflineCases[] = {
    {27, "北京", WeatherFailure, nullptr},
    {45, "100,美元,人民币", "无法查询,是否能上网?", nullptr},
    {45, "100,dollar,人民币", "100,dollar,人民币", CurrencyBox},
    {46, "example.com", "example.com查询失败", nullptr},
    {50, "12345", "12345查询失败", nullptr},
    {35, "2013011", "2013011", "查询失败"},
};

std::string RefusingBase(const TRefusingPort& refusing) {
  return "http://127.0.0.1:" + std::to_string(refusing.Port);
}

}  // namespace

TEST(WebItems, ServiceDown) {
  TRefusingPort refusing;
  ASSERT_NE(refusing.Port, 0);
  TConfigHome home;
  home.Write(TWebServer::ServicesAt(RefusingBase(refusing)));
  RunItemCases(OfflineCases);
  const FItemCase pages[] = {
      {28, "13800138000", MobileFailure, nullptr},
      {29, "1.2.3.4", "查询失败", nullptr},
  };
  RunItemCases(pages);
}

TEST(WebItems, SourcesDown) {
  TRefusingPort refusing;
  ASSERT_NE(refusing.Port, 0);
  TConfigHome home;
  home.Write(TWebServer::SourcesAt(RefusingBase(refusing), "127.0.0.1:" + std::to_string(refusing.Port)) +
             "presence=" + RefusingBase(refusing) + "\nlottery=\n");
  RunItemCases(OfflineCases);
  const FItemCase offline[] = {
      {46, "example.cn", "example.cn查询失败", nullptr},  // WHOIS refused
      {28, "13800138000", "北京市 中国移动", nullptr},
      {29, "8.8.8.8", "美国 Level3", nullptr},
  };
  RunItemCases(offline);
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
      {46, "example.com", "example.com查询失败", nullptr}, {50, "12345", "12345查询失败", nullptr},
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

// ---- Items 28 and 29 offline ----

TEST(OfflineLookups, PhoneAndIpAnswers) {
  TConfigHome home;  // no page service: nothing is fetched
  // No dial text is this long, though the library would read this one.
  const std::string longDial = "138" + std::string(60, '-') + "00138000";
  const FItemCase cases[] = {
      {28, "13800138000", "北京市 中国移动", nullptr},
      {28, "15912345678", "云南省文山壮族苗族自治州 中国移动", nullptr},
      {28, "19912345678", "中国 中国电信", nullptr},
      {28, "19812345678", "中国 中国移动", nullptr},  // older data said 中国电信
      {28, "19212345678", "中国 中国广电", nullptr},  // older data said CBN
      {28, " +86 138-0013-8000 ", "北京市 中国移动", nullptr},
      {28, "010-62345678", "北京市", nullptr},  // a landline has no carrier
      {28, "12345", MobileFailure, nullptr},
      {28, "1380013800x", MobileFailure, nullptr},  // the library alone would take letters
      {28, "", MobileFailure, nullptr},
      {28, longDial.c_str(), MobileFailure, nullptr},
      {29, "202.96.128.86", "中国 广东省 广州市 电信", nullptr},
      {29, "8.8.8.8", "美国 Level3", nullptr},
      {29, "127.0.0.1", "内网IP", nullptr},
      {29, " 1.2.4.8 ", "中国 北京 北京市", nullptr},
      {29, "114.114.114.114", "中国 江苏省 南京市", nullptr},
      {29, "223.5.5.5", "中国 浙江省 杭州市 阿里云", nullptr},  // in the data of 2024-02-28
      {29, "255.255.255.255", "内网IP", nullptr},
      {29, "1.2.3", "查询失败", nullptr},
      {29, "1.2.3.256", "查询失败", nullptr},
      {29, "::1", "查询失败", nullptr},
  };
  RunItemCases(cases);
  // A NUL byte ends no address: the text after it is part of the input.
  EXPECT_EQ(IpAddressArea(std::string("8.8.8.8\0garbage", 15), DefaultDataDir()), "查询失败");
}

TEST(OfflineLookups, CarrierTableSortedAndEachRowFound) {
  ASSERT_GE(PhoneCarrierCount, 60u);
  for (size_t i = 0; i < PhoneCarrierCount; ++i) {
    const FPhoneCarrier& row = PhoneCarrierTable[i];
    if (i > 0) {
      EXPECT_LT(std::string(PhoneCarrierTable[i - 1].Prefix), row.Prefix);
    }
    EXPECT_STREQ(PhoneCarrierName(std::string(row.Prefix) + "12345678"), row.Name) << row.Prefix;
    const std::string name = row.Name;  // carriers are named in Chinese, never in Latin letters
    EXPECT_EQ(std::count_if(name.begin(), name.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }), 0)
        << row.Prefix;
  }
  EXPECT_EQ(PhoneCarrierName("1012345678"), nullptr);
}

TEST(OfflineLookups, EverySegmentsEndsGiveItsOwnRecord) {
  const auto table = IpRegionTableAt(DefaultDataDir() + "/ip2region.dat");
  ASSERT_TRUE(table);
  const size_t n = table->SegmentCount();
  EXPECT_GT(n, 600000u);  // the 2024 data: 683,843
  for (size_t i = 0; i < n; ++i) {
    const uint32_t last = i + 1 < n ? table->SegmentStart(i + 1) - 1 : 0xFFFFFFFFu;
    const std::string_view own = table->SegmentRecord(i);
    ASSERT_EQ(table->Record(table->SegmentStart(i)).data(), own.data()) << i;
    ASSERT_EQ(table->Record(last).data(), own.data()) << i;
    ASSERT_EQ(std::count(own.begin(), own.end(), '|'), 4) << i;
  }
}

TEST(OfflineLookups, DamagedOrMissingDataServesNothing) {
  const std::string shipped = DefaultDataDir();
  std::ifstream file(shipped + "/ip2region.dat", std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto table = TIpRegionTable::FromBytes(good);
  ASSERT_TRUE(table);
  const size_t n = table->SegmentCount(), numbers = 16 + 4 * n, offsets = numbers + 2 * n;
  const auto with = [&good](size_t at, const std::string& bytes) {
    return good.substr(0, at) + bytes + good.substr(at + bytes.size());
  };
  const std::string damaged[] = {
      "",
      good.substr(0, good.size() - 1),
      good + "x",
      with(0, "OrvexIP2"),
      with(8, std::string("\xFF\xFF\xFF\x0F", 4)),  // more segments than the file holds
      with(12, std::string("\x00\x00\x00\x00", 4)),  // no records
      with(16, std::string("\x01", 1)),             // the first segment not at 0
      with(20, std::string(4, '\0')),               // starts not increasing
      with(numbers, "\xFF\xFF"),                    // a record number beyond the records
      with(offsets + 4, "\xFF\xFF\xFF\x7F"),        // a record beyond the text
  };
  for (const std::string& bytes : damaged)
    EXPECT_FALSE(TIpRegionTable::FromBytes(bytes)) << bytes.size();
  TConfigHome home;  // an empty folder as the data folder: no table, no phone module
  TEnvValue data("ORVEX_DATA_DIR", home.Path);
  const FItemCase cases[] = {{29, "8.8.8.8", "查询失败", nullptr}, {28, "13800138000", MobileFailure, nullptr}};
  RunItemCases(cases);

  // Data files that are no data files are refused, never waited on or read whole: a
  // FIFO, a folder, a device, a sparse file beyond the bound; a module cut short is never
  // handed to the loader (which would fault).
  const std::string dir = home.Path + "/odd";
  std::filesystem::create_directories(dir + "/modules");
  ASSERT_EQ(mkfifo((dir + "/ip2region.dat").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo((dir + "/whois_servers.tsv").c_str(), 0644), 0);
  std::filesystem::create_directory(dir + "/rdap_dns.json");
  std::ifstream module(shipped + "/modules/orvex-phone.so", std::ios::binary);
  std::string head(4096, '\0');
  ASSERT_TRUE(module.read(head.data(), head.size()));
  std::ofstream(dir + "/modules/orvex-phone.so", std::ios::binary) << head;
  EXPECT_EQ(IpAddressArea("8.8.8.8", dir), "查询失败");
  EXPECT_FALSE(PhoneNumberArea("13800138000", dir));
  EXPECT_FALSE(LoadWhoisTable(dir + "/whois_servers.tsv"));
  EXPECT_FALSE(LoadRdapBootstrap(dir + "/rdap_dns.json"));
  EXPECT_FALSE(LoadWhoisTable("/dev/zero"));
  const std::string sparse = home.Path + "/sparse";
  std::ofstream{sparse}.close();
  std::filesystem::resize_file(sparse, IpRegionMaxBytes + 1);
  std::string text;
  EXPECT_FALSE(ReadDataFile(sparse, IpRegionMaxBytes, text));
  std::filesystem::resize_file(sparse, 3);
  EXPECT_TRUE(ReadDataFile(sparse, IpRegionMaxBytes, text));
  EXPECT_EQ(text, std::string(3, '\0'));
}

TEST(OfflineLookups, IpRecordToAnswer) {
  const struct {
    std::string record;
    const char* answer;
  } cases[] = {
      {"中国|0|广东省|广州市|电信", "中国 广东省 广州市 电信"},
      {"0|0|0|内网IP|内网IP", "内网IP"},
      {"中国|0|北京|北京|0", "中国 北京"},
      {"中国|0|北京|中国|0", "中国 北京 中国"},  // only the field just kept counts
      {"0|0|0|0|0", ""},
      {"\x81\x7C|0|\x81\x7C", "\x81\x7C"},  // a GBK character whose trail byte is "|"
  };
  for (const auto& c : cases) EXPECT_EQ(IpRegionAnswer(c.record), c.answer) << c.record;
}

// ---- Items 27, 45 and 46 through their public sources, stood in for on 127.0.0.1 ----

namespace {

// Open-Meteo's answers as documented: the names in \u escapes (UTF-8 on the wire).
const std::string BeijingPlace =
    R"({"results":[{"id":1816670,"name":"\u5317\u4eac\u5e02","latitude":39.9075,"longitude":116.39723}],"generationtime_ms":0.4})";
std::string Forecast(const std::string& now, const std::string& code, const std::string& low,
                     const std::string& high) {
  return R"({"latitude":39.875,"current":{"time":"2026-12-10T13:00","temperature_2m":)" + now +
         R"(,"weather_code":)" + code + R"(},"daily":{"time":["2026-12-10"],"temperature_2m_max":)" +
         high + R"(,"temperature_2m_min":)" + low + "}}";
}
const char* const BeijingQuery = "/geocoding?name=%E5%8C%97%E4%BA%AC&count=1&language=zh&format=json";
const char* const BeijingForecast =
    "/forecast?latitude=39.9075&longitude=116.39723&current=temperature_2m,weather_code"
    "&daily=temperature_2m_max,temperature_2m_min&timezone=auto&forecast_days=1";

}  // namespace

TEST(WebSources, WeatherFromOpenMeteo) {
  TWebServer server;
  TConfigHome home;
  home.Write(TWebServer::SourcesAt(server.Base(), ""));
  const struct {
    int placeStatus;
    std::string place;
    int forecastStatus;
    std::string forecast;
    const char* line;
    size_t requests;
    int delayMs = 0;  // of the forecast: slow, but within the bounds
  } cases[] = {
      {200, BeijingPlace, 200, Forecast("3.4", "2", "[-2.5]", "[7.6]"), "北京市：多云，现在3℃，今天-3℃~8℃", 2},
      {200, BeijingPlace, 200, Forecast("3.4", "2", "[-2.5]", "[7.6]"), "北京市：多云，现在3℃，今天-3℃~8℃", 2, 1200},
      {200, BeijingPlace, 200, Forecast("-0.4", "42", "[-0.5]", "[0.5]"), "北京市：未知天气，现在0℃，今天-1℃~1℃", 2},
      {200, R"({"generationtime_ms":0.1})", 200, "", WeatherFailure, 1},  // no result
      {200, R"({"results":[]})", 200, "", WeatherFailure, 1},
      {400, R"({"error":true,"reason":"Parameter count must be between 1 and 100."})", 200, "", WeatherFailure, 1},
      {200, R"({"results":[{"name":"x","latitude":"39.9","longitude":116.4}]})", 200, "", WeatherFailure, 1},
      {200, "<html>busy</html>", 200, "", WeatherFailure, 1},
      {200, BeijingPlace, 400, R"({"error":true,"reason":"Latitude must be in range"})", WeatherFailure, 2},
      {200, BeijingPlace, 200, Forecast("\"3.4\"", "2", "[-2.5]", "[7.6]"), WeatherFailure, 2},
      {200, BeijingPlace, 200, Forecast("3.4", "2.5", "[-2.5]", "[7.6]"), WeatherFailure, 2},
      {200, BeijingPlace, 200, Forecast("3.4", "2", "[]", "[7.6]"), WeatherFailure, 2},
      {200, BeijingPlace, 200, Forecast("3.4", "2", "[-2.5]", "7.6"), WeatherFailure, 2},
      {200, BeijingPlace, 200, Forecast("999999", "2", "[-2.5]", "[7.6]"), WeatherFailure, 2},  // no air is that hot
      {200, BeijingPlace, 200, Forecast("3.4", "2", "[-101]", "[7.6]"), WeatherFailure, 2},
  };
  for (const auto& c : cases) {
    server.Answer("/geocoding", c.placeStatus, c.place);
    server.Answer("/forecast", c.forecastStatus, c.forecast, "application/json", c.delayMs);
    server.Serve("");
    const FItemCase one[] = {{27, " 北京 ", c.line, nullptr}};
    RunItemCases(one);
    const std::vector<std::string> targets = server.Targets();
    ASSERT_EQ(targets.size(), c.requests) << c.place << c.forecast;
    EXPECT_EQ(targets[0], BeijingQuery);
    if (c.requests == 2) {
      EXPECT_EQ(targets[1], BeijingForecast);
    }
  }
  const FSourceCase blank[] = {{27, "  ", WeatherFailure, nullptr, {}}};
  RunSourceCases(server, blank);
}

TEST(WebSources, RatesFromTheFirstAddressThatAnswers) {
  TWebServer server;
  TRefusingPort refusing;
  TConfigHome home;
  home.Write("[services]\nrates=" + RefusingBase(refusing) + "/down " + server.Base() + "/missing " +
             server.Base() + "/rates/\n");
  server.Answer("/missing/cny.json", 404, "Not found", "text/plain");
  server.Answer("/missing/usd.json", 404, "Not found", "text/plain");
  server.Answer("/rates/cny.json", 200,
                R"({"date":"2026-12-09","cny":{"usd":0.14123,"krw":"x","eur":-0.14,"hkd":0,"gbp":1e308}})");
  server.Answer("/rates/usd.json", 200, R"({"date":"2026-12-09","usd":{"krw":1450.123456}})");
  // Nested deeper than any answer is: refused before it is parsed (8 MiB of "[" took
  // hundreds of megabytes).
  const std::string deep = std::string(MaxJsonDepth, '[') + std::string(MaxJsonDepth, ']');
  EXPECT_FALSE(ParseAnswerJson(deep).is_discarded());
  EXPECT_TRUE(ParseAnswerJson("[" + deep + "]").is_discarded());
  server.Answer("/rates/twd.json", 200, R"({"twd":{"usd":0.031}})");
  server.Answer("/missing/twd.json", 200, R"({"twd":{"usd":0.031,"x":[)" + deep + "]}}");
  const std::vector<std::string> cny = {"/missing/cny.json", "/rates/cny.json"};
  const std::vector<std::string> usd = {"/missing/usd.json", "/rates/usd.json"};
  const FSourceCase cases[] = {
      {45, "100,人民币,美元", "100人民币=14.12美元", nullptr, cny},
      {45, "100，美元，韩元", "100美元=145012.35韩元", nullptr, usd},
      {45, " 100 ,人民币,美元", " 100 人民币=14.12美元", nullptr, cny},  // shown as typed
      {45, "-2.5,人民币,美元", "-2.5人民币=-0.35美元", nullptr, cny},
      {45, "100,人民币,韩元", "无法查询,是否能上网?", nullptr, cny},  // a rate of the wrong type
      {45, "100,人民币,日元", "无法查询,是否能上网?", nullptr, cny},  // no rate for the pair
      {45, "100,日元,日元", "100日元=100.00日元", nullptr, {}},
      {45, "100元,人民币,美元", "100元,人民币,美元", "输入错误", {}},
      {45, "1e400,人民币,美元", "1e400,人民币,美元", "输入错误", {}},
      // A rate that is no rate (zero, negative, beyond any pair's) is no answer.
      {45, "100,人民币,欧元", "无法查询,是否能上网?", nullptr, cny},
      {45, "100,人民币,港元", "无法查询,是否能上网?", nullptr, cny},
      {45, "100,人民币,英镑", "无法查询,是否能上网?", nullptr, cny},
      {45, "100,台币,美元", "100台币=3.10美元", nullptr, {"/missing/twd.json", "/rates/twd.json"}},
      {45, "100,美元,rmb", "100,美元,rmb", CurrencyBox, {}},
  };
  RunSourceCases(server, cases);
}

TEST(WebSources, DomainThroughRdapAndWhois) {
  TWebServer server;
  TTimeServer whois({"Domain Name: baidu.cn\r\nROID: 20030310s10001s00033735-cn\r\n", 0, false, true});
  ASSERT_NE(whois.Port(), 0);
  TConfigHome home;
  home.Write(TWebServer::SourcesAt(server.Base(), whois.Address()));
  server.Answer("/rdap/domain/example.com", 200, R"({"objectClassName":"domain","ldhName":"EXAMPLE.COM"})",
                "application/rdap+json");
  server.Answer("/rdap/domain/free.com", 404, R"({"errorCode":404})", "application/rdap+json");
  server.Answer("/rdap/domain/xn--fsqu00a.com", 404, R"({"errorCode":404,"title":"Not Found"})",
                "application/rdap+json");
  server.Answer("/rdap/domain/xn--mq1aw0l.com", 404, R"({"errorCode":404})", "application/rdap+json");
  server.Answer("/rdap/domain/busy.com", 503, "", "text/plain");
  const FSourceCase cases[] = {
      {46, "example.com", "example.com已被注册", nullptr, {"/rdap/domain/example.com"}},
      {46, " EXAMPLE.Com", " EXAMPLE.Com已被注册", nullptr, {"/rdap/domain/example.com"}},
      {46, "free.com", "free.com未被注册", nullptr, {"/rdap/domain/free.com"}},
      {46, "busy.com", "busy.com查询失败", nullptr, {"/rdap/domain/busy.com"}},
      {46, "baidu.cn", "baidu.cn已被注册", nullptr, {}},  // no RDAP server for cn: WHOIS
      {46, "exa mple.com", "exa mple.com查询失败", nullptr, {}},
      {46, "a..com", "a..com查询失败", nullptr, {}},
      {46, "", "查询失败", nullptr, {}},
      // 華 is C8 41 in GBK: the name is lowered as Unicode, not byte by byte (萢誾.com).
      {46, "華語.com", "華語.com未被注册", nullptr, {"/rdap/domain/xn--mq1aw0l.com"}},
      // The registrable domain is asked about; the answer is for what was typed.
      {46, "www.example.com", "www.example.com已被注册", nullptr, {"/rdap/domain/example.com"}},
      // A public suffix or a label beginning with "-" is asked about nowhere.
      {46, "com", "com查询失败", nullptr, {}},
      {46, "cn", "cn查询失败", nullptr, {}},
      {46, "-abc.com", "-abc.com查询失败", nullptr, {}},
      {46, "例子.com", "例子.com未被注册", nullptr, {"/rdap/domain/xn--fsqu00a.com"}},
  };
  RunSourceCases(server, cases);
  EXPECT_EQ(server.Accepts(), std::vector<std::string>{"application/rdap+json"});  // of the last case
  EXPECT_EQ(whois.Received(), std::vector<std::string>{"baidu.cn\r\n"});

  // Each WHOIS answer on a server of its own.
  const struct {
    const char* reply;
    const char* line;
  } answers[] = {
      {"No matching record.\r\n", "baidu.cn未被注册"},
      {"%% NOT FOUND\n", "baidu.cn未被注册"},
      {"", "baidu.cn查询失败"},
  };
  for (const auto& a : answers) {
    TTimeServer other({a.reply, 0, false, true});
    home.Write(TWebServer::SourcesAt(server.Base(), other.Address()));
    const FItemCase one[] = {{46, "baidu.cn", a.line, nullptr}};
    RunItemCases(one);
  }
}

TEST(WebSources, DomainServersFromTheDataFiles) {
  // The shipped tables: RDAP where the bootstrap names a server, WHOIS for the rest.
  const auto rdap = LoadRdapBootstrap(DefaultDataDir() + "/rdap_dns.json");
  const auto whois = LoadWhoisTable(DefaultDataDir() + "/whois_servers.tsv");
  ASSERT_TRUE(rdap && whois);
  EXPECT_GT(rdap->size(), 1000u);
  EXPECT_EQ(rdap->at("com"), "https://rdap.verisign.com/com/v1/");
  for (const char* tld : {"cn", "hk", "tw", "jp", "kr", "io"}) {
    EXPECT_EQ(rdap->count(tld), 0u) << tld;
    EXPECT_EQ(whois->count(tld), 1u) << tld;
  }
  EXPECT_EQ(whois->at("cn"), "whois.cnnic.cn");

  // With the keys empty, the servers the data files name (here on 127.0.0.1).
  TWebServer server;
  TTimeServer registry({"No match for \"FREE.CN\".\r\n", 0, false, true});
  TConfigHome home;
  home.Write("[services]\n");
  std::filesystem::create_directories(home.Path + "/data");
  std::ofstream(home.Path + "/data/rdap_dns.json")
      << R"({"services":[[["test","example"],["http://127.0.0.1:1/","https://x.invalid/"]],)"
      << R"([["org"],[")" << server.Base() << R"(/registry/"]]]})";
  std::ofstream(home.Path + "/data/whois_servers.tsv") << "# t\ncn\t" << registry.Address() << "\n";
  const auto custom = LoadRdapBootstrap(home.Path + "/data/rdap_dns.json");
  ASSERT_TRUE(custom);
  EXPECT_EQ(custom->at("example"), "https://x.invalid/");  // https preferred
  // The modules stay the build's: a data folder of the test's own beside them.
  std::filesystem::create_directory_symlink(DefaultDataDir() + "/modules", home.Path + "/data/modules");
  TEnvValue data("ORVEX_DATA_DIR", home.Path + "/data");
  server.Answer("/registry/domain/example.org", 200, R"({"objectClassName":"domain"})");
  const FSourceCase cases[] = {
      {46, "example.org", "example.org已被注册", nullptr, {"/registry/domain/example.org"}},
      {46, "free.cn", "free.cn未被注册", nullptr, {}},
      {46, "free.jp", "free.jp查询失败", nullptr, {}},  // no server for jp in this table
  };
  RunSourceCases(server, cases);
}

TEST(WebSources, OnlyARegistryAnswerDecides) {
  for (const char* free : {"No match for \"X.COM\".", "no matching record", "NOT FOUND", "Domain not found.",
                           "No Data Found", "No entries found for the selected source(s).", "Status: free",
                           "x.nl is AVAILABLE for registration"})
    EXPECT_EQ(JudgeWhoisAnswer(std::string("% header\r\n") + free + "\r\n", "x.com"), EDomainState::Free) << free;
  const struct {
    std::string answer;
    EDomainState state;
  } whois[] = {
      {"Domain Name: example.cn\r\nDomain Status: ok\r\n", EDomainState::Registered},
      {"[Domain Name]   EXAMPLE.CN\r\n", EDomainState::Registered},
      // a free marker as the value of a field belongs to a registered record
      {"Domain Name: example.cn\r\nRegistrant Email: Not found\r\n", EDomainState::Registered},
      {"Queried interval is too short.\r\n", EDomainState::Unknown},  // a rate limit
      {"%ERROR:201: access denied\r\n", EDomainState::Unknown},
      {std::string("Domain Name: example.cn\r\n\0\0", 27), EDomainState::Unknown},
      {"Domain Name: other.cn\r\n", EDomainState::Unknown},  // a record of another name
      {"", EDomainState::Unknown},
  };
  for (const auto& w : whois) EXPECT_EQ(JudgeWhoisAnswer(w.answer, "example.cn"), w.state) << w.answer;
  const struct {
    long status;
    const char* body;
    EDomainState state;
  } rdap[] = {
      {200, R"({"objectClassName":"domain","ldhName":"EXAMPLE.COM"})", EDomainState::Registered},
      {404, R"({"errorCode":404,"title":"Not Found"})", EDomainState::Free},
      {200, "<html>Please log in to the hotel network</html>", EDomainState::Unknown},
      {200, "", EDomainState::Unknown},
      {404, "<html><h1>404 Not Found</h1></html>", EDomainState::Unknown},
      {200, R"({"objectClassName":"entity"})", EDomainState::Unknown},
      {500, R"({"errorCode":404})", EDomainState::Unknown},
  };
  for (const auto& r : rdap) {
    FHttpAnswer answer;
    answer.Received = true;
    answer.Status = r.status;
    answer.Body = r.body;
    EXPECT_EQ(JudgeRdapAnswer(answer), r.state) << r.status << " " << r.body;
  }
  const struct {
    const char* typed;
    const char* asked;  // nullptr: nothing is asked
  } names[] = {
      {"華語.com", "xn--mq1aw0l.com"}, {"www.example.com", "example.com"},
      {"EXAMPLE.Com", "example.com"},   {"www.example.com.cn", "example.com.cn"},
      {"com", nullptr},                 {"com.cn", nullptr},
      {"-abc.com", nullptr},            {"abc-.com", nullptr},
  };
  for (const auto& n : names) {
    const std::optional<std::string> asked = DomainQueryName(n.typed);
    EXPECT_EQ(asked.value_or("(none)"), n.asked ? n.asked : "(none)") << n.typed;
  }
  EXPECT_FALSE(DomainQueryName(std::string("example.com\0x", 13)));
}

TEST(WebSources, WhoisWaitsAbandonedAndBounded) {
  // A registry that does not answer: the wait ends as soon as the hook says so.
  TTimeServer silent({"", 10000, false, true});
  int ticks = 0;
  SetNetworkWaitHook([&ticks] { return ++ticks >= 3; });
  EXPECT_EQ(AskWhois(silent.Address(), "example.cn"), EDomainState::Unknown);
  EXPECT_EQ(ticks, 3);
  // Once abandoned, a later wait of the thread does not start.
  EXPECT_EQ(AskWhois(silent.Address(), "example.cn"), EDomainState::Unknown);
  EXPECT_EQ(ticks, 3);
  SetNetworkWaitHook(nullptr);

  // One bound for all the waits under it, however many follow each other: two silent
  // registries and a silent page end together within it (each alone may take 15 s).
  TWebServer page;
  page.Answer("/slow", 200, "late", "text/plain", 10000);
  const double start = Seconds();
  {
    const TNetworkWaitBound bound(400);
    EXPECT_EQ(AskWhois(silent.Address(), "example.cn"), EDomainState::Unknown);
    EXPECT_EQ(AskWhois(silent.Address(), "example.cn"), EDomainState::Unknown);
    EXPECT_FALSE(FetchHttp({page.Base() + "/slow", {}, {}}).Received);
  }
  EXPECT_LT(Seconds() - start, 3.0);
  EXPECT_FALSE(NetworkWaitAbandoned());  // the bound ends with its scope
}
