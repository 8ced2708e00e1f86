// Unit conversions: the factors of the four tables, unknown names, extended precision.
#include <gtest/gtest.h>

#include <cmath>

#include "core/mekmath.h"
#include "core/units_table.h"

namespace {

using FConversion = double (*)(const std::string&, const std::string&, double);

struct FConversionCase {
  FConversion convert;
  double value;
  const char* from;
  const char* to;
  const char* text;  // FormatGeneral of the result
};

}  // namespace

TEST(UnitConversion, KnownResults) {
  const FConversionCase cases[] = {
      {ConvertLength, 100, "米", "厘米", "10000"},
      {ConvertLength, 1, "英里", "米", "1609"},
      {ConvertLength, 1, "米", "英尺", "3.27868852459016"},
      {ConvertLength, 1, "英尺", "英寸", "12.007874015748"},
      {ConvertLength, 1, "海里", "公里", "1.852"},
      {ConvertLength, 1, "米", "寸", "30"},
      {ConvertLength, 1, "丈", "尺", "10"},
      {ConvertLength, 1, "里", "丈", "150"},
      {ConvertLength, 1, "千米", "微米", "1000000000"},
      {ConvertArea, 1, "亩", "平方米", "666.666666666667"},
      {ConvertArea, 1, "公顷", "亩", "15"},
      {ConvertArea, 1, "顷", "亩", "100"},
      {ConvertArea, 1, "亩", "分", "10"},
      {ConvertArea, 1, "平方丈", "平方尺", "100"},
      {ConvertArea, 1, "平方英亩", "平方米", "4047"},
      {ConvertArea, 1, "平方公里", "公顷", "100"},
      {ConvertVolume, 1, "加仑", "升", "4.546"},
      {ConvertVolume, 1, "立方分米", "毫升", "1000"},
      {ConvertVolume, 1, "立方厘米", "毫升", "1"},
      {ConvertMass, 1, "斤", "克", "500"},
      {ConvertMass, 1, "吨", "斤", "2000"},
      {ConvertMass, 1, "斤", "两", "10"},
      {ConvertMass, 1, "两", "钱", "10"},
      {ConvertMass, 1, "担", "斤", "100"},
      {ConvertMass, 1, "英磅", "克", "454"},
      {ConvertMass, 1, "克", "毫克", "1000"},
      {ConvertMass, -2.5, "公斤", "千克", "-2.5"},
      {ConvertMass, 0, "吨", "毫克", "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatGeneral(c.convert(c.from, c.to, c.value)), c.text) << c.from << c.to;
}

TEST(UnitConversion, UnknownNamesGiveMinusOne) {
  const FConversionCase cases[] = {
      {ConvertLength, 100, "米", "公尺", ""},
      {ConvertLength, 100, " 米", "厘米", ""},  // names are matched byte for byte
      {ConvertLength, 100, "米", "厘米 ", ""},
      {ConvertLength, 100, "", "米", ""},
      {ConvertArea, 1, "平方米", "米", ""},  // a length is no area
      {ConvertVolume, 1, "升", "克", ""},
      {ConvertMass, 1, "英镑", "克", ""},  // the table's name is 英磅
  };
  for (const auto& c : cases) EXPECT_EQ(c.convert(c.from, c.to, c.value), -1) << c.from << c.to;
}

TEST(UnitConversion, EveryUnitConvertsToItselfAndThroughTheBase) {
  auto check = [](FConversion convert, const auto& table, const char* base) {
    for (const FUnit& u : table) {
      EXPECT_EQ(convert(u.Name, u.Name, 7.25), 7.25) << u.Name;
      EXPECT_EQ(convert(u.Name, base, 1), u.Factor) << u.Name;
      EXPECT_NEAR(convert(base, u.Name, u.Factor), 1, 1e-15) << u.Name;
    }
  };
  check(ConvertLength, LengthUnits, "米");
  check(ConvertArea, AreaUnits, "平方米");
  check(ConvertVolume, VolumeUnits, "立方米");
  check(ConvertMass, MassUnits, "千克");
}

TEST(UnitConversion, ProductAndQuotientInExtendedPrecision) {
  // In doubles 3 * 0.1 / 0.1 is 3.0000000000000004 and 3 * 0.1 / 0.01 is
  // 30.000000000000004; held in extended precision both come out exact.
  EXPECT_EQ(ConvertLength("分米", "分米", 3), 3);
  EXPECT_EQ(ConvertLength("分米", "厘米", 3), 30);
  EXPECT_EQ(ConvertLength("分米", "寸", 3), 9);
  // Beyond the double range the result is infinite, not a wrapped number.
  EXPECT_TRUE(std::isinf(ConvertLength("千米", "微米", 1e308)));
}
