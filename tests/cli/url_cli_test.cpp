// Items 52-55 through orvex-calc: percent form and back as the user types it (UTF-8 on
// the command line, GBK inside).
#include <gtest/gtest.h>

#include "clirun.h"
#include "itembatch.h"

TEST(UrlCli, PercentFormAndBack) {
  const FCliCase cases[] = {
      {55, "中文", "%D6%D0%CE%C4", nullptr},
      {53, "中文", "%E4%B8%AD%E6%96%87", nullptr},
      {54, "%D6%D0%CE%C4", "中文", nullptr},
      {52, "%E4%B8%AD%E6%96%87", "中文", nullptr},
      {52, "%e4%b8%ad%e6%96%87", "中文", nullptr},
      {55, "a b&c=1", "a%20b&c=1", nullptr},
      {55, "50%", "50%25", nullptr},
      {55, "５０％", "50%25", nullptr},  // full-width typing
      {54, "100%25", "100%", nullptr},
      {54, "１００％２５", "100%", nullptr},
      {53, "學€", "%E5%AD%B8%E2%82%AC", nullptr},
      {55, "😀!", "?%21", nullptr},  // GBK lacks it: "?" at the command line's edge
      {53, "😀!", "?%21", nullptr},
      {52, "%F0%9F%98%80", "?", nullptr},  // a four-byte character GBK lacks
  };
  RunCliCases(cases);
}

TEST(UrlCli, FailuresAndZeroBytes) {
  const FCliCase cases[] = {
      {54, "50%", "50%", nullptr},      // malformed: the input line keeps its text
      {54, "5%G1", "5%G1", nullptr},
      {52, "5%G1", "5%G1", nullptr},
      {52, "%D6%D0", "", nullptr},      // GBK bytes, not UTF-8: an empty line
      {52, "%E4%B8", "", nullptr},
      {54, "%00", "", nullptr},         // the line ends at a zero byte
      {54, "ab%00cd", "ab", nullptr},
      {52, "ab%00%E4%B8%AD", "ab", nullptr},
  };
  RunCliCases(cases);
}

TEST(UrlCli, PlainOutput) {
  EXPECT_EQ(Calc(54, "ab%00cd"), "ab");
  EXPECT_EQ(Calc(54, "%D6%D0%CE%C4"), "中文");
  const FCliResult r = RunCalc({"--json", "54", "x%00y"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("\\u0000"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"output\":\"x\""), std::string::npos) << r.out;
}
