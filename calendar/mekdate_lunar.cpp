// The lunar calendar. Solar to lunar and lunar to solar are two separate computations,
// each over its own table (SolarLunarTable and LunarMonthTable in lunar_tables.cpp).
#include <cstdlib>

#include "calendar/mekdate.h"
#include "core/mekerror.h"
#include "core/mekstr.h"

namespace {

const char* const LunarMonthNames[12] = {"一", "二", "三", "四", "五", "六",
                                         "七", "八", "九", "十", "冬", "腊"};
const char* const LunarDayNames[30] = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

uint16_t MonthWord(int year) { return LunarMonthTable[year - 1900]; }

// Lunar 2000, month 1, day 1.
const int AnchorYear = 2000;
double AnchorDate() { return EncodeDate(2000, 2, 5); }

// The signed code of a date, or an error outside the solar table's years.
int CheckedCode(double date) {
  const int code = SolarToLunarCode(date);
  if (code == 0) throw EConvertError("date outside the lunar table");
  return code;
}

}  // namespace

int LunarLeapMonth(int year) {
  const int n = MonthWord(year) & 0xF;
  return n == 15 ? 0 : n;
}

int LunarMonthDays(int year, int month) {
  return (MonthWord(year) & (0x8000 >> (month - 1))) ? 30 : 29;
}

int LunarLeapMonthDays(int year) {
  if (LunarLeapMonth(year) == 0) return 0;
  return (MonthWord(year + 1) & 0xF) == 15 ? 30 : 29;
}

int LunarYearDays(int year) {
  int days = 348;
  for (uint16_t bit = 0x8000; bit >= 0x10; bit >>= 1)
    if (MonthWord(year) & bit) ++days;
  return days + LunarLeapMonthDays(year);
}

bool IsValidLunarDate(const TLunarDate& d) {
  if (d.Year < 1901 || d.Year > 2099 || d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > 30)
    return false;
  if (d.IsLeap) return d.Month == LunarLeapMonth(d.Year) && d.Day <= LunarLeapMonthDays(d.Year);
  return d.Day <= LunarMonthDays(d.Year, d.Month);
}

double LunarToSolar(const TLunarDate& d) {
  if (!IsValidLunarDate(d)) return EncodeDate(1, 1, 1);
  const int leap = LunarLeapMonth(d.Year);
  long days = 0;
  for (int m = 1; m < d.Month; ++m) {
    days += LunarMonthDays(d.Year, m);
    if (m == leap) days += LunarLeapMonthDays(d.Year);
  }
  days += d.Day - 1;
  if (d.Month == leap && d.IsLeap) days += LunarMonthDays(d.Year, d.Month);
  for (int k = AnchorYear; k < d.Year; ++k) days += LunarYearDays(k);
  for (int k = d.Year; k < AnchorYear; ++k) days -= LunarYearDays(k);
  return AnchorDate() + days;
}

int DayOfYear(double date) {
  const FDateParts p = DecodeDate(date);
  int day = p.day;
  for (int m = 1; m < p.month; ++m) day += DaysInMonth(p.year, m);
  return day;
}

int SolarToLunarCode(double date) {
  const int year = DecodeDate(date).year;
  if (year < 1901 || year > 2050) return 0;
  const uint8_t* rec = SolarLunarTable[year - 1901];
  const int first = (rec[0] & 0x80) ? 12 : 11;
  const int firstDay = rec[0] & 0x7F;
  const int mask = rec[1] * 256 + rec[2];
  const int leap = rec[3];

  int len[16];
  int num[17];
  num[0] = first;
  for (int i = 0; i < 16; ++i) {
    len[i] = (mask & (0x8000 >> i)) ? 30 : 29;
    if (num[i] == leap)
      num[i + 1] = -leap;
    else
      num[i + 1] = std::abs(num[i]) + 1 == 13 ? 1 : std::abs(num[i]) + 1;
  }

  const int k = DayOfYear(date) - 1;
  int month, day;
  if (k <= len[0] - firstDay) {
    day = firstDay + k;
    month = num[0];
    // A leap month in progress on 1 January shows in the day before.
    if (year > 1901 && SolarToLunarCode(EncodeDate(year - 1, 12, 31)) < 0) month = -num[0];
  } else {
    int acc = len[0] - firstDay;
    int i = 1;
    while (i < 15 && k > acc + len[i]) acc += len[i++];
    month = num[i];
    day = k - acc;
  }
  return month < 0 ? -(-month * 100 + day) : month * 100 + day;
}

std::string LunarMonthText(double date) {
  const int code = CheckedCode(date);
  const char* name = LunarMonthNames[std::abs(code) / 100 - 1];
  return code < 0 ? std::string("闰") + name : std::string(name) + "月";
}

std::string LunarDayText(double date) {
  return LunarDayNames[std::abs(CheckedCode(date)) % 100 - 1];
}

std::string LunarYearText(double date) {
  const int month = std::abs(CheckedCode(date)) / 100;
  const FDateParts p = DecodeDate(date);
  const int year = month > p.month ? p.year - 1 : p.year;
  return NumberToChinese(year, false, false) + "年";
}

std::string LunarDateText(double date) {
  return LunarYearText(date) + LunarMonthText(date) + LunarDayText(date);
}
