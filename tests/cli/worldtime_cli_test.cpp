// Item 5 through orvex-calc on the real clock: the answer is the time at the place now,
// from China Standard Time computed from the system clock, even when the machine runs
// on another time zone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "clirun.h"

namespace {

// yyyy-M-d, two blanks, H:mm:ss of the instant t shifted to UTC+8 plus the offset.
std::string PlaceTime(std::time_t t, int offsetMinutes) {
  const std::time_t shifted = t + 8 * 3600 + offsetMinutes * 60;
  std::tm tm{};
  gmtime_r(&shifted, &tm);
  char text[64];
  std::snprintf(text, sizeof text, "%d-%d-%d  %d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

// The clock the program reads. time() may lag it by a tick across a second's edge.
std::time_t RealtimeSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return ts.tv_sec;
}

// The input line of item 5 on text, which must be the place's time at some second
// during the run.
void ExpectPlaceTime(const std::string& text, int offsetMinutes) {
  const std::time_t before = RealtimeSeconds();
  const std::string line = Calc(5, text);
  const std::time_t after = RealtimeSeconds();
  bool found = false;
  for (std::time_t t = before; t <= after && !found; ++t)
    found = line == PlaceTime(t, offsetMinutes);
  EXPECT_TRUE(found) << text << ": " << line << " (expected " << PlaceTime(before, offsetMinutes)
                     << ")";
}

struct FCase {
  const char* typed;
  int offsetMinutes;
};
const FCase Cases[] = {
    {"中国", 0},       {"China", 0},        {"CHINA", 0},    {"日本", 60},
    {"japan", 60},     {"美国", -13 * 60},  {"洛杉矶", -16 * 60}, {"德黑兰", -4 * 60 - 30},
    {"Tokyo", 60},     {"河内", -60},       {"惠灵顿", 4 * 60}, {"伦敦", -8 * 60},
};

}  // namespace

TEST(WorldTimeCli, PlacesNow) {
  for (const FCase& c : Cases) ExpectPlaceTime(c.typed, c.offsetMinutes);
}

TEST(WorldTimeCli, MachineZoneDoesNotMatter) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "America/Los_Angeles", 1);
  for (const FCase& c : Cases) ExpectPlaceTime(c.typed, c.offsetMinutes);
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
}

TEST(WorldTimeCli, NotFound) {
  for (const char* typed : {"tokyo", "", "瓦努阿图", "火星"}) {
    const FCliResult r = RunCalc({"5", typed});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(typed) + "\n") << typed;
    EXPECT_NE(r.err.find("输入的国家没找到"), std::string::npos) << typed << ": " << r.err;
  }
}
