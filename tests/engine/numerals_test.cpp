// Chinese numerals: place units, digit by digit, and the limits of the unit table.
#include <gtest/gtest.h>

#include <limits>

#include "core/mekerror.h"
#include "core/mekstr.h"
#include "itemcases.h"

namespace {

struct FNumeralCase {
  double x;
  const char* lower;
  const char* upper;
};

}  // namespace

TEST(NumberToChinese, WithUnits) {
  const FNumeralCase cases[] = {
      {0, "零", "零"},
      {0.5, "零点五", "零点伍"},
      {10, "一十", "壹拾"},
      {15, "一十五", "壹拾伍"},
      {20, "二十", "贰拾"},
      {101, "一百零一", "壹佰零壹"},
      {1010, "一千零一十", "壹仟零壹拾"},
      {10010, "一万零一十", "壹万零壹拾"},
      {100000, "一十万", "壹拾万"},
      {1000100, "一百万零一百", "壹佰万零壹佰"},
      {100000000, "一亿", "壹亿"},
      {100000001, "一亿零一", "壹亿零壹"},
      {100001000, "一亿零一千", "壹亿零壹仟"},
      {100010000, "一亿零一万", "壹亿零壹万"},
      {110000000, "一亿一千万", "壹亿壹仟万"},
      {1234567890, "一十二亿三千四百五十六万七千八百九十", "壹拾贰亿叁仟肆佰伍拾陆万柒仟捌佰玖拾"},
      {1234567890123, "一万二千三百四十五亿六千七百八十九万零一百二十三",
       "壹万贰仟叁佰肆拾伍亿陆仟柒佰捌拾玖万零壹佰贰拾叁"},
      {235323.22, "二十三万五千三百二十三点二二", "贰拾叁万伍仟叁佰贰拾叁点贰贰"},
      {1.05, "一点零五", "壹点零伍"},
      {0.00001, "零", "零"},  // written 1E-5: no fraction digits
      {0.0001, "零点零零零一", "零点零零零壹"},
      {1e12, "一万亿", "壹万亿"},
      // The 万亿 group: a lone digit carries 万 with its unit; several share one 万.
      {1e13, "一十万亿", "壹拾万亿"},
      {1e14, "一百万亿", "壹佰万亿"},
      {1e15, "一千万亿", "壹仟万亿"},  // written 1E15
      {9e15, "九千万亿", "玖仟万亿"},
      {11e12, "一十一万亿", "壹拾壹万亿"},
      {120e12, "一百二十万亿", "壹佰贰拾万亿"},
      {102e12, "一百零二万亿", "壹佰零贰万亿"},
      {10100000000000, "一十万零一千亿", "壹拾万零壹仟亿"},
      {123456789012345, "一百二十三万四千五百六十七亿八千九百零一万二千三百四十五",
       "壹佰贰拾叁万肆仟伍佰陆拾柒亿捌仟玖佰零壹万贰仟叁佰肆拾伍"},
      {100000000000001, "一百万亿零一", "壹佰万亿零壹"},
      // Negative numbers: the sign in words, then the absolute value.
      {-101, "负一百零一", "负壹佰零壹"},
      {-0.5, "负零点五", "负零点伍"},
      {-0.0, "零", "零"},
      // The general format rounds to 15 digits; the integer part follows the text.
      {0.9999999999999999, "一", "壹"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberToChinese(c.x, true, false), c.lower) << c.x;
    EXPECT_EQ(NumberToChinese(c.x, true, true), c.upper) << c.x;
  }
}

TEST(NumberToChinese, DigitByDigit) {
  const FNumeralCase cases[] = {
      {2010, "二零一零", "贰零壹零"},
      {1900, "一九零零", "壹玖零零"},
      {0, "零", "零"},
      {10, "一零", "壹零"},
      {3.25, "三点二五", "叁点贰伍"},
      {9e15, "九零零零零零零零零零零零零零零零", "玖零零零零零零零零零零零零零零零"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberToChinese(c.x, false, false), c.lower) << c.x;
    EXPECT_EQ(NumberToChinese(c.x, false, true), c.upper) << c.x;
  }
}

TEST(NumberToChinese, RefusesWhatItCannotWrite) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  // 9999999999999998 is below 10^16 but its 15-digit text is 1E16.
  for (double x : {0.000015, 1.5e15, 1e16, 9999999999999998.0, 1.5e-300, 1e300, -1e300, -1e16,
                   inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
    for (bool units : {true, false})
      EXPECT_THROW(NumberToChinese(x, units, false), EConvertError) << x;
  }
}

TEST(NumeralsItems, ExactIntegersBelow10To16AsTyped) {
  // Sixteen digits have no exact 15-digit general format (1.5E15, 1.23456789012346E15),
  // and above 2^53 the nearest double is another number: the typed digits are written.
  const char* const none = nullptr;
  const FItemCase cases[] = {
      {2, "1500000000000000", "一千五百万亿", none},
      {3, "1500000000000000", "壹仟伍佰万亿", none},
      {2, "1234567890123456", "一千二百三十四万五千六百七十八亿九千零一十二万三千四百五十六", none},
      {3, "1234567890123456", "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌亿玖仟零壹拾贰万叁仟肆佰伍拾陆", none},
      {2, "9007199254740993", "九千零七万一千九百九十二亿五千四百七十四万零九百九十三", none},
      {2, "9999999999999999", "九千九百九十九万九千九百九十九亿九千九百九十九万九千九百九十九", none},
      {2, "2000000000000000", "二千万亿", none},
      {2, "-1500000000000000", "负一千五百万亿", none},
      {2, "+1500000000000000", "一千五百万亿", none},
      {2, "0001500000000000000", "一千五百万亿", none},
      {2, "1500000000000000.00", "一千五百万亿", none},
      {2, "-0", "零", none},
      {2, "-000.0", "零", none},
      {2, "1010", "一千零一十", none},
      // Not exact integers below 10^16: as before.
      {2, "10000000000000000", "10000000000000000", "请输入数值"},
      {2, "1234567890123456.5", "1234567890123456.5", "请输入数值"},
      {2, "1.5e15", "1.5e15", "请输入数值"},
      {2, "1e15", "一千万亿", none},
      {2, " 1500000000000000", " 1500000000000000", "请输入数值"},
      {2, "1500000000000000 ", "1500000000000000 ", "请输入数值"},
      {2, "15000000000000OO", "15000000000000OO", "请输入数值"},
  };
  RunItemCases(cases);
}
