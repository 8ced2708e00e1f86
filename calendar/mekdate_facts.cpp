// Facts about a solar date: weekday, zodiac animal, solar term, constellation. The animal
// follows the lunar year and the solar term its real start day where the tables reach
// (1901-2100); elsewhere, and for the constellation, fixed rules over the date's year,
// month and day. A value outside years 1-9999 (DecodeDate gives month 0) has no facts:
// the empty text.
#include "calendar/datefacts_table.h"
#include "calendar/mekdate.h"

std::string WeekdayText(double date) {
  if (DecodeDate(date).month == 0) return {};
  return WeekdayNames[DayOfWeek(date) - 1];
}

std::string AnimalText(double date) {
  const FDateParts d = DecodeDate(date);
  if (d.month == 0) return {};
  return AnimalNames[(AnimalYear(date) + 8) % 12];
}

int AnimalYear(double date) {
  const FDateParts d = DecodeDate(date);
  // The lunar year begins on 正月初一; before it the date still belongs to the year
  // before. The lunar tables know the day for 1901-2099, and 2100's follows 2099's year.
  if (d.year < 1901 || d.year > 2100) return d.year;
  const double springFestival =
      d.year <= 2099 ? LunarToSolar({d.year, 1, 1, false})
                     : LunarToSolar({2099, 1, 1, false}) + LunarYearDays(2099);
  return date < springFestival ? d.year - 1 : d.year;
}

std::string SolarTermText(double date) {
  const FDateParts d = DecodeDate(date);
  if (d.month == 0) return {};
  const FSolarTermMonth& m = SolarTermMonths[d.month - 1];
  int firstDay = m.FirstDay, secondDay = m.SecondDay;
  if (d.year >= SolarTermFirstYear && d.year <= SolarTermLastYear) {
    const uint8_t* days = SolarTermDays[d.year - SolarTermFirstYear];
    firstDay = days[2 * (d.month - 1)];
    secondDay = days[2 * (d.month - 1) + 1];
  }
  if (d.day >= secondDay) return m.Second;
  if (d.day >= firstDay) return m.First;
  return SolarTermMonths[(d.month + 10) % 12].Second;  // the previous month's second term
}

std::string ConstellationText(double date) {
  const FDateParts d = DecodeDate(date);
  if (d.month == 0) return {};
  const FConstellationMonth& m = ConstellationMonths[d.month - 1];
  return d.day >= m.FirstDayOfAfter ? m.After : m.Before;
}
