// orvex-calc run as a process: the contract that scripts and later checks rely on.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "clirun.h"

TEST(Cli, PrintsTheInputLineAfterEquals) {
  struct {
    int item;
    const char* text;
    const char* out;
  } cases[] = {
      {0, "(2+3)*7/19", "1.84210526315789"},
      {0, "（２＋３）＊７", "35"},
      {0, "1/0", "1/0"},
      {0, "", ""},
      {-1, "１２３", "123"},
      {47, "ａｂｃ", "abc"},
      {57, "ｘ", "x"},
      {0, "😀1+1", "2"},  // a character GBK lacks is filtered like any other
  };
  for (const auto& c : cases) EXPECT_EQ(Calc(c.item, c.text), c.out) << c.text;
}

TEST(Cli, OutputIsValidUtf8WhateverTheInput) {
  const FCliResult r = RunCalc({"-1", "a\xFF\xFE" "b\xE4"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "a??b?\n");
}

TEST(Cli, JsonRecord) {
  const FCliResult r = RunCalc({"--json", "0", "1/3"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "{\"item\":0,\"input\":\"1/3\",\"output\":\"0.333333333333333\","
            "\"label\":\"请输入算式,如(2+3)*7/19\",\"messages\":[],"
            "\"questions\":[]}\n");
}

TEST(Cli, BatchCarriesTheCalculatorOverLines) {
  const FCliResult r = RunCalc({"--batch"}, "0\t1+1\n-1\n0\t(2+3)*7\n47\t１\nx\t1\n");
  EXPECT_EQ(r.status, 2);  // the line without an integer ITEM
  std::vector<nlohmann::json> lines;
  size_t start = 0;
  for (size_t nl; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(nlohmann::json::parse(r.out.substr(start, nl - start)));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0]["output"], "2");
  EXPECT_EQ(lines[1]["output"], "");
  EXPECT_EQ(lines[1]["item"], -1);
  EXPECT_EQ(lines[2]["output"], "35");
  EXPECT_EQ(lines[3]["output"], "1");
  EXPECT_EQ(lines[4]["line"], 5);
}

TEST(Cli, ListShowsEveryItem) {
  const FCliResult r = RunCalc({"--list"});
  ASSERT_EQ(r.status, 0);
  int lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 57);
  EXPECT_NE(r.out.find("0\t加减乘除计算\t请输入算式,如(2+3)*7/19\n"), std::string::npos);
  EXPECT_NE(r.out.find("45\t*汇率计算\t数量，原币种，转换币种(人民币,美元,欧元,港元,台币,\\r英镑,韩元,日元)\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("56\t网络校对时间\t直接点等于\n"), std::string::npos);
}

TEST(Cli, UsageErrors) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"abc"}, {"1.5"}, {"0", "1", "2"}, {"--answer", "maybe", "0"}, {"--bogus"},
           {"--batch", "0"}, {"99999999999"}}) {
    const FCliResult r = RunCalc(args);
    EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(RunCalc({"--help"}).status, 0);
  EXPECT_EQ(RunCalc({"--version"}).out, "orvex-calc 4.0\n");
}

TEST(Cli, HugeInputsEndWithoutInfOrNan) {
  const std::string big(1 << 20, '9');
  for (const std::string& text : {big, big + "*" + big, std::string(1 << 20, '-'),
                                  std::string(1 << 19, '(') + "1" + std::string(1 << 19, ')')}) {
    const FCliResult r = RunCalc({"--batch"}, "0\t" + text + "\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("inf"), std::string::npos);
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
  }
}

TEST(Cli, MessagesGoToStderrInUtf8) {
  const FCliResult r = RunCalc({"9", "abc"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "abc\n");
  EXPECT_EQ(r.err.rfind("提示: ", 0), 0u) << r.err;
  EXPECT_EQ(r.err.back(), '\n');
  EXPECT_TRUE(RunCalc({"--json", "9", "abc"}).err.empty());
}
