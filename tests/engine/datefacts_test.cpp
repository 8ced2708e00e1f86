// Facts about a date and items 9, 10, 11 and 30.
#include <gtest/gtest.h>

#include "app/engine/dispatcher.h"
#include "calendar/datefacts_table.h"
#include "calendar/mekdate.h"
#include "itemcases.h"

namespace {

struct FFactCase {
  int year, month, day;
  const char* text;
};

// The two terms starting in each month, January first, with their start days.
struct FTermRow {
  int firstDay;
  const char* first;
  int secondDay;
  const char* second;
};
const FTermRow TermRows[12] = {
    {5, "小寒", 20, "大寒"}, {3, "立春", 18, "雨水"}, {5, "惊蛰", 20, "春分"},
    {4, "清明", 19, "谷雨"}, {5, "立夏", 20, "小满"}, {5, "芒种", 21, "夏至"},
    {6, "小暑", 22, "大暑"}, {7, "立秋", 22, "处暑"}, {7, "白露", 22, "秋分"},
    {8, "寒露", 23, "霜降"}, {7, "立冬", 22, "小雪"}, {6, "大雪", 21, "冬至"},
};

}  // namespace

TEST(DateFacts, Examples) {
  const FFactCase weekdays[] = {
      {2009, 1, 1, "星期四"}, {2010, 8, 1, "星期日"}, {1899, 12, 30, "星期六"},
      {1, 1, 1, "星期一"},   {9999, 12, 31, "星期五"}, {1582, 10, 15, "星期五"},
  };
  for (const auto& c : weekdays)
    EXPECT_EQ(WeekdayText(EncodeDate(c.year, c.month, c.day)), c.text) << c.year;
  // The animal of the lunar year, which begins on 正月初一; outside the lunar tables
  // (1901-2100) the solar year's.
  const FFactCase animals[] = {
      {2008, 5, 1, "鼠"},  {2020, 1, 1, "猪"},  {2020, 1, 25, "鼠"}, {2010, 1, 1, "牛"},
      {2010, 2, 13, "牛"}, {2010, 2, 14, "虎"}, {2010, 12, 31, "虎"}, {2012, 6, 1, "龙"},
      {1990, 1, 1, "蛇"},  {1990, 1, 26, "蛇"}, {1990, 1, 27, "马"}, {1901, 1, 1, "鼠"},
      {1901, 2, 19, "牛"}, {2100, 1, 1, "羊"},  {2100, 2, 9, "猴"},  {1900, 6, 1, "鼠"},
      {2101, 1, 1, "鸡"},  {1, 1, 1, "鸡"},     {9999, 1, 1, "猪"},
  };
  for (const auto& c : animals)
    EXPECT_EQ(AnimalText(EncodeDate(c.year, c.month, c.day)), c.text) << c.year;
  const FFactCase signs[] = {
      {2010, 1, 18, "摩羯座"}, {2010, 1, 19, "宝瓶座"}, {2010, 8, 23, "室女座"},
      {2010, 11, 22, "人马座"}, {2008, 2, 29, "双鱼座"}, {2010, 12, 22, "摩羯座"},
      {2010, 12, 31, "摩羯座"}, {2010, 1, 1, "摩羯座"},
  };
  for (const auto& c : signs)
    EXPECT_EQ(ConstellationText(EncodeDate(c.year, c.month, c.day)), c.text) << c.month << c.day;
}

// 1901-2100: every term begins on its real start day, the day before still belongs to the
// term before; the table's days lie where the terms can fall (a 3..9 and a 18..24 per
// month), and the telling rows hold.
TEST(DateFacts, SolarTermOfEveryDayByTheRealStartDays) {
  for (int year = 1901; year <= 2100; ++year) {
    const uint8_t* days = SolarTermDays[year - 1901];
    for (int k = 0; k < 24; ++k) {
      const int month = k / 2 + 1;
      ASSERT_TRUE(k % 2 ? days[k] >= 18 && days[k] <= 24 : days[k] >= 3 && days[k] <= 9)
          << year << " term " << k;
      const FTermRow& row = TermRows[month - 1];
      const char* term = k % 2 ? row.second : row.first;
      const char* before = k % 2 ? row.first : TermRows[(month + 10) % 12].second;
      ASSERT_EQ(SolarTermText(EncodeDate(year, month, days[k])), term) << year << " " << term;
      ASSERT_EQ(SolarTermText(EncodeDate(year, month, days[k] - 1)), before) << year << " " << term;
    }
  }
  const struct {
    int year;
    uint8_t days[24];
  } rows[] = {
      {1901, {6, 21, 4, 19, 6, 21, 5, 21, 6, 22, 6, 22, 8, 23, 8, 24, 8, 24, 9, 24, 8, 23, 8, 22}},
      {2025, {5, 20, 3, 18, 5, 20, 4, 20, 5, 21, 5, 21, 7, 22, 7, 23, 7, 23, 8, 23, 7, 22, 7, 21}},
      {2100, {5, 20, 4, 18, 5, 20, 5, 20, 5, 21, 5, 21, 7, 23, 7, 23, 7, 23, 8, 23, 7, 22, 7, 22}},
  };
  for (const auto& r : rows)
    for (int k = 0; k < 24; ++k) EXPECT_EQ(SolarTermDays[r.year - 1901][k], r.days[k]) << r.year << " " << k;
  EXPECT_EQ(SolarTermText(EncodeDate(2025, 4, 19)), "清明");
  EXPECT_EQ(SolarTermText(EncodeDate(2025, 4, 20)), "谷雨");
}

