// The current date and time in other countries and cities, from fixed offsets from
// China Standard Time (standard time; daylight saving time plays no part).
#pragma once
#include <string>

// A country: its Chinese name (compared exactly), English name (compared without regard
// to ASCII case) and offset from China Standard Time: "+" or "-", hours, ":", two digits
// of minutes ("-4:30", "+1:00", "-00:00").
struct FCountryOffset {
  const char* ChineseName;
  const char* EnglishName;
  const char* Offset;
};
extern const FCountryOffset CountryOffsetTable[113];

// City rows "country|English 中文|offset": the offset in whole hours with an optional
// "-", optionally ":" and two digits of minutes ("-4:30"). Grouped Asia (46 rows),
// Europe (50), the Americas (49), Oceania (18), Africa (44). The whole row is the search
// key; a row whose offset field cannot be read is skipped.
extern const char* const CityOffsetTable[207];

// The date and time now in the country of that name; 0 when no row has the name. The
// base is China Standard Time from the system clock (UTC + 8 hours), whatever the
// machine's own time zone.
double CountryTime(const std::string& name);
// The date and time now in the last city row that contains text, starting on a character
// boundary of the row; 0 when none does (an empty text matches none).
double CityTime(const std::string& text);
