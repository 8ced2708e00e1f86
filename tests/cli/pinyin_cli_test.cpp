// Item 39 through orvex-calc: UTF-8 in and out, the data file beside the executable.
#include <gtest/gtest.h>

#include "clirun.h"
#include "itembatch.h"

TEST(PinyinCli, TextsAsTyped) {
  const FCliCase cases[] = {
      {39, "人", "rén", nullptr},
      {39, "中华人民共和国", "zhōng huá rén mín gòng hé guó", nullptr},
      {39, "都督做作", "dōu dū zuò zuò", nullptr},
      {39, "长城　ＡＢ１", "cháng chéng    ", nullptr},  // full-width blank and letters: ASCII first
      {39, "我爱Beijing", "wǒ ài       ", nullptr},
      {39, "女儿绿", "nǚ ér lǜ", nullptr},
      {39, "中😀国", "zhōng  guó", nullptr},  // outside GBK: "?", which has no pinyin
      {39, "abc", "abc", nullptr},  // no character has a pinyin: the line is kept
      {39, "這個國家", "zhè gè guó jiā", nullptr},  // 這 is DF 40: a second byte below 0x80
      {39, "丂中", "kǎo zhōng", nullptr},
      {39, "", "", nullptr},
  };
  RunCliCases(cases);
}

TEST(PinyinCli, SingleRun) { EXPECT_EQ(Calc(39, "拼音"), "pīn yīn"); }