// Outside 1901-2100 the same start days hold in every year.
TEST(DateFacts, SolarTermOfEveryDayByTheFixedStartDays) {
  for (int year : {1, 1900, 2101, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      const FTermRow& row = TermRows[month - 1];
      const char* before = TermRows[(month + 10) % 12].second;
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const char* want = day >= row.secondDay ? row.second
                           : day >= row.firstDay ? row.first
                                                 : before;
        ASSERT_EQ(SolarTermText(EncodeDate(year, month, day)), want)
            << year << "-" << month << "-" << day;
      }
    }
  }
}

TEST(DateFacts, ConstellationBoundaries) {
  // The first day of each sign, and the sign of the day before it.
  const struct {
    int month, day;
    const char* before;
    const char* from;
  } starts[] = {
      {1, 19, "摩羯座", "宝瓶座"}, {2, 18, "宝瓶座", "双鱼座"}, {3, 20, "双鱼座", "白羊座"},
      {4, 20, "白羊座", "金牛座"}, {5, 21, "金牛座", "双子座"}, {6, 22, "双子座", "巨蟹座"},
      {7, 23, "巨蟹座", "狮子座"}, {8, 23, "狮子座", "室女座"}, {9, 24, "室女座", "天秤座"},
      {10, 24, "天秤座", "天蝎座"}, {11, 22, "天蝎座", "人马座"}, {12, 22, "人马座", "摩羯座"},
  };
  for (const auto& s : starts) {
    EXPECT_EQ(ConstellationText(EncodeDate(2011, s.month, s.day - 1)), s.before) << s.month;
    EXPECT_EQ(ConstellationText(EncodeDate(2011, s.month, s.day)), s.from) << s.month;
    EXPECT_EQ(ConstellationText(EncodeDate(2011, s.month, 1)), s.before) << s.month;
    EXPECT_EQ(ConstellationText(EncodeDate(2011, s.month, DaysInMonth(2011, s.month))), s.from);
  }
}

TEST(DateFacts, ValuesOutsideTheCalendarHaveNoFacts) {
  for (double v : {-693594.0, 2958466.0, 1e9}) {
    EXPECT_EQ(WeekdayText(v), "") << v;
    EXPECT_EQ(AnimalText(v), "") << v;
    EXPECT_EQ(SolarTermText(v), "") << v;
    EXPECT_EQ(ConstellationText(v), "") << v;
  }
  // The time of day does not matter.
  EXPECT_EQ(WeekdayText(EncodeDate(2009, 1, 1) + 0.999), "星期四");
}

TEST(DateFactItems, ResultsMessagesAndTheNormalisedLine) {
  const FItemCase cases[] = {
      {9, "2009-1-1", "星期四", nullptr},
      {9, "2009/1/1", "星期四", nullptr},
      {9, "2009\\1\\1", "星期四", nullptr},
      {9, "２００９－１－１", "星期四", nullptr},
      {9, " 2009 - 1 - 1 ", "星期四", nullptr},
      {10, "2010-1-1", "牛", nullptr},
      {10, "1990/1/1", "蛇", nullptr},
      {11, "2010-4-4", "春分", nullptr},  // 清明 began on 5 April 2010
      {11, "2010-4-5", "清明", nullptr},
      {30, "2000-3-1", "双鱼座", nullptr},
      {9, "2009/2/29", "2009-2-29", "输入日期不正确"},
      {10, "abc", "abc", "输入日期不正确"},
      {11, "2009-1-1 10:00", "2009-1-1 10:00", "输入日期不正确"},
      {11, "", "", "输入日期不正确"},
      {30, "2009/13/1", "2009-13-1", "日期格式不对,用“-”隔开年年月"},
      {30, "3月1日", "3月1日", "日期格式不对,用“-”隔开年年月"},
  };
  RunItemCases(cases);
}
