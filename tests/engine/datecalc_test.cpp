// Day and time arithmetic and items 7, 8 and 20.
#include <gtest/gtest.h>

#include <cmath>

#include "app/engine/dispatcher.h"
#include "calendar/mekdate.h"
#include "itemcases.h"

namespace {

const double Second = 1.0 / 86400;

}  // namespace

TEST(DateArithmetic, TimeDifferenceCountsWholeSeconds) {
  const double t = EncodeDate(2010, 8, 1) + EncodeTime(20, 40, 0, 0);
  const struct {
    double a, b;
    double hours, minutes, seconds;
  } cases[] = {
      {t, t, 0, 0, 0},
      {t + 45 * Second, t, 0.0125, 0.75, 45},
      {t, t + 45 * Second, -0.0125, -0.75, -45},
      {t + 3600 * Second, t, 1, 60, 3600},
      // Half a second is a tie (exact near day 0): to the even neighbour.
      {0.5 * Second, 0, 0, 0, 0},
      {1.5 * Second, 0, 2.0 / 3600, 2.0 / 60, 2},
      {2.5 * Second, 0, 2.0 / 3600, 2.0 / 60, 2},
      {0, 2.5 * Second, -2.0 / 3600, -2.0 / 60, -2},
      {0, 3.5 * Second, -4.0 / 3600, -4.0 / 60, -4},
      {t + 2.4 * Second, t, 2.0 / 3600, 2.0 / 60, 2},
      {t + 2.6 * Second, t, 3.0 / 3600, 3.0 / 60, 3},
      {EncodeDate(9999, 12, 31), EncodeDate(1, 1, 1), 3652058.0 * 24, 3652058.0 * 1440,
       3652058.0 * 86400},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(TimeDifference(1, c.a, c.b), c.hours) << c.seconds;
    EXPECT_DOUBLE_EQ(TimeDifference(2, c.a, c.b), c.minutes) << c.seconds;
    EXPECT_DOUBLE_EQ(TimeDifference(3, c.a, c.b), c.seconds) << c.seconds;
  }
  // Instants that round to the same second are equal: no negative zero.
  for (double gap : {0.0, 1e-10, 0.4 * Second})
    for (int unit : {1, 2, 3}) EXPECT_FALSE(std::signbit(TimeDifference(unit, t, t + gap)));
}

TEST(DateArithmetic, DaysAddedAndBetween) {
  EXPECT_EQ(AddDays(EncodeDate(2008, 2, 28), 1), EncodeDate(2008, 2, 29));
  EXPECT_EQ(AddDays(EncodeDate(2009, 1, 1), -5), EncodeDate(2008, 12, 27));
  EXPECT_EQ(AddDays(EncodeDate(1899, 12, 30), -1), EncodeDate(1899, 12, 29));
  EXPECT_EQ(DayDifference(EncodeDate(2009, 1, 1), EncodeDate(2008, 5, 10)), 236);
  EXPECT_EQ(DayDifference(EncodeDate(2008, 5, 10), EncodeDate(2009, 1, 1)), -236);
  // Truncated toward zero, whole days of a longer span only.
  EXPECT_EQ(DayDifference(1.9, 0), 1);
  EXPECT_EQ(DayDifference(0, 1.9), -1);
  EXPECT_EQ(DayDifference(-0.5, 0.4), 0);
}

TEST(DateCalcItems, DaysBetweenTwoDates) {
  FNoonClock clock(2009);
  const FItemCase cases[] = {
      {7, "2009-1-1 2008-5-10", "236", nullptr},
      {7, "2008-5-10 2009-1-1", "236", nullptr},
      {7, "2009-1-1 2009-1-1", "0", nullptr},
      {7, "2008-2-28 2008-3-1", "2", nullptr},
      {7, "2009-2-28 2009-3-1", "1", nullptr},
      {7, "  2009/1/1    2008\\5\\10\t", "236", nullptr},
      {7, "1-1 12-31", "364", nullptr},  // two numbers: this year
      {7, "09-1-1 59-1-1", "18263", nullptr},  // 2009 and 1959
      {7, "0001-1-1 9999-12-31", "3652058", nullptr},
      {7, "2009-1-1", "2009-1-1", "日期输入不对，或没有用空格隔开"},
      {7, "2009/1/1", "2009-1-1", "日期输入不对，或没有用空格隔开"},
      {7, "2009-1-1 2009-2-29", "2009-1-1 2009-2-29", "日期输入不对，或没有用空格隔开"},
      {7, "2009 - 1 - 1 2008-5-10", "2009 - 1 - 1 2008-5-10", "日期输入不对，或没有用空格隔开"},
      {7, "", "", "日期输入不对，或没有用空格隔开"},
  };
  RunItemCases(cases);
}

