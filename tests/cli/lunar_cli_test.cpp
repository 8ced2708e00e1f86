// Item 1 through orvex-calc: solar to lunar (answer yes) and lunar to solar (answer no).
#include "itembatch.h"

namespace {
const char* const Wrong = "日期格式不对";
const char* const Question = "公历转农历请按“是”，农历转公历请按“否”";
}  // namespace

TEST(LunarCli, SolarToLunar) {
  const FCliCase cases[] = {
      {1, "2010-02-14", "二零一零年一月初一", nullptr},
      {1, "2000-02-05", "二零零零年一月初一", nullptr},
      {1, "2010-08-01", "二零一零年六月廿一", nullptr},
      {1, "1901-01-01", "一九零零年冬月十一", nullptr},
      {1, "2012-01-22", "二零一一年腊月廿九", nullptr},
      {1, "2014-01-30", "二零一三年腊月三十", nullptr},
      {1, "2014-01-31", "二零一四年一月初一", nullptr},
      {1, "2009-06-23", "二零零九年闰五初一", nullptr},
      {1, "2009-07-21", "二零零九年闰五廿九", nullptr},
      {1, "2009-07-22", "二零零九年六月初一", nullptr},
      {1, "2020-05-23", "二零二零年闰四初一", nullptr},
      {1, "2020-06-21", "二零二零年五月初一", nullptr},
      {1, "2033-12-22", "二零三三年闰冬初一", nullptr},
      {1, "2034-01-01", "二零三三年闰冬十一", nullptr},
      {1, "2034-01-20", "二零三三年腊月初一", nullptr},
      {1, "2050-12-31", "二零五零年冬月十八", nullptr},
      {1, "2027-02-06", "二零二七年一月初一", nullptr},
      {1, "2010/8/1", "二零一零年六月廿一", nullptr},
      {1, "1900-12-31", "1900-12-31", Wrong},
      {1, "2051-01-01", "2051-01-01", Wrong},
      {1, "2010/2/30", "2010-2-30", Wrong},
      {1, "abc", "abc", Wrong},
      {1, "", "", Wrong},
  };
  RunCliCases(cases, {"--answer", "yes"});
}

TEST(LunarCli, LunarToSolar) {
  const FCliCase cases[] = {
      {1, "2010-1-1", "2010-02-14", nullptr},
      {1, "2000-1-1", "2000-02-05", nullptr},
      {1, "1901-1-1", "1901-02-19", nullptr},
      {1, "2099-12-30", "2100-02-08", nullptr},
      {1, "2009-5-1", "2009-05-24", nullptr},
      {1, "2009-6-1", "2009-07-22", nullptr},  // after the leap 5th month
      {1, "2033-12-1", "2034-01-20", nullptr},
      {1, "2010/1/1/9", "2010-02-14", nullptr},  // fields after the third are ignored
      // a lunar date that does not exist is refused, not shown as the year 1
      {1, "2010-2-30", "2010-2-30", Wrong},
      {1, "2100-1-1", "2100-1-1", Wrong},
      {1, "1900-12-1", "1900-12-1", Wrong},
      {1, "2010-13-1", "2010-13-1", Wrong},
      {1, "2010-0-1", "2010-0-1", Wrong},
      {1, "2010-1-31", "2010-1-31", Wrong},
      {1, "2010-1", "2010-1", Wrong},
      {1, "2010-a-1", "2010-a-1", Wrong},
      {1, "", "", Wrong},
  };
  RunCliCases(cases, {"--answer", "no"});
}

TEST(LunarCli, AsksWhichDirection) {
  const FCliResult r = RunCalc({"--json", "--answer", "no", "1", "2010-1-1"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["questions"], nlohmann::json::array({Question}));
  EXPECT_EQ(j["output"], "2010-02-14");
  // A text that is no date in either calendar is refused before the question.
  for (const char* typed : {"abc", "", "2010-a-1"}) {
    const FCliResult t = RunCalc({"--json", "1", typed});
    const auto k = nlohmann::json::parse(t.out);
    EXPECT_EQ(k["questions"], nlohmann::json::array()) << typed;
    EXPECT_EQ(k["messages"], nlohmann::json::array({Wrong})) << typed;
  }
}
