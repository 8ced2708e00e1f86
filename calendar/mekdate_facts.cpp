// Facts about a solar date: weekday, zodiac animal, solar term, constellation. Each is a
// fixed rule over the date's year, month and day; no astronomy. A value outside years
// 1-9999 (DecodeDate gives month 0) has no facts: the empty text.
#include "calendar/datefacts_table.h"
#include "calendar/mekdate.h"

std::string WeekdayText(double date) {
  if (DecodeDate(date).month == 0) return {};
  return WeekdayNames[DayOfWeek(date) - 1];
}

std::string AnimalText(double date) {
  const FDateParts d = DecodeDate(date);
  if (d.month == 0) return {};
  return AnimalNames[(d.year + 8) % 12];
}

std::string SolarTermText(double date) {
  const FDateParts d = DecodeDate(date);
  if (d.month == 0) return {};
  const FSolarTermMonth& m = SolarTermMonths[d.month - 1];
  if (d.day >= m.SecondDay) return m.Second;
  if (d.day >= m.FirstDay) return m.First;
  return SolarTermMonths[(d.month + 10) % 12].Second;  // the previous month's second term
}

std::string ConstellationText(double date) {
  const FDateParts d = DecodeDate(date);
  if (d.month == 0) return {};
  const FConstellationMonth& m = ConstellationMonths[d.month - 1];
  return d.day >= m.FirstDayOfAfter ? m.After : m.Before;
}
