// Calendar computations: the lunar calendar, facts about a date, date and time
// arithmetic. Dates are the shared date-time value of core/mekdatetime.h.
#pragma once
#include <cstdint>
#include <string>

#include "core/mekdatetime.h"

// ---- Date facts and date arithmetic ----

// Facts about a date, in Chinese: "星期日" .. "星期六"; the animal of the lunar year,
// which begins on 正月初一 ("牛" for 2010-02-13, "虎" from 2010-02-14; outside 1901-2100 the
// solar year's); the solar term in effect by its real start day in China Standard Time
// ("清明" on 2025-04-19, "谷雨" from 2025-04-20; outside 1901-2100 by fixed start days,
// "清明" from 4 April); the constellation by fixed boundaries ("宝瓶座" from 19 January).
// The empty text for a value outside years 1-9999.
std::string WeekdayText(double date);
std::string AnimalText(double date);
// The year whose animal a date has: the Gregorian year in which its lunar year began
// (1989 for 1990-01-01), or the date's own year outside 1901-2100.
int AnimalYear(double date);
std::string SolarTermText(double date);
std::string ConstellationText(double date);

// date + n days.
double AddDays(double date, int32_t n);
// a - b in whole days, truncated toward zero.
int64_t DayDifference(double a, double b);
// a - b in hours (unit 1), minutes (2) or seconds (3), counting the whole seconds
// between the two instants and carrying the sign of a - b.
double TimeDifference(int unit, double a, double b);

// ---- Lunar calendar ----

// A date of the Chinese calendar. Year is the Gregorian year in which the lunar year
// begins; IsLeap marks the leap month that follows month Month.
struct TLunarDate {
  int32_t Year = 0;
  int32_t Month = 0;
  int32_t Day = 0;
  bool IsLeap = false;
};

// Month lengths and leap months of lunar years 1900-2100, one word per year (index
// year - 1900): bits 15..4 months 1..12 (set = 30 days), bits 3..0 the month after which
// the leap month comes (0 none; 15 none, and the leap month of the year before has 30
// days). Lunar to solar reads this table only.
extern const uint16_t LunarMonthTable[201];
// The lunar months covering solar years 1901-2050, one record per year (index year -
// 1901): byte 0 the month in progress on 1 January (bit 7: 12th, else 11th) and its day
// then; bytes 1-2 the lengths of sixteen months from that one on (bit 15 - i set = 30
// days); byte 3 the month followed by a leap month in the year (0 none). Solar to lunar
// reads this table only.
extern const uint8_t SolarLunarTable[150][4];

// Lookups over LunarMonthTable, for lunar years 1901-2099.
int LunarLeapMonth(int year);               // 0 = none
int LunarMonthDays(int year, int month);    // 29 or 30
int LunarLeapMonthDays(int year);           // 0, 29 or 30
int LunarYearDays(int year);
bool IsValidLunarDate(const TLunarDate& date);
// The solar date of a lunar date; 1 January of year 1 for a date that does not exist.
double LunarToSolar(const TLunarDate& date);

// The day's number in its Gregorian year, 1..366.
int DayOfYear(double date);
// The lunar month and day of a solar date of 1901-2050 as month * 100 + day, negative
// in a leap month (-501: day 1 of the leap month after month 5); 0 outside 1901-2050.
int SolarToLunarCode(double date);
// The lunar month ("五月", "闰五", "冬月", "腊月"), day ("初一" .. "三十") and year
// ("二零一零年") of a solar date, and the three together. Raise EConvertError for a date
// outside 1901-2050.
std::string LunarMonthText(double date);
std::string LunarDayText(double date);
std::string LunarYearText(double date);
std::string LunarDateText(double date);
