// The fixed texts behind the facts about a date: weekdays, zodiac animals, the start
// days of the solar terms and the boundaries of the constellations.
#pragma once
#include <array>

// Sunday first, as DayOfWeek counts (1 Sunday .. 7 Saturday).
extern const std::array<const char*, 7> WeekdayNames;
// Rat first; the animal of year Y is AnimalNames[(Y + 8) mod 12].
extern const std::array<const char*, 12> AnimalNames;

// The two solar terms that start in a month, with their start days. The days before
// the first start still belong to the previous month's second term.
struct FSolarTermMonth {
  int FirstDay;
  const char* First;
  int SecondDay;
  const char* Second;
};
// January first.
extern const std::array<FSolarTermMonth, 12> SolarTermMonths;

// A month's two signs: Before up to the day before FirstDayOfAfter, After from it on.
struct FConstellationMonth {
  const char* Before;
  int FirstDayOfAfter;
  const char* After;
};
// January first.
extern const std::array<FConstellationMonth, 12> ConstellationMonths;
