// Items 7, 8 and 20: days between two dates, a date some days away, and the time
// between two date-times.
#include <optional>
#include <utility>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "calendar/mekdate.h"
#include "core/mekDialogs.h"
#include "core/meklocale.h"
#include "core/mekmath.h"
#include "core/meknum.h"
#include "core/mekstr.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The trimmed text split at the first separator, both parts trimmed again. Without the
// separator the first part is empty, which no reader accepts.
std::pair<std::string, std::string> SplitAtFirst(const std::string& text, char separator) {
  const std::string t = TrimText(text);
  const size_t p = t.find(separator);
  if (p == std::string::npos) return {std::string(), t};
  return {TrimText(t.substr(0, p)), TrimText(t.substr(p + 1))};
}

// An optional sign followed by decimal digits, in the 32-bit range.
bool ReadDayCount(const std::string& text, int32_t& n) {
  const size_t start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (start == text.size()) return false;
  for (size_t i = start; i < text.size(); ++i)
    if (!IsDigit(text[i])) return false;
  return TryStrToInt(text, n);
}

// One to two digits of a time field, at most `limit`.
bool ReadTimeField(const std::string& text, size_t& i, int limit, int& value) {
  const size_t start = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i]) && i - start < 2) value = value * 10 + (text[i++] - '0');
  return i > start && value <= limit;
}

// H:mm or H:mm:ss, the whole text, as a fraction of a day.
std::optional<double> ReadTimeOfDay(const std::string& text) {
  size_t i = 0;
  int hour, minute, second = 0;
  if (!ReadTimeField(text, i, 23, hour) || i >= text.size() || text[i++] != TimeSeparator ||
      !ReadTimeField(text, i, 59, minute))
    return std::nullopt;
  if (i < text.size() && text[i] == TimeSeparator && !ReadTimeField(text, ++i, 59, second))
    return std::nullopt;
  if (i != text.size()) return std::nullopt;
  return EncodeTime(hour, minute, second, 0);
}

// A date as ReadInputDate reads it, optionally followed by a blank and a time of day;
// midnight when the time is missing. The time is added on a straight scale of days, so
// that differences across 30 December 1899 stay right.
std::optional<double> ReadInputDateTime(const TDispatcher& calc, const std::string& text) {
  const size_t colon = text.find(TimeSeparator);
  if (colon == std::string::npos) return calc.ReadInputDate(text);
  size_t hour = colon;
  while (hour > 0 && IsDigit(text[hour - 1])) --hour;
  if (hour == colon || hour == 0 || text[hour - 1] != ' ') return std::nullopt;
  const auto date = calc.ReadInputDate(text.substr(0, hour));
  const auto time = ReadTimeOfDay(text.substr(hour));
  if (!date || !time) return std::nullopt;
  return *date + *time;
}

}  // namespace

void Item7DayInterval(TDispatcher& calc) {
  calc.NormalizeDateInput();
  const auto [first, second] = SplitAtFirst(calc.Edit1Text, ' ');
  const auto a = calc.ReadInputDate(first), b = calc.ReadInputDate(second);
  if (!a || !b) {
    ShowInfo("日期输入不对，或没有用空格隔开");
    return;
  }
  const int64_t days = DayDifference(*a, *b);
  calc.Edit1Text = std::to_string(days < 0 ? -days : days);
}

void Item8DateAfterDays(TDispatcher& calc) {
  calc.NormalizeDateInput();
  const auto [first, second] = SplitAtFirst(calc.Edit1Text, ' ');
  const auto date = calc.ReadInputDate(first);
  int32_t n;
  // A result outside years 1-9999 has no date to write; refused like a wrong count.
  const bool ok = date && ReadDayCount(second, n) && DecodeDate(AddDays(*date, n)).month != 0;
  if (!ok) {
    ShowInfo("日期或天数输入不对，或没有用空格隔开");
    return;
  }
  calc.Edit1Text = ShortDateText(AddDays(*date, n));
}

void Item20TimeDifference(TDispatcher& calc) {
  calc.NormalizeDateInput();
  const auto [first, second] = SplitAtFirst(calc.Edit1Text, '#');
  const auto a = ReadInputDateTime(calc, first), b = ReadInputDateTime(calc, second);
  if (!a || !b) {
    ShowInfo("输入时间不对");
    return;
  }
  // "%.2f小时;%.1f分钟;%f秒", "%f" writing two decimals.
  calc.Edit1Text = FormatFixed(TimeDifference(1, *a, *b), 2) + "小时;" +
                   FormatFixed(TimeDifference(2, *a, *b), 1) + "分钟;" +
                   FormatFixed(TimeDifference(3, *a, *b), 2) + "秒";
}
