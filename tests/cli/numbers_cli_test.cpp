// Chinese numerals (items 2 and 3) and unit conversions (items 41 to 44) through
// orvex-calc: the input line as the user sees it.
#include "itembatch.h"

namespace {
const char* const NoNumber = "请输入数值";
const char* const BadConversion = "输入错误，格式：数值，原单位，换算单位";
}  // namespace

TEST(NumeralsCli, LowerAndUpperCase) {
  const struct {
    const char* typed;
    const char* lower;
    const char* upper;
  } rows[] = {
      {"0", "零", "零"},
      {"0.5", "零点五", "零点伍"},
      {"10", "一十", "壹拾"},
      {"20", "二十", "贰拾"},
      {"101", "一百零一", "壹佰零壹"},
      {"1010", "一千零一十", "壹仟零壹拾"},
      {"10010", "一万零一十", "壹万零壹拾"},
      {"100000", "一十万", "壹拾万"},
      {"1000100", "一百万零一百", "壹佰万零壹佰"},
      {"100000000", "一亿", "壹亿"},
      {"100000001", "一亿零一", "壹亿零壹"},
      {"100001000", "一亿零一千", "壹亿零壹仟"},
      {"100010000", "一亿零一万", "壹亿零壹万"},
      {"110000000", "一亿一千万", "壹亿壹仟万"},
      {"1234567890", "一十二亿三千四百五十六万七千八百九十", "壹拾贰亿叁仟肆佰伍拾陆万柒仟捌佰玖拾"},
      {"1234567890123", "一万二千三百四十五亿六千七百八十九万零一百二十三",
       "壹万贰仟叁佰肆拾伍亿陆仟柒佰捌拾玖万零壹佰贰拾叁"},
      {"235323.22", "二十三万五千三百二十三点二二", "贰拾叁万伍仟叁佰贰拾叁点贰贰"},
      {"１。０５", "一点零五", "壹点零伍"},  // full-width digits and 。 arrive as ASCII
      {"0.00001", "零", "零"},
      {"1e5", "一十万", "壹拾万"},
      {"+7", "七", "柒"},
      {"-101", "负一百零一", "负壹佰零壹"},
      {"-0", "零", "零"},
      {"10000000000000", "一十万亿", "壹拾万亿"},
      {"12000000000000", "一十二万亿", "壹拾贰万亿"},
      {"1e15", "一千万亿", "壹仟万亿"},
      // Exact integers below 10^16 are written from their digits as typed.
      {"9999999999999999", "九千九百九十九万九千九百九十九亿九千九百九十九万九千九百九十九",
       "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖"},
      {"1500000000000000", "一千五百万亿", "壹仟伍佰万亿"},
  };
  std::string input;
  for (const auto& r : rows) input += std::string("2\t") + r.typed + "\n3\t" + r.typed + "\n";
  const FCliResult res = RunCalc({"--batch"}, input);
  ASSERT_EQ(res.status, 0) << res.err;
  size_t start = 0, k = 0;
  for (size_t nl; (nl = res.out.find('\n', start)) != std::string::npos; start = nl + 1, ++k) {
    const auto& r = rows[k / 2];
    const auto j = nlohmann::json::parse(res.out.substr(start, nl - start));
    EXPECT_EQ(j["output"], k % 2 ? r.upper : r.lower) << r.typed;
  }
  EXPECT_EQ(k, 2 * std::size(rows));
}

TEST(NumeralsCli, RefusedNumbersKeepTheLine) {
  const FCliCase cases[] = {
      {2, "0.000015", "0.000015", NoNumber},
      {3, "0.000015", "0.000015", NoNumber},
      {2, "abc", "abc", NoNumber},
      {3, "abc", "abc", NoNumber},
      {2, "", "", NoNumber},
      {2, " 12", " 12", NoNumber},
      {2, "12 ", "12 ", NoNumber},
      {2, "1,000", "1,000", NoNumber},
      {2, "0x10", "0x10", NoNumber},
      {2, "1.5e15", "1.5e15", NoNumber},
      {3, "1e16", "1e16", NoNumber},
      {2, "-1e16", "-1e16", NoNumber},
      {2, "1e300", "1e300", NoNumber},
      {3, "1e400", "1e400", NoNumber},
      {2, "nan", "nan", NoNumber},
      {2, "inf", "inf", NoNumber},
  };
  RunCliCases(cases);
}

TEST(UnitsCli, ConversionsAndTheirMessage) {
  const char* const LengthUnitsBox =
      "目前只支持:微米,毫米,厘米,分米,米,千米,公里,寸,尺,丈,里,英寸,英尺,英里,海里";
  const char* const AreaUnitsBox = "目前只支持:公顷,平方毫米,平方厘米,平方分米,平方米,平方千米,"
                                   "平方公里,平方寸,平方尺,平方丈,平方里,亩,平方英亩,顷,分";
  const char* const MassUnitsBox = "目前只支持:克,千克,公斤,斤,两,钱,担,吨,英磅,毫克";
  const FCliCase cases[] = {
      {41, "100,米,厘米", "10000厘米", nullptr},
      {41, "1,英里,米", "1609米", nullptr},
      {41, "1,米,英尺", "3.27868852459016英尺", nullptr},
      {41, "1,海里,公里", "1.852公里", nullptr},
      {41, "1,米,寸", "30寸", nullptr},
      {42, "1,亩,平方米", "666.666666666667平方米", nullptr},
      {42, "1,公顷,亩", "15亩", nullptr},
      {42, "1,顷,亩", "100亩", nullptr},
      {42, "1,亩,分", "10分", nullptr},
      {43, "1,加仑,升", "4.546升", nullptr},
      {44, "1,斤,克", "500克", nullptr},
      {44, "1,吨,斤", "2000斤", nullptr},
      {44, "１００，克，千克", "0.1千克", nullptr},  // full-width commas and digits
      {44, "1,斤,两,extra", "10两", nullptr},  // fields after the third are ignored
      {43, "-2.5e3,毫升,升", "-2.5升", nullptr},
      // An unknown unit lists the item's units and keeps the line; blanks around a name
      // and the common names 磅 and 英亩 are read.
      {41, "100,米,公尺", "100,米,公尺", LengthUnitsBox},
      {42, "1,米,厘米", "1,米,厘米", AreaUnitsBox},  // a length is no area
      {42, "100,平米米,平米厘米", "100,平米米,平米厘米", AreaUnitsBox},
      {42, "100,平方米,平方厘米", "1000000平方厘米", nullptr},
      {42, "1,英亩,平方米", "4047平方米", nullptr},
      {42, "4047,平方米,英亩", "1平方英亩", nullptr},
      {44, "1,磅,千克", "0.454千克", nullptr},
      {44, "1,磅,米", "1,磅,米", MassUnitsBox},
      {41, "100, 米,厘米", "10000厘米", nullptr},
      {41, "100,米, 厘米 ", "10000厘米", nullptr},
      {41, "100,米", "100,米", BadConversion},
      {44, "abc,克,斤", "abc,克,斤", BadConversion},
      {44, ",克,斤", ",克,斤", BadConversion},
      {44, " 1,克,斤", " 1,克,斤", BadConversion},
      {43, "", "", BadConversion},
      // Past the double range: no inf in the line, the text stays.
      {41, "1e308,千米,微米", "1e308,千米,微米", nullptr},
  };
  RunCliCases(cases);
}
