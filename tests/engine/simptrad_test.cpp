// Items 18 and 19 on OpenCC's dictionaries: phrases and characters both ways, and texts
// that have nothing to convert.
#include <gtest/gtest.h>

#include "hanzi/mekGB.h"
#include "itemcases.h"

TEST(SimpTradItems, BothWays) {
  const FItemCase cases[] = {
      {18, "国家", "國家", nullptr},
      {19, "國家", "国家", nullptr},
      {18, "头发和后来", "頭髮和後來", nullptr},  // one simplified form, several traditional ones
      {19, "頭髮和後來", "头发和后来", nullptr},
      {19, "乾燥", "干燥", nullptr},
      {18, "简体转为繁体", "簡體轉爲繁體", nullptr},
      {18, "（１２３）", "(123)", nullptr},  // full-width signs normalised first
      {18, "", "", nullptr},
      {19, "", "", nullptr},
  };
  RunItemCases(cases);
}

TEST(SimpTrad, TextsWithoutCounterpartPassThrough) {
  const char* const texts[] = {
      "abc 123 +-*/ !?", "中文人口", "山水", "《》、；：", "1.5E3", "\t\r\n",
  };
  for (const char* t : texts) {
    EXPECT_EQ(ToTraditional(t), t) << t;
    EXPECT_EQ(ToSimplified(t), t) << t;
  }
}

TEST(SimpTrad, LongTextKeepsEveryCharacter) {
  std::string simplified, traditional;
  for (int i = 0; i < 2000; ++i) {
    simplified += "国家的语言，abc。";
    traditional += "國家的語言，abc。";
  }
  EXPECT_EQ(ToTraditional(simplified), traditional);
  EXPECT_EQ(ToSimplified(traditional), simplified);
}
