// Items 18 and 19 through orvex-calc, and what they do when OpenCC's dictionaries cannot
// be loaded: the item ends silently and the input line keeps its text.
#include <gtest/gtest.h>

#include <cstdlib>

#include "clirun.h"
#include "itembatch.h"

TEST(SimpTradCli, Conversions) {
  const FCliCase cases[] = {
      {18, "国家", "國家", nullptr},
      {19, "國家", "国家", nullptr},
      {18, "电脑ABC，１２３", "電腦ABC,123", nullptr},
      {19, "電腦軟體", "电脑软体", nullptr},
      {18, "", "", nullptr},
      {18, "😀国", "?國", nullptr},  // outside GBK: "?" before the conversion
  };
  RunCliCases(cases);
}

TEST(SimpTradCli, UnloadableDictionariesKeepTheInputLine) {
  setenv("ORVEX_OPENCC_DIR", "/nonexistent-opencc-folder", 1);
  const FCliCase cases[] = {
      {18, "国家", "国家", nullptr},
      {19, "國家", "國家", nullptr},
      {19, "（國）", "(國)", nullptr},  // the dispatcher's normalisation still happens
  };
  RunCliCases(cases);
  unsetenv("ORVEX_OPENCC_DIR");
}

TEST(SimpTradCli, DictionaryFolderFromTheEnvironment) {
  setenv("ORVEX_OPENCC_DIR", "/usr/share/opencc", 1);
  EXPECT_EQ(Calc(18, "国家"), "國家");
  unsetenv("ORVEX_OPENCC_DIR");
}
