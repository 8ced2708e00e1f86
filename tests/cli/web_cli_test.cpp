// Items 27, 28, 29, 35, 45, 46 and 50 through orvex-calc, against one service on
// 127.0.0.1 whose UTF-8 page holds every item's answer, and with no service configured.
#include <gtest/gtest.h>

#include "../engine/testenv.h"
#include "../engine/webserver.h"
#include "itembatch.h"

namespace {

const char* const CurrencyBox = "目前只支持常用:人民币美元,欧元,港元,台币,\r英镑,韩元,日元";
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

TEST(WebCli, NoServiceConfigured) {
  TConfigHome home;
  const FCliCase cases[] = {
      {27, "北京", "俺挖空心思算不出，能上网不？城市名对不？", nullptr},
      {28, "138", "俺挖空心思算不出，能上网不？IP对不？", nullptr},
      {29, "1.2.3.4", "查询失败", nullptr},
      {45, "100,美元,人民币", "无法查询,是否能上网?", nullptr},
      {45, "100", "100", "输入错误"},
      {46, "example.com", "example.com未被注册", nullptr},
      {50, "12345", "12345离线", nullptr},
      {35, "2013011", "2013011", NoDrawBox},
  };
  RunCliCases(cases);
}
