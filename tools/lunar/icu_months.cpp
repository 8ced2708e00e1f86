// Prints the first day of every month of the Chinese calendar from 1899 to 2101, as ICU
// computes it (astronomical new moons and solar terms at UTC+8), one line per month:
//   <gregorian yyyy-mm-dd> <lunar year> <month 1..12> <leap 0|1>
// The lunar year is named by the Gregorian year in which it begins.
// Built and run by tools/lunar/gen_lunar_tables.py.
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/ucal.h>

#include <cstdio>
#include <memory>

int main() {
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleTimeZone cst(8 * 3600 * 1000, icu::UnicodeString("UTC+8"));
  std::unique_ptr<icu::Calendar> chinese(
      icu::Calendar::createInstance(cst, icu::Locale("zh_CN@calendar=chinese"), status));
  std::unique_ptr<icu::Calendar> gregorian(
      icu::Calendar::createInstance(cst, icu::Locale("zh_CN@calendar=gregorian"), status));
  if (U_FAILURE(status)) {
    std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
    return 1;
  }
  // Noon at UTC+8 of every day from 1899-01-01 to 2101-12-31.
  gregorian->clear();
  gregorian->set(1899, UCAL_JANUARY, 1, 12, 0, 0);
  for (;;) {
    UDate t = gregorian->getTime(status);
    int gy = gregorian->get(UCAL_YEAR, status);
    if (gy > 2101) break;
    chinese->setTime(t, status);
    if (chinese->get(UCAL_DATE, status) == 1) {
      int extended = chinese->get(UCAL_EXTENDED_YEAR, status);
      std::printf("%04d-%02d-%02d %d %d %d\n", gy, gregorian->get(UCAL_MONTH, status) + 1,
                  gregorian->get(UCAL_DATE, status), extended - 2637,
                  chinese->get(UCAL_MONTH, status) + 1, chinese->get(UCAL_IS_LEAP_MONTH, status));
    }
    gregorian->add(UCAL_DATE, 1, status);
    if (U_FAILURE(status)) {
      std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
      return 1;
    }
  }
  return 0;
}
