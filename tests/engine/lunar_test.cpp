// The lunar calendar: table lookups, and a walk over every day of 1901-2050 that checks
// the two conversions, built on separate tables, against each other.
#include <gtest/gtest.h>

#include <cstdlib>

#include "calendar/mekdate.h"
#include "core/mekerror.h"

TEST(LunarTables, KnownRows) {
  const struct {
    int year;
    uint16_t word;
  } words[] = {{1900, 0x4BD8}, {1906, 0x5554}, {1907, 0x56AF}, {2000, 0xC960},
               {2020, 0x7954}, {2021, 0x6AA0}, {2099, 0xF252}, {2100, 0xD520}};
  for (const auto& w : words) EXPECT_EQ(LunarMonthTable[w.year - 1900], w.word) << w.year;
  const struct {
    int year;
    uint8_t bytes[4];
  } records[] = {{1901, {0x0B, 0x52, 0xBA, 0x00}}, {1903, {0x83, 0xA9, 0x37, 0x05}},
                 {2000, {0x19, 0xB2, 0x5B, 0x00}}, {2033, {0x81, 0xA5, 0x75, 0x0B}},
                 {2034, {0x0B, 0x52, 0xB6, 0x00}}, {2050, {0x88, 0x2A, 0xD8, 0x03}}};
  for (const auto& r : records)
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(SolarLunarTable[r.year - 1901][i], r.bytes[i]) << r.year << " byte " << i;
}

TEST(LunarTables, Lookups) {
  struct Case {
    int year, leap, leapDays, yearDays;
  };
  const Case cases[] = {
      {1906, 4, 30, 384}, {1907, 0, 0, 354}, {2000, 0, 0, 354}, {2009, 5, 29, 384},
      {2020, 4, 29, 384}, {2033, 11, 29, 384}, {2099, 2, 29, 384},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LunarLeapMonth(c.year), c.leap) << c.year;
    EXPECT_EQ(LunarLeapMonthDays(c.year), c.leapDays) << c.year;
    EXPECT_EQ(LunarYearDays(c.year), c.yearDays) << c.year;
  }
  EXPECT_EQ(LunarMonthDays(2010, 1), 30);
  EXPECT_EQ(LunarMonthDays(2010, 2), 29);
}

TEST(LunarTables, YearLengthsMatchNewYears) {
  // The length of lunar year Y is the distance between its new year and the next.
  for (int y = 1901; y < 2099; ++y) {
    const double a = LunarToSolar({y, 1, 1, false});
    const double b = LunarToSolar({y + 1, 1, 1, false});
    EXPECT_EQ(b - a, LunarYearDays(y)) << y;
    EXPECT_GE(a, EncodeDate(y, 1, 21)) << y;
    EXPECT_LE(a, EncodeDate(y, 2, 20)) << y;
  }
}

TEST(LunarValidity, Dates) {
  struct Case {
    TLunarDate date;
    bool valid;
  };
  const Case cases[] = {
      {{2009, 5, 29, true}, true},   {{2009, 5, 30, true}, false}, {{2009, 4, 1, true}, false},
      {{2010, 2, 29, false}, true},  {{2010, 2, 30, false}, false}, {{1901, 1, 1, false}, true},
      {{1900, 12, 1, false}, false}, {{2100, 1, 1, false}, false}, {{2099, 12, 30, false}, true},
      {{2010, 0, 1, false}, false},  {{2010, 13, 1, false}, false}, {{2010, 1, 0, false}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsValidLunarDate(c.date), c.valid)
        << c.date.Year << "-" << c.date.Month << "-" << c.date.Day << " " << c.date.IsLeap;
  EXPECT_EQ(LunarToSolar({2009, 5, 1, true}), EncodeDate(2009, 6, 23));
  EXPECT_EQ(LunarToSolar({2010, 2, 30, false}), EncodeDate(1, 1, 1));
}

TEST(LunarCodes, OutsideTheTable) {
  EXPECT_EQ(SolarToLunarCode(EncodeDate(1900, 12, 31)), 0);
  EXPECT_EQ(SolarToLunarCode(EncodeDate(2051, 1, 1)), 0);
  EXPECT_THROW(LunarDateText(EncodeDate(2051, 1, 1)), EMekError);
  EXPECT_EQ(SolarToLunarCode(EncodeDate(2009, 6, 23)), -501);
  EXPECT_EQ(SolarToLunarCode(EncodeDate(2010, 8, 1)), 621);
  EXPECT_EQ(DayOfYear(EncodeDate(2008, 12, 31)), 366);
  EXPECT_EQ(DayOfYear(EncodeDate(2009, 3, 1)), 60);
}

TEST(LunarWalk, EveryDay1901To2050) {
  const double first = EncodeDate(1901, 1, 1), last = EncodeDate(2050, 12, 31);
  int prev = SolarToLunarCode(first);
  ASSERT_EQ(prev, 1111);
  // Lunar year 1900 ends on 1901-02-18; follow the year across each new year.
  int lunarYear = 1900;
  int checked = 0;
  for (double d = first + 1; d <= last; ++d) {
    const int code = SolarToLunarCode(d);
    ASSERT_NE(code, 0) << ShortDateText(d);
    const int prevCode = prev;
    prev = code;
    const int day = std::abs(code) % 100, prevDay = std::abs(prevCode) % 100;
    const bool newMonth = day == 1;
    if (newMonth) {
      ASSERT_TRUE(prevDay == 29 || prevDay == 30) << ShortDateText(d);
      ASSERT_NE(code / 100, prevCode / 100) << ShortDateText(d);
      if (code == 101) ++lunarYear;
    } else {
      ASSERT_EQ(day, prevDay + 1) << ShortDateText(d);
      ASSERT_EQ(code / 100, prevCode / 100) << ShortDateText(d);
    }
    // Lunar year 1900 lies before the lunar table's accepted years.
    if (lunarYear == 1900) continue;
    const int month = std::abs(code) / 100;
    const TLunarDate lunar{lunarYear, month, day, code < 0};
    ASSERT_EQ(LunarToSolar(lunar), d) << ShortDateText(d) << " " << code;
    ++checked;
  }
  // Every day from lunar 1901, month 1, day 1 (1901-02-19) on.
  EXPECT_EQ(checked, last - EncodeDate(1901, 2, 19) + 1);
}
