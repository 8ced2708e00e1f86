// World time: the country table searched by name, the city table by substring.
#include "calendar/worldTime.h"

#include <cstdint>
#include <optional>

#include "core/mekdatetime.h"
#include "core/mekerror.h"
#include "core/meklocale.h"
#include "core/mekstr.h"

namespace {

const long ChinaStandardOffsetSeconds = 8 * 3600;

// The time at the given offset from China Standard Time, from one instant of the clock,
// so that date and time stay together across midnight.
double TimeAtOffset(int64_t offsetMinutes) {
  return InstantToDateTime(CurrentInstant() + offsetMinutes * 60000,
                           ChinaStandardOffsetSeconds);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Up to `most` decimal digits from pos on; nothing when there are none.
std::optional<int> ReadDigits(const std::string& text, size_t& pos, size_t most) {
  const size_t start = pos;
  int value = 0;
  while (pos < text.size() && IsDigit(text[pos]) && pos - start < most)
    value = value * 10 + (text[pos++] - '0');
  if (pos == start) return std::nullopt;
  return value;
}

// "H:MM" as a time of day (hours 0-23, minutes 0-59), in minutes.
std::optional<int> ReadTimeOfDay(const std::string& text) {
  size_t pos = 0;
  const auto h = ReadDigits(text, pos, 2);
  if (!h || pos >= text.size() || text[pos++] != TimeSeparator) return std::nullopt;
  const auto m = ReadDigits(text, pos, 2);
  if (!m || pos != text.size() || *h > 23 || *m > 59) return std::nullopt;
  return *h * 60 + *m;
}

// An optional sign, whole hours, optionally ":" and minutes; the minutes take the sign
// of the hours. In minutes.
std::optional<int> ReadSignedOffset(const std::string& text) {
  size_t pos = 0;
  int sign = 1;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
    sign = text[pos++] == '-' ? -1 : 1;
  const auto h = ReadDigits(text, pos, 3);
  if (!h) return std::nullopt;
  int minutes = 0;
  if (pos < text.size()) {
    if (text[pos++] != TimeSeparator) return std::nullopt;
    const auto m = ReadDigits(text, pos, 2);
    if (!m || pos != text.size() || *m > 59) return std::nullopt;
    minutes = *m;
  }
  return sign * (*h * 60 + minutes);
}

bool SameIgnoringAsciiCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return i == a.size() && !b[i];
}

}  // namespace

double CountryTime(const std::string& name) {
  for (const FCountryOffset& row : CountryOffsetTable) {
    if (name != row.ChineseName && !SameIgnoringAsciiCase(name, row.EnglishName)) continue;
    const std::string offset = row.Offset;
    const auto minutes = ReadTimeOfDay(offset.substr(1));
    if (!minutes) throw EConvertError("not a time: " + offset);
    return TimeAtOffset(offset[0] == '-' ? -*minutes : *minutes);
  }
  return 0;
}

double CityTime(const std::string& text) {
  double result = 0;
  if (text.empty()) return result;
  for (const char* row : CityOffsetTable) {
    // On character boundaries: two bytes that straddle two characters are no character.
    if (FindText(row, text) == std::string::npos) continue;
    const Fmekfenjiestr fields = SplitText(row, '|');
    if (fields.size() < 3) continue;
    if (const auto minutes = ReadSignedOffset(fields[2])) result = TimeAtOffset(*minutes);
  }
  return result;
}
