// The shared date-time value: days since 30 December 1899, the fraction being the
// time of day. Also the clock, which tests can replace.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct FDateParts {
  int year = 0, month = 0, day = 0;
};
struct FTimeParts {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// A Gregorian date of years 1-9999.
bool IsValidDate(int year, int month, int day);
// Days since 30 December 1899 of a valid date.
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int millisecond);
// The date and time of day of a value, rounded to the millisecond.
FDateParts DecodeDate(double dateTime);
FTimeParts DecodeTime(double dateTime);
// Monday 1 ... Sunday 7 is not used: 1 Sunday ... 7 Saturday.
int DayOfWeek(double dateTime);

// Short date yyyy-M-d and long time H:mm:ss of the fixed locale.
std::string ShortDateText(double dateTime);
std::string LongTimeText(double dateTime);

// The program's short-date reader: two or three numbers joined by the locale date
// separator (blanks around them allowed, one trailing separator allowed), taken in the
// locale's short date order; two numbers are month and day (day and month where the day
// comes first) of the current year. A number stops once its value reaches 1000; a year
// written with one or two digits lies in [current year - 50, current year + 49]. The
// whole text must be read and the date must exist (years 1-9999). False, leaving value
// alone, when the text is not such a date.
bool TryStrToDate(const std::string& text, double& value);

// The clock, in milliseconds since 1970-01-01 00:00 UTC. (The engine keeps <chrono>
// out: its C++20 header holds a literal that GBK cannot encode.) SetClock replaces the
// source of the current instant (nullptr restores the system clock).
using FClock = std::function<int64_t()>;
void SetClock(FClock clock);
int64_t CurrentInstant();
// The machine's local time, and UTC, as date-time values.
double Now();
double UtcNow();
// An instant as a date-time value at the given offset from UTC, in seconds.
double InstantToDateTime(int64_t unixMs, long offsetSeconds);
int CurrentYear();
