// Items 24 and 25 (city position, distance between two cities) through orvex-calc: the
// input line as typed, full-width blanks included, and what stays in it on a refusal.
#include <gtest/gtest.h>

#include "itembatch.h"

TEST(GeoCli, Position) {
  const char* const none = "没有找到";
  const FCliCase cases[] = {
      {24, "四川成都", "经度104.04，纬度30", nullptr},
      {24, "成都", "经度104.04，纬度30", nullptr},
      {24, "上海", "经度121.29，纬度31", nullptr},
      {24, "吉林", "经度125.19，纬度44", nullptr},
      {24, "江苏连云港", "经度119.13，纬度34", nullptr},
      {24, "成都 ", "成都 ", none},
      {24, "成都　", "成都 ", none},  // the full-width blank becomes a blank, then nothing is found
      {24, "江苏连去港", "江苏连去港", none},
      {24, "", "", none},
  };
  RunCliCases(cases);
}

TEST(GeoCli, Distance) {
  const char* const none = "没找到地名或输入不正确";
  const FCliCase cases[] = {
      {25, "四川成都 湖北武汉", "971.78公里", nullptr},
      {25, "湖北武汉 四川成都", "971.78公里", nullptr},
      {25, "北京 上海", "1035.90公里", nullptr},
      {25, "成都   武汉", "971.78公里", nullptr},
      {25, "成都　武汉", "971.78公里", nullptr},  // full-width blank
      {25, "成都 四川成都", "成都 四川成都", none},
      {25, "四川成都", "四川成都", none},
      {25, "成都\t武汉", "成都\t武汉", none},  // a tab does not separate the names
  };
  RunCliCases(cases);
}

TEST(GeoCli, SingleRun) {
  const FCliResult r = RunCalc({"25", "北京 上海"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1035.90公里\n");
  const FCliResult refused = RunCalc({"24", "火星"});
  EXPECT_EQ(refused.status, 0) << refused.err;
  EXPECT_EQ(refused.out, "火星\n");
  EXPECT_NE(refused.err.find("没有找到"), std::string::npos) << refused.err;
}
