// Item 1: solar to lunar or lunar to solar, chosen by a yes/no question.
#include <cstdio>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "calendar/mekdate.h"
#include "core/mekDialogs.h"
#include "core/mekerror.h"
#include "core/meklocale.h"
#include "core/meknum.h"
#include "core/mekstr.h"

namespace {

const char* const LunarFormatMessage = "日期格式不对";

void SolarToLunarItem(TDispatcher& calc) {
  try {
    const auto date = calc.ReadInputDate(calc.Edit1Text);
    if (!date) throw EConvertError("not a date");
    calc.Edit1Text = LunarDateText(*date);
  } catch (const EMekError&) {
    ShowInfo(LunarFormatMessage);
  }
}

// Year, month and day typed in this order whatever the locale's date order; the item
// cannot enter a leap month.
bool ReadLunarFields(const std::string& text, TLunarDate& lunar) {
  const Fmekfenjiestr fields = SplitText(text, DateSeparator);
  return fields.size() >= 3 && TryStrToInt(fields[0], lunar.Year) &&
         TryStrToInt(fields[1], lunar.Month) && TryStrToInt(fields[2], lunar.Day);
}

// A lunar date that does not exist (a 30th day of a short month, a year outside
// 1901-2099) is refused like a malformed one, rather than shown as the year 1.
void LunarToSolarItem(TDispatcher& calc) {
  TLunarDate lunar;
  if (!ReadLunarFields(calc.Edit1Text, lunar) || !IsValidLunarDate(lunar)) {
    ShowInfo(LunarFormatMessage);
    return;
  }
  const FDateParts p = DecodeDate(LunarToSolar(lunar));
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.year, p.month, p.day);
  calc.Edit1Text = text;
}

}  // namespace

// The text is asked about only when it can be read as a date in one direction or the
// other; the question then names the two calendars.
void Item1LunarSolar(TDispatcher& calc) {
  calc.NormalizeDateInput();
  TLunarDate lunar;
  if (!calc.ReadInputDate(calc.Edit1Text) && !ReadLunarFields(calc.Edit1Text, lunar)) {
    ShowInfo(LunarFormatMessage);
    return;
  }
  if (AskYesNo("公历转农历请按“是”，农历转公历请按“否”"))
    SolarToLunarItem(calc);
  else
    LunarToSolarItem(calc);
}
