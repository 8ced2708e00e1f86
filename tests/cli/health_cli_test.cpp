// Health calculators (items 31, 32, 33) and drawing lots (items 48, 49) through
// orvex-calc: refused input keeps the input line, full-width input is read as typed.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <string>

#include "itembatch.h"

TEST(HealthCli, StandardWeightFoodAndDailyEnergy) {
  const char* const height = "输入正确的身高";
  const char* const bad = "输入内容不正确";
  const FCliCase cases[] = {
      {31, "172", "身高172cm标准体重男65kg,女62kg", nullptr},
      {31, "１７２", "身高172cm标准体重男65kg,女62kg", nullptr},
      {31, "100", "100", height},  // outside 101..194: refused, line kept
      {31, "一七二", "一七二", height},
      {32, "牛肉*500", "490千卡", nullptr},
      {32, "猪肝＊100", "129千卡", nullptr},
      {32, "牛肉*abc", "牛肉*abc", bad},
      {32, "豆油*2147483647", "豆油*2147483647", bad},  // beyond 32 bits: refused
      {32, "牛肉500", "牛肉500", nullptr},
      {33, "72", "男需1774千卡,女需1501千卡", nullptr},
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

TEST(LotsCli, FullWidthCommasSeparateTheNames) {
  // One calculator: item 48's draws follow one another on the shared generator (item 49
  // re-seeds it from the clock, so its runs come after them).
  std::string input;
  for (int i = 0; i < 200; ++i) input += i < 100 ? "48\t甲，乙，丙\n" : "49\t甲，乙，丙\n";
  const FCliResult r = RunCalc({"--batch"}, input);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::set<std::string> orders = {"甲,乙,丙", "甲,丙,乙", "乙,甲,丙",
                                        "乙,丙,甲", "丙,甲,乙", "丙,乙,甲"};
  std::set<std::string> drawn;
  size_t start = 0;
  for (size_t nl, k = 0; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1, ++k) {
    const std::string out = nlohmann::json::parse(r.out.substr(start, nl - start))["output"];
    if (k >= 100) EXPECT_TRUE(orders.count(out)) << out;
    else drawn.insert(out);
  }
  EXPECT_EQ(drawn, (std::set<std::string>{"甲", "乙", "丙"}));
}

// Shuffles and draws in one run never come round again: 1,200 shuffles of three names,
// each followed (the first 800) by a draw of one of four, give every order and every name
// about as often as the others (200 times each on average).
TEST(LotsCli, ManyShufflesAndDrawsInOneRun) {
  std::string input;
  for (int i = 0; i < 1200; ++i) input += i < 800 ? "49\t甲，乙，丙\n48\t甲，乙，丙，丁\n" : "49\t甲，乙，丙\n";
  const FCliResult r = RunCalc({"--batch"}, input);
  ASSERT_EQ(r.status, 0) << r.err;
  std::map<std::string, int> orders, names;
  size_t start = 0;
  for (size_t nl; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1) {
    const auto line = nlohmann::json::parse(r.out.substr(start, nl - start));
    ++(line["item"] == 49 ? orders : names)[line["output"].get<std::string>()];
  }
  EXPECT_EQ(orders.size(), 6u);
  for (const auto& [order, n] : orders) EXPECT_GE(n, 100) << order;
  EXPECT_EQ(names.size(), 4u);
  for (const auto& [name, n] : names) EXPECT_GE(n, 120) << name;
}
