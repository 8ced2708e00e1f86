// Items 27, 28, 29, 35, 45, 46 and 50 through orvex-calc, against one service on
// 127.0.0.1 whose UTF-8 page holds every item's answer, with no page service (offline and
// against stand-ins of the public sources), and with the largest page a fetch keeps.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "../engine/loopback.h"
#include "../engine/testenv.h"
#include "../engine/webserver.h"
#include "itembatch.h"

namespace {

const char* const CurrencyBox = "目前只支持常用:人民币,美元,欧元,港元,台币,\r英镑,韩元,日元";
const char* const NoDrawBox = "地球上还没发这一期的中奖号呢";

}  // namespace

TEST(WebCli, EveryItemAsksItsService) {
  TWebServer server;
  TConfigHome home;
  home.Write(server.Services());
  server.Serve(
      "<a href=\"javascript:sent_to_vb('北京','晴')\">\n"
      "<p>卡号归属地</p>\n<p>北京 移动</p>\n"
      "<p>本站主数据：北京 联通</p>\n"
      "<td>100</td> <td>=</td> <td>6.8</td></table>\n"
      "Domain name is not available =1\n",
      "text/html; charset=utf-8");
  const FCliCase cases[] = {
      {27, "北京", "晴", nullptr},
      {28, "138", "北京 移动", nullptr},
      {29, "1.2.3.4", "本站主数据：北京 联通", nullptr},
      {45, "100，美元，人民币", "100美元=6.8人民币", nullptr},
      {45, "100,dollar,人民币", "100,dollar,人民币", CurrencyBox},
      {46, "example.com", "example.com已被注册", nullptr},
      {50, " 12345 ", " 12345 在线", nullptr},
      {35, "2013011", "2013011", NoDrawBox},  // no header on the page
  };
  RunCliCases(cases);
  // The user's text arrives as GBK bytes, percent-encoded.
  const std::vector<std::string> targets = {
      "/search.php?city=%B1%B1%BE%A9&dpc=1",
      "/search.asp?action=mobile&mobile=138",
      "/ips138.asp?ip=1.2.3.4&action=2",
      "/hl.asp?from=USD&to=CNY&q=100",
      "/cgi-bin/check.cgi?area_domain=example.com",
      "/getonline?Type=1&12345:",
      "/sd/history/inc/history.php",
  };
  EXPECT_EQ(server.Targets(), targets);
}

// With no page service (the default): items 28 and 29 offline, items 27, 45 and 46 through
// stand-ins of their public sources, and failures said as failures.
TEST(WebCli, PublicSourcesAndOfflineAnswers) {
  TWebServer server;
  TRefusingPort refusing;
  TConfigHome home;
  home.Write(TWebServer::SourcesAt(server.Base(), "127.0.0.1:" + std::to_string(refusing.Port)));
  server.Answer("/geocoding", 200, R"({"results":[{"name":"\u5317\u4eac\u5e02","latitude":39.9,"longitude":116.4}]})");
  server.Answer("/forecast", 200,
                R"({"current":{"temperature_2m":3.4,"weather_code":2},)"
                R"("daily":{"temperature_2m_max":[7.6],"temperature_2m_min":[-2.5]}})");
  server.Answer("/rates/cny.json", 200, R"({"date":"2026-12-09","cny":{"usd":0.14123}})");
  server.Answer("/rdap/domain/example.com", 200, R"({"objectClassName":"domain"})", "application/rdap+json");
  const FCliCase cases[] = {
      {27, "北京", "北京市：多云，现在3℃，今天-3℃~8℃", nullptr},
      {28, "13800138000", "北京市 中国移动", nullptr},
      {29, "202.96.128.86", "中国 广东省 广州市 电信", nullptr},
      {45, "100,人民币,美元", "100人民币=14.12美元", nullptr},
      {46, "example.com", "example.com已被注册", nullptr},
      {46, "example.cn", "example.cn查询失败", nullptr},  // WHOIS refused
      {50, "12345", "12345查询失败", nullptr},           // no presence service
      {35, "2013011", "2013011", "查询失败"},            // neither draw source answers
  };
  RunCliCases(cases);
  const std::vector<std::string> targets = {
      "/geocoding?name=%E5%8C%97%E4%BA%AC&count=1&language=zh&format=json",
      "/forecast?latitude=39.9&longitude=116.4&current=temperature_2m,weather_code"
      "&daily=temperature_2m_max,temperature_2m_min&timezone=auto&forecast_days=1",
      "/rates/cny.json",
      "/rdap/domain/example.com",
      "/sd/history/inc/history.php?start=2013011&end=2013011",
      "/cwl_admin/front/cwlkj/search/kjxx/findDrawNotice?name=3d&issueStart=2013011&issueEnd=2013011",
  };
  EXPECT_EQ(server.Targets(), targets);
  // A NUL byte in a batch line is part of the input: no address is cut short at it.
  const FCliResult r = RunCalc({"--batch"}, std::string("29\t8.8.8.8\0garbage\n", 19));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["output"], "查询失败");
}

// The largest page a fetch keeps, 8 MiB of line breaks, costs each item a few times its
// size, not a string for each of its eight million lines (which took it past 36 times).
// The peak resident size of one --batch run of every web item stays below 16 times.
TEST(WebCli, LargestPageCostsAFewTimesItsSize) {
  const size_t page = size_t(8) << 20;
  TWebServer server;
  TConfigHome home;
  home.Write(server.Services());
  server.Serve(std::string(page, '\n'));
  const std::string lines = home.Path + "/lines";
  std::ofstream(lines) << "27\t北京\n28\t138\n29\t1.2.3.4\n35\t2013011\n45\t100,美元,人民币\n"
                          "46\texample.com\n50\t12345\n";
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, lines.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  char calc[] = ORVEX_CALC_PATH, batch[] = "--batch";
  char* argv[] = {calc, batch, nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, calc, &files, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&files);
  int status = -1;
  rusage use{};
  ASSERT_EQ(wait4(pid, &status, 0, &use), pid);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(server.Targets().size(), 7u);
  EXPECT_LT(static_cast<size_t>(use.ru_maxrss) * 1024, 16 * page) << use.ru_maxrss << " KiB";
}

// Without the modules beside it (a data folder holding none), orvex-calc still answers what
// needs none, and every item that needs one says its failure: no fetch, no conversion, no
// phone library, nothing crashes.
TEST(WebCli, MissingModulesAreClearFailures) {
  TWebServer server;
  TConfigHome home;
  home.Write(TWebServer::SourcesAt(server.Base(), ""));
  server.Answer("/rdap/domain/example.com", 200, R"({"objectClassName":"domain"})", "application/rdap+json");
  TEnvValue data("ORVEX_DATA_DIR", home.Path);
  const FCliCase cases[] = {
      {0, "(2+3)*7", "35", nullptr},
      {9, "2009-1-1", "星期四", nullptr},
      {46, "example.com", "example.com查询失败", nullptr},
      {27, "北京", "俺挖空心思算不出，能上网不？城市名对不？", nullptr},
      {28, "13800138000", "俺挖空心思算不出，能上网不？IP对不？", nullptr},
      {18, "头发", "头发", "缺少库文件"},
  };
  RunCliCases(cases);
  EXPECT_EQ(server.Targets(), std::vector<std::string>{});  // nothing was fetched
}
