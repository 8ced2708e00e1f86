// The date-time value and the clock.
#include "core/mekdatetime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/meklocale.h"

namespace {

// Days from 1 January of year 1 to 30 December 1899 in the proleptic Gregorian calendar.
constexpr long long DateDelta = 693593;

long long DaysFromYearOne(int year, int month, int day) {
  static const int before[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const long long y = year - 1;
  long long days = y * 365 + y / 4 - y / 100 + y / 400 + before[month] + day - 1;
  if (month > 2 && IsLeapYear(year)) ++days;
  return days;
}

// Whole days and milliseconds of the day of a value, the time part taken as its
// absolute value as the platform's decoders do for dates before 1899.
void Split(double dateTime, long long& days, long long& ms) {
  const double whole = std::trunc(dateTime);
  long long d = static_cast<long long>(whole);
  long long m = std::llround(std::fabs(dateTime - whole) * 86400000.0);
  if (m >= 86400000) {
    m -= 86400000;
    d += dateTime < 0 ? -1 : 1;
  }
  days = d;
  ms = m;
}

FClock& ClockSource() {
  static FClock clock;
  return clock;
}

// Order of the three numbers of a date, from the short date format: whichever of the
// letters d, m, y comes first.
enum class EDateOrder { MDY, DMY, YMD };

EDateOrder ShortDateOrder() {
  for (const char* p = ShortDateFormat; *p; ++p) {
    switch (*p) {
      case 'd': case 'D': return EDateOrder::DMY;
      case 'y': case 'Y': return EDateOrder::YMD;
      case 'm': case 'M': return EDateOrder::MDY;
    }
  }
  return EDateOrder::MDY;
}

struct FDateScanner {
  const std::string& s;
  size_t i = 0;

  void SkipBlanks() {
    while (i < s.size() && s[i] == ' ') ++i;
  }
  // Digits while the value so far is below 1000; the number of digit characters read.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && value < 1000) {
      value = value * 10 + (s[i] - '0');
      ++digits;
      ++i;
    }
    return digits > 0;
  }
  bool Separator() {
    SkipBlanks();
    if (i < s.size() && s[i] == DateSeparator) {
      ++i;
      return true;
    }
    return false;
  }
};

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

double EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysFromYearOne(year, month, day) - DateDelta);
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

FDateParts DecodeDate(double dateTime) {
  long long days, ms;
  Split(dateTime, days, ms);
  long long n = days + DateDelta;  // days since 1 January of year 1
  FDateParts r;
  if (n < 0 || n > 3652058) return r;  // outside years 1-9999
  const long long n400 = n / 146097;
  n %= 146097;
  long long n100 = n / 36524;
  if (n100 == 4) n100 = 3;
  n -= n100 * 36524;
  const long long n4 = n / 1461;
  n %= 1461;
  long long n1 = n / 365;
  if (n1 == 4) n1 = 3;
  n -= n1 * 365;
  r.year = static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
  int month = 1;
  while (n >= DaysInMonth(r.year, month)) n -= DaysInMonth(r.year, month++);
  r.month = month;
  r.day = static_cast<int>(n) + 1;
  return r;
}

FTimeParts DecodeTime(double dateTime) {
  long long days, ms;
  Split(dateTime, days, ms);
  FTimeParts t;
  t.hour = static_cast<int>(ms / 3600000);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.millisecond = static_cast<int>(ms % 1000);
  return t;
}

int DayOfWeek(double dateTime) {
  long long days, ms;
  Split(dateTime, days, ms);
  // 30 December 1899 was a Saturday (7).
  long long r = (days + 6) % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

std::string ShortDateText(double dateTime) {
  const FDateParts d = DecodeDate(dateTime);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d%c%d%c%d", d.year, DateSeparator, d.month, DateSeparator, d.day);
  return buf;
}

std::string LongTimeText(double dateTime) {
  const FTimeParts t = DecodeTime(dateTime);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d%c%02d%c%02d", t.hour, TimeSeparator, t.minute, TimeSeparator,
                t.second);
  return buf;
}

void SetClock(FClock clock) { ClockSource() = std::move(clock); }

int64_t CurrentInstant() {
  const FClock& c = ClockSource();
  if (c) return c();
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

double InstantToDateTime(int64_t unixMs, long offsetSeconds) {
  const long long ms = unixMs + static_cast<long long>(offsetSeconds) * 1000;
  // 1970-01-01 is day 25569 of the date-time value.
  long long day = ms / 86400000, rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --day;
  }
  return 25569.0 + static_cast<double>(day) + static_cast<double>(rest) / 86400000.0;
}

double Now() {
  const int64_t t = CurrentInstant();
  const std::time_t secs = static_cast<std::time_t>(t >= 0 ? t / 1000 : (t - 999) / 1000);
  std::tm local{};
  localtime_r(&secs, &local);
  return InstantToDateTime(t, local.tm_gmtoff);
}

double UtcNow() { return InstantToDateTime(CurrentInstant(), 0); }

int CurrentYear() { return DecodeDate(Now()).year; }

bool TryStrToDate(const std::string& text, double& value) {
  FDateScanner sc{text};
  int n1, n2, n3 = 0, d1, d2, d3 = 0;
  if (!sc.Number(n1, d1) || !sc.Separator() || !sc.Number(n2, d2)) return false;
  const EDateOrder order = ShortDateOrder();
  const int thisYear = CurrentYear();
  int year, month, day, yearDigits;
  if (sc.Separator()) {
    // A separator after the second number asks for a third one.
    if (!sc.Number(n3, d3)) return false;
    switch (order) {
      case EDateOrder::YMD: year = n1, yearDigits = d1, month = n2, day = n3; break;
      case EDateOrder::DMY: day = n1, month = n2, year = n3, yearDigits = d3; break;
      default: month = n1, day = n2, year = n3, yearDigits = d3; break;
    }
  } else {
    year = thisYear;
    yearDigits = 4;
    if (order == EDateOrder::DMY) day = n1, month = n2;
    else month = n1, day = n2;
  }
  if (yearDigits <= 2) {
    const int start = thisYear - 50;
    year += start / 100 * 100;
    if (year < start) year += 100;
  }
  sc.Separator();  // one optional trailing separator
  sc.SkipBlanks();
  if (sc.i != text.size()) return false;
  if (!IsValidDate(year, month, day)) return false;
  value = EncodeDate(year, month, day);
  return true;
}
