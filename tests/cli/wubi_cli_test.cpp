// Item 38 through orvex-calc: the Wubi list beside the executable, read once for a run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "clirun.h"
#include "itembatch.h"

TEST(WubiCli, OneLookup) {
  EXPECT_EQ(Calc(38, "啊"), "啊字五笔为：kbsk");
  EXPECT_EQ(Calc(38, "啊啊"), "啊字五笔为：kbsk");
  EXPECT_EQ(Calc(38, ""), "字五笔为：");
}

// Many lookups in one run share the list read at its start.
TEST(WubiCli, BatchOfLookups) {
  const FCliCase cases[] = {
      {38, "啊", "啊字五笔为：kbsk", nullptr},
      {38, "一二三", "一字五笔为：ggll", nullptr},
      {38, "国", "国字五笔为：lgyi", nullptr},
      {38, "我", "我字五笔为：trnt", nullptr},
      {38, "", "字五笔为：", nullptr},
      {38, "ab", "ab字五笔为：", nullptr},          // letters have no code (not 齹's udab)
      {38, "ａｂ", "ab字五笔为：", nullptr},        // full-width letters become ASCII first
      {38, "乤", "乤字五笔为：ghnb", nullptr},      // not 靵's code, whose bytes hold 乤's
      {38, "靵", "靵字五笔为：afnf", nullptr},
      {38, "𠀀", "?字五笔为：", nullptr},           // GBK lacks it: "?" matches no line
      {0, "1+2", "3", nullptr},                      // other items run alongside
      {38, "啊", "啊字五笔为：kbsk", nullptr},
  };
  RunCliCases(cases);
}

TEST(WubiCli, MissingListShowsNoCode) {
  std::string pattern = testing::TempDir() + "wubicliXXXXXX";
  const std::string folder = mkdtemp(pattern.data());
  setenv("ORVEX_DATA_DIR", folder.c_str(), 1);
  const FCliResult r = RunCalc({"38", "啊"});
  unsetenv("ORVEX_DATA_DIR");
  std::filesystem::remove_all(folder);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "啊字五笔为：\n");
  EXPECT_EQ(r.err, "");
}
