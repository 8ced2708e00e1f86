// Health calculators (items 31, 32, 33) and drawing lots (items 48, 49) through
// orvex-calc: refused input keeps the input line, full-width input is read as typed.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>

#include "itembatch.h"

TEST(HealthCli, StandardWeightFoodAndDailyEnergy) {
  const char* const height = "输入正确的身高";
  const char* const bad = "输入内容不正确";
  const FCliCase cases[] = {
      {31, "172", "身高172cm标准体重男65kg,女62kg", nullptr},
      {31, "120", "身高120cm标准体重男18kg,女16kg", nullptr},
      {31, "１７２", "身高172cm标准体重男65kg,女62kg", nullptr},
      {31, "100", "100", height},  // outside 101..194: refused, line kept
      {31, "195", "195", height},
      {31, "一七二", "一七二", height},
      {32, "牛肉*500", "490千卡", nullptr},
      {32, "苹果*100", "45千卡", nullptr},
      {32, "牛肉 *500", "0千卡", nullptr},
      {32, "大米*-100", "-346千卡", nullptr},
      {32, "大米*$10", "55千卡", nullptr},
      {32, "猪肝＊100", "129千卡", nullptr},
      {32, "牛肉*abc", "牛肉*abc", bad},
      {32, "豆油*2147483647", "豆油*2147483647", bad},  // beyond 32 bits: refused
      {32, "牛肉500", "牛肉500", nullptr},
      {33, "72", "男需1774千卡,女需1501千卡", nullptr},
      {33, "11", "男需847千卡,女需611千卡", nullptr},
      {33, "10", "10", "体重异常"},
      {33, "七十", "七十", bad},
      {48, "张三", "张三", nullptr},
      {48, "", "", nullptr},
      {49, "张三", "张三", nullptr},
      {49, "", "", nullptr},
      {49, "，", "", nullptr},
  };
  RunCliCases(cases);
}

TEST(LotsCli, DrawsAndOrdersTheTypedNames) {
  // One calculator, many runs: item 48 draws on from the same generator.
  std::string input;
  for (int i = 0; i < 200; ++i) input += "48\t甲，乙，丙\n49\t甲，乙，丙\n";
  const FCliResult r = RunCalc({"--batch"}, input);
  ASSERT_EQ(r.status, 0) << r.err;
  std::set<std::string> drawn, orders;
  size_t start = 0;
  for (size_t nl, k = 0; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1, ++k) {
    const auto j = nlohmann::json::parse(r.out.substr(start, nl - start));
    const std::string out = j["output"];
    (k % 2 ? orders : drawn).insert(out);
    EXPECT_TRUE(j["messages"].empty());
  }
  EXPECT_EQ(drawn, (std::set<std::string>{"甲", "乙", "丙"}));
  ASSERT_FALSE(orders.empty());
  for (const std::string& order : orders) {
    EXPECT_EQ(order.size(), std::string("甲,乙,丙").size()) << order;
    EXPECT_TRUE(order.find("甲") != std::string::npos && order.find("乙") != std::string::npos &&
                order.find("丙") != std::string::npos)
        << order;
  }
}
