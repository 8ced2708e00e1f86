// Weekdays and whole-day arithmetic checked against the standard library's calendar
// over whole centuries. This file needs <chrono>, so it is compiled with UTF-8 literals:
// every text meets the engine through Utf8ToGbk.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "app/engine/dispatcher.h"
#include "calendar/mekdate.h"
#include "core/codepage.h"
#include "testutil.h"

namespace {

using namespace std::chrono;

double Encode(const year_month_day& d) {
  return EncodeDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                    static_cast<int>(static_cast<unsigned>(d.day())));
}

// yyyy-M-d with the year on four digits, so that no two-digit year window applies.
std::string Typed(const year_month_day& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%u-%u", static_cast<int>(d.year()),
                static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  return buf;
}

// The short date the items write: yyyy-M-d.
std::string Short(const year_month_day& d) {
  return std::to_string(static_cast<int>(d.year())) + "-" +
         std::to_string(static_cast<unsigned>(d.month())) + "-" +
         std::to_string(static_cast<unsigned>(d.day()));
}

const sys_days FirstDay = sys_days{year{1} / January / 1};
const sys_days LastDay = sys_days{year{9999} / December / 31};

}  // namespace

TEST(CalendarCrossCheck, WeekdayOfEveryDayOfYears1To9999) {
  // weekday::c_encoding counts from Sunday = 0, as the texts do.
  const std::string names[7] = {Utf8ToGbk("星期日"), Utf8ToGbk("星期一"), Utf8ToGbk("星期二"),
                                Utf8ToGbk("星期三"), Utf8ToGbk("星期四"), Utf8ToGbk("星期五"),
                                Utf8ToGbk("星期六")};
  for (sys_days d = FirstDay; d <= LastDay; d += days{1}) {
    const year_month_day ymd{d};
    ASSERT_EQ(WeekdayText(Encode(ymd)), names[weekday{d}.c_encoding()]) << Typed(ymd);
  }
}

TEST(CalendarCrossCheck, DayDifferenceAndAddDaysOverRandomSpans) {
  std::mt19937 rng(20100801);
  const int span = (LastDay - FirstDay).count();
  std::uniform_int_distribution<int> anyDay(0, span);
  for (int k = 0; k < 200000; ++k) {
    const sys_days a = FirstDay + days{anyDay(rng)};
    const sys_days b = FirstDay + days{anyDay(rng)};
    const year_month_day ya{a}, yb{b};
    ASSERT_EQ(DayDifference(Encode(ya), Encode(yb)), (a - b).count())
        << Typed(ya) << " " << Typed(yb);
    ASSERT_EQ(DecodeDate(AddDays(Encode(ya), (b - a).count())).day,
              static_cast<int>(static_cast<unsigned>(yb.day())));
    ASSERT_EQ(ShortDateText(AddDays(Encode(ya), (b - a).count())), Short(yb)) << Typed(ya);
  }
}

TEST(CalendarCrossCheck, ItemsSevenAndEightOverCenturies) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  std::mt19937 rng(20090101);
  // Every month boundary of four centuries, around the leap days of 1900, 2000 and 2100.
  const sys_days from = sys_days{year{1800} / January / 1};
  const sys_days to = sys_days{year{2200} / January / 1};
  std::uniform_int_distribution<int> offset(-800, 800);
  for (sys_days d = from; d < to; d += days{1}) {
    const year_month_day ymd{d};
    if (static_cast<unsigned>(ymd.day()) > 2 && ymd != year_month_day{ymd.year() / ymd.month() / last})
      continue;
    const int n = offset(rng);
    const year_month_day other{d + days{n}};

    calc.ItemIndex = 7;
    calc.Edit1Text = Typed(ymd) + " " + Typed(other);
    calc.Button20Click();
    ASSERT_EQ(calc.Edit1Text, std::to_string(n < 0 ? -n : n)) << Typed(ymd) << " " << n;

    calc.ItemIndex = 8;
    calc.Edit1Text = Typed(ymd) + " " + std::to_string(n);
    calc.Button20Click();
    ASSERT_EQ(calc.Edit1Text, Short(other)) << Typed(ymd) << " " << n;
  }
  EXPECT_TRUE(dialogs.Messages.empty());
}
