// Whole-day and time-of-day arithmetic on date-time values.
#include <cmath>

#include "calendar/mekdate.h"
#include "core/meknum.h"

double AddDays(double date, int32_t n) { return date + n; }

int64_t DayDifference(double a, double b) { return static_cast<int64_t>(std::trunc(a - b)); }

double TimeDifference(int unit, double a, double b) {
  // The whole number of seconds between the two instants, a tie going to the even one.
  const double seconds = static_cast<double>(RoundHalfEven(std::fabs(a - b) * 86400.0));
  double v = seconds;
  if (unit == 1) v = seconds / 3600;
  else if (unit == 2) v = seconds / 60;
  // Instants that round to the same second give 0, never -0.
  return a < b && v != 0 ? -v : v;
}
