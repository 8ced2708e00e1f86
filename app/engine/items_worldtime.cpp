// Item 5: the current date and time in a country or city.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "calendar/worldTime.h"
#include "core/mekDialogs.h"
#include "core/mekdatetime.h"

void Item5WorldTime(TDispatcher& calc) {
  double when = CountryTime(calc.Edit1Text);
  if (when == 0) when = CityTime(calc.Edit1Text);
  if (when != 0)
    calc.Edit1Text = ShortDateText(when) + "  " + LongTimeText(when);
  else
    ShowInfo("输入的国家没找到");
}
