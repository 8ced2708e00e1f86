// The strict readers of integer and number text, and rounding half to even.
#include <gtest/gtest.h>

#include <cmath>

#include "core/mekerror.h"
#include "core/meknum.h"

TEST(StrToInt, AcceptsAndRefuses) {
  struct {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {"0", true, 0},          {"123", true, 123},       {"  -45", true, -45},
      {"+7", true, 7},         {"$1F", true, 31},        {"x10", true, 16},
      {"X10", true, 16},       {"0x7fffffff", true, 2147483647},
      {"-0x80000000", true, -2147483647 - 1},            {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},            {"2147483648", false, 0},
      {"-2147483649", false, 0},                         {"0x80000000", false, 0},
      {"", false, 0},          {" ", false, 0},          {"-", false, 0},
      {"12 ", false, 0},       {"1.5", false, 0},        {"12a", false, 0},
      {"0x", false, 0},        {"$", false, 0},          {"0xG", false, 0},
      {"--1", false, 0},       {"\t1", false, 0},        {"99999999999999999999", false, 0},
      {"１２", false, 0},
  };
  for (const auto& c : cases) {
    int32_t v = -1;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      EXPECT_THROW(StrToInt(c.text), EConvertError) << c.text;
    }
  }
}

TEST(StrToFloat, AcceptsAndRefuses) {
  struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"0", true, 0},         {"1.5", true, 1.5},     {"-2.25", true, -2.25},
      {"+3", true, 3},        {".5", true, 0.5},      {"5.", true, 5},
      {"1e3", true, 1000},    {"1E-2", true, 0.01},   {"2.5e+2", true, 250},
      {"235323.22", true, 235323.22},                 {"1e-400", true, 0},
      {"0e999999999999", true, 0},                    {"1.7976931348623157e308", true, 1.7976931348623157e308},
      {"", false, 0},         {".", false, 0},        {"-", false, 0},
      {"e5", false, 0},       {"1e", false, 0},       {"1e+", false, 0},
      {" 1", false, 0},       {"1 ", false, 0},       {"1,5", false, 0},
      {"inf", false, 0},      {"nan", false, 0},      {"0x1p3", false, 0},
      {"1.2.3", false, 0},    {"1e309", false, 0},    {"-1e400", false, 0},
      {"1e99999999999999999999", false, 0},           {"--1", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(v, c.value) << c.text;
    else EXPECT_THROW(StrToFloat(c.text), EConvertError) << c.text;
  }
  EXPECT_EQ(StrToFloat(std::string(300, '9') + "e-290"), 1e10);
}

TEST(RoundHalfEven, TiesGoToEven) {
  struct {
    double in;
    int64_t out;
  } cases[] = {{4.5, 4}, {5.5, 6}, {-4.5, -4}, {-5.5, -6}, {0.5, 0}, {1.5, 2},
               {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {1e15 + 0.5, 1000000000000000}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
  EXPECT_THROW(RoundHalfEven(1e19), EConvertError);
  EXPECT_THROW(RoundHalfEven(std::nan("")), EConvertError);
}
