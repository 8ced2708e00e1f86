// Calendar computations: the lunar calendar, facts about a date, date and time
// arithmetic. Dates are the shared date-time value of core/mekdatetime.h.
#pragma once
#include <cstdint>
#include <string>

#include "core/mekdatetime.h"

// ---- Date facts and date arithmetic ----

// Facts about a date, in Chinese: "星期日" .. "星期六"; the animal of the solar year
// ("虎" for every day of 2010); the solar term in effect by fixed start days ("清明" from
// 4 April); the constellation by fixed boundaries ("宝瓶座" from 19 January). The empty
// text for a value outside years 1-9999.
std::string WeekdayText(double date);
std::string AnimalText(double date);
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
