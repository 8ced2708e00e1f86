// Items 9, 10, 11 and 30: one fact about a typed date.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "calendar/mekdate.h"
#include "core/mekDialogs.h"

namespace {

// The normalised text stays in the input line when the date cannot be read.
void DateFactItem(TDispatcher& calc, std::string (*fact)(double), const char* message) {
  calc.NormalizeDateInput();
  if (const auto date = calc.ReadInputDate(calc.Edit1Text))
    calc.Edit1Text = fact(*date);
  else
    ShowInfo(message);
}

const char* const DateMessage = "输入日期不正确";

}  // namespace

void Item9Weekday(TDispatcher& calc) { DateFactItem(calc, WeekdayText, DateMessage); }
void Item10Animal(TDispatcher& calc) { DateFactItem(calc, AnimalText, DateMessage); }
void Item11SolarTerm(TDispatcher& calc) { DateFactItem(calc, SolarTermText, DateMessage); }
void Item30Constellation(TDispatcher& calc) {
  DateFactItem(calc, ConstellationText, "日期格式不对,用“-”隔开年年月");
}
