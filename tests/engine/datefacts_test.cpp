// Facts about a date and items 9, 10, 11 and 30.
#include <gtest/gtest.h>

#include "app/engine/dispatcher.h"
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
  const FFactCase animals[] = {
      {2008, 5, 1, "鼠"}, {2020, 1, 1, "鼠"}, {2010, 1, 1, "虎"}, {2010, 2, 13, "虎"},
      {2010, 12, 31, "虎"}, {2012, 6, 1, "龙"}, {1900, 6, 1, "鼠"}, {1990, 1, 1, "马"},
      {1, 1, 1, "鸡"}, {9999, 1, 1, "猪"},
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

TEST(DateFacts, SolarTermOfEveryDayByTheFixedStartDays) {
  for (int year : {1900, 2009, 2010, 2012, 9999}) {
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
  EXPECT_EQ(SolarTermText(EncodeDate(2010, 1, 4)), "冬至");
  EXPECT_EQ(SolarTermText(EncodeDate(2010, 12, 20)), "大雪");
  EXPECT_EQ(SolarTermText(EncodeDate(2010, 12, 21)), "冬至");
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
      {10, "2010-1-1", "虎", nullptr},
      {10, "1990/1/1", "马", nullptr},
      {11, "2010-4-4", "清明", nullptr},
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