TEST(DateCalcItems, DateSomeDaysAway) {
  FNoonClock clock(2009);
  const FItemCase cases[] = {
      {8, "2009-1-1 -5", "2008-12-27", nullptr},
      {8, "2009-1-1 0", "2009-1-1", nullptr},
      {8, "2008-2-28 1", "2008-2-29", nullptr},
      {8, "2009-2-28 +1", "2009-3-1", nullptr},
      {8, "2009/01/01    365", "2010-1-1", nullptr},
      {8, "0001-1-1 3652058", "9999-12-31", nullptr},
      {8, "9999-12-31 -3652058", "1-1-1", nullptr},
      {8, "2009-1-1 abc", "2009-1-1 abc", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 1.5", "2009-1-1 1.5", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 $10", "2009-1-1 $10", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 0x10", "2009-1-1 0x10", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 -", "2009-1-1 -", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 2147483648", "2009-1-1 2147483648", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1", "2009-1-1", "日期或天数输入不对，或没有用空格隔开"},
      // Past year 9999 or before year 1 there is no date to write.
      {8, "9999-12-31 1", "9999-12-31 1", "日期或天数输入不对，或没有用空格隔开"},
      {8, "0001-1-1 -1", "0001-1-1 -1", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 2147483647", "2009-1-1 2147483647", "日期或天数输入不对，或没有用空格隔开"},
      {8, "2009-1-1 -2147483648", "2009-1-1 -2147483648", "日期或天数输入不对，或没有用空格隔开"},
  };
  RunItemCases(cases);
}

TEST(DateCalcItems, TimeBetweenTwoDateTimes) {
  FNoonClock clock(2010);
  const char* const wrong = "输入时间不对";
  const FItemCase cases[] = {
      {20, "2010-8-1 20:40#2010-7-20 10:30", "298.17小时;17890.0分钟;1073400.00秒", nullptr},
      {20, "2010-7-20 10:30#2010-8-1 20:40", "-298.17小时;-17890.0分钟;-1073400.00秒", nullptr},
      {20, "2010-8-1 20:40#2010-8-1 20:40", "0.00小时;0.0分钟;0.00秒", nullptr},
      {20, "2010-8-1 20:40:45#2010-8-1 20:40", "0.01小时;0.8分钟;45.00秒", nullptr},
      {20, "2010-8-1 20:40:45 # 2010-8-1 20:40:00", "0.01小时;0.8分钟;45.00秒", nullptr},
      {20, "2010-8-2#2010-8-1", "24.00小时;1440.0分钟;86400.00秒", nullptr},
      {20, "2010/8/2 0:0#2010/8/1 23:59:59", "0.00小时;0.0分钟;1.00秒", nullptr},
      {20, "8-2 6:00#8-1  18:00", "12.00小时;720.0分钟;43200.00秒", nullptr},
      // Across 30 December 1899 the day count changes sign; the difference must not.
      {20, "1899-12-30 6:00#1899-12-29 18:00", "12.00小时;720.0分钟;43200.00秒", nullptr},
      {20, "2010-8-1 20:40", "2010-8-1 20:40", wrong},
      {20, "2010-8-1 24:00#2010-8-1", "2010-8-1 24:00#2010-8-1", wrong},
      {20, "2010-8-1 20:60#2010-8-1", "2010-8-1 20:60#2010-8-1", wrong},
      {20, "2010-8-1 20:40:60#2010-8-1", "2010-8-1 20:40:60#2010-8-1", wrong},
      {20, "2010-8-120:40#2010-8-1", "2010-8-120:40#2010-8-1", wrong},
      {20, "20:40#2010-8-1", "20:40#2010-8-1", wrong},
      {20, "2010-8-1 20:40:#2010-8-1", "2010-8-1 20:40:#2010-8-1", wrong},
      {20, "2010-8-1 20:4x#2010-8-1", "2010-8-1 20:4x#2010-8-1", wrong},
      {20, "2010-8-1 120:40#2010-8-1", "2010-8-1 120:40#2010-8-1", wrong},
      {20, "2010-2-29#2010-3-1", "2010-2-29#2010-3-1", wrong},
      {20, "#", "#", wrong},
  };
  RunItemCases(cases);
}
