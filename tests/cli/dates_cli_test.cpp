// Facts about a date (items 9, 10, 11, 30) and date and time arithmetic (items 7, 8,
// 20) through orvex-calc: results, messages and the normalised input line.
#include "itembatch.h"

TEST(DateFactsCli, FactsAndMessages) {
  const char* const wrong = "输入日期不正确";
  const FCliCase cases[] = {
      {9, "2009-01-01", "星期四", nullptr},
      {9, "2010-8-1", "星期日", nullptr},
      {9, "２０１０／８／１", "星期日", nullptr},
      // The animal of the lunar year, which begins on 正月初一.
      {10, "1990-1-1", "蛇", nullptr},
      {10, "1990-1-27", "马", nullptr},
      {10, "2010-2-13", "牛", nullptr},
      {10, "2010-2-14", "虎", nullptr},
      {10, "1900-06-01", "鼠", nullptr},  // before the lunar tables: the solar year's
      {10, "2012\\6\\1", "龙", nullptr},
      // The terms' real start days in China Standard Time.
      {11, "2025-4-19", "清明", nullptr},
      {11, "2025-4-20", "谷雨", nullptr},
      {11, "2010-01-04", "冬至", nullptr},
      {11, "2010-01-05", "小寒", nullptr},
      {11, "2010-01-20", "大寒", nullptr},
      {11, "2010-12-21", "大雪", nullptr},
      {11, "2010-12-22", "冬至", nullptr},
      {11, "1999-4-4", "春分", nullptr},
      {11, "2024-4-4", "清明", nullptr},
      {11, "2101-4-4", "清明", nullptr},  // after the table: the fixed days
      {30, "2011-1-18", "摩羯座", nullptr},
      {30, "2011-1-19", "宝瓶座", nullptr},
      {30, "2011-8-23", "室女座", nullptr},
      {30, "2011-11-22", "人马座", nullptr},
      {30, "2008-2-29", "双鱼座", nullptr},
      {9, "2009/2/29", "2009-2-29", wrong},
      {10, "2009\\1\\1 10:00", "2009-1-1 10:00", wrong},
      {11, "20091-1-1", "20091-1-1", wrong},
      {9, "", "", wrong},
      {30, "2009/13/1", "2009-13-1", "日期格式不对,用“-”隔开年年月"},
      {30, "abc", "abc", "日期格式不对,用“-”隔开年年月"},
  };
  RunCliCases(cases);
}

TEST(DateArithmeticCli, DaysBetweenAndDaysAway) {
  const char* const wrong7 = "日期输入不对，或没有用空格隔开";
  const char* const wrong8 = "日期或天数输入不对，或没有用空格隔开";
  const FCliCase cases[] = {
      {7, "2009-1-1 2008-5-10", "236", nullptr},
      {7, "2008-5-10 2009-1-1", "236", nullptr},
      {7, "2009-1-1 2009-1-1", "0", nullptr},
      {7, "2008-2-28 2008-3-1", "2", nullptr},
      {7, "2009-2-28 2009-3-1", "1", nullptr},
      {7, "2000-2-28 2000-3-1", "2", nullptr},
      {7, "1900-2-28 1900-3-1", "1", nullptr},
      {7, "2009/1/1　　2008/5/10", "236", nullptr},  // ideographic blanks arrive as blanks
      {7, "2009-1-1", "2009-1-1", wrong7},
      {7, "2009/1/1,2008/5/10", "2009-1-1,2008-5-10", wrong7},
      {8, "2009-1-1 -5", "2008-12-27", nullptr},
      {8, "2009-1-1 0", "2009-1-1", nullptr},
      {8, "2008-2-28 1", "2008-2-29", nullptr},
      {8, "2009-02-28 1", "2009-3-1", nullptr},
      {8, "2009/1/1 ３６５", "2010-1-1", nullptr},
      {8, "2009-1-1 abc", "2009-1-1 abc", wrong8},
      {8, "2009-1-1", "2009-1-1", wrong8},
      {8, "9999-12-31 1", "9999-12-31 1", wrong8},
  };
  RunCliCases(cases);
}

TEST(DateArithmeticCli, TimeDifference) {
  const char* const wrong = "输入时间不对";
  const FCliCase cases[] = {
      {20, "2010-8-1 20:40#2010-7-20 10:30", "298.17小时;17890.0分钟;1073400.00秒", nullptr},
      {20, "2010-7-20 10:30#2010-8-1 20:40", "-298.17小时;-17890.0分钟;-1073400.00秒", nullptr},
      {20, "2010-8-1 20:40#2010-8-1 20:40", "0.00小时;0.0分钟;0.00秒", nullptr},
      {20, "2010-8-1 20:40:45#2010-8-1 20:40:00", "0.01小时;0.8分钟;45.00秒", nullptr},
      {20, "2010/8/1 20:40:00 # 2010/8/1 20:40:45", "-0.01小时;-0.8分钟;-45.00秒", nullptr},
      {20, "２０１０－８－１　２０：４０＃２０１０－７－２０", "308.67小时;18520.0分钟;1111200.00秒",
       nullptr},
      {20, "2010-8-1 20:40", "2010-8-1 20:40", wrong},
      {20, "2010/8/1 25:00#2010/8/1", "2010-8-1 25:00#2010-8-1", wrong},
      {20, "#", "#", wrong},
  };
  RunCliCases(cases);
}
