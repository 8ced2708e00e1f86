// World time (item 5) with the clock fixed, the machine's own time zone set aside, and
// the offset tables' shape.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>
#include <set>
#include <string>

#include "calendar/worldTime.h"
#include "core/mekdatetime.h"
#include "itemcases.h"

namespace {

// 2010-12-31 23:30:00 China Standard Time (15:30 UTC).
const int64_t NewYearsEveMs = (static_cast<int64_t>(EncodeDate(2010, 12, 31) - 25569.0) * 86400 +
                               15 * 3600 + 30 * 60) * 1000;

struct FFixedClock {
  FFixedClock() { SetClock([] { return NewYearsEveMs; }); }
  ~FFixedClock() { SetClock(nullptr); }
};

double ChinaTime(int day, int hour, int minute) {
  return EncodeDate(2010, 12, 31) + (day - 31) + EncodeTime(hour, minute, 0, 0);
}

}  // namespace

TEST(WorldTimeItem, CountriesThenCities) {
  FFixedClock clock;
  const char* const none = "输入的国家没找到";
  const FItemCase cases[] = {
      {5, "中国", "2010-12-31  23:30:00", nullptr},
      {5, "China", "2010-12-31  23:30:00", nullptr},
      {5, "CHINA", "2010-12-31  23:30:00", nullptr},
      {5, "日本", "2011-1-1  0:30:00", nullptr},
      {5, "japan", "2011-1-1  0:30:00", nullptr},
      {5, "东京", "2011-1-1  0:30:00", nullptr},
      {5, "Tokyo", "2011-1-1  0:30:00", nullptr},
      {5, "汤加", "2011-1-1  4:30:00", nullptr},
      {5, "美国", "2010-12-31  10:30:00", nullptr},   // the country row, not a city row
      {5, "洛杉矶", "2010-12-31  7:30:00", nullptr},
      {5, "德黑兰", "2010-12-31  19:00:00", nullptr},
      {5, "伊朗", "2010-12-31  19:00:00", nullptr},
      {5, "尼泊尔", "2010-12-31  21:15:00", nullptr},
      {5, "St. John's", "2010-12-31  12:00:00", nullptr},  // -11:30: minutes take the sign
      {5, "河内", "2010-12-31  22:30:00", nullptr},
      {5, "乌兰巴托", "2010-12-31  23:30:00", nullptr},  // extra empty fields after the offset
      {5, "|New", "2010-12-31  9:30:00", nullptr},     // New Delhi, New York, New Orleans: the last
      {5, "tokyo", "tokyo", none},                     // cities are case-sensitive
      {5, "瓦努阿图", "瓦努阿图", none},               // its row has no offset
      {5, "Chin", "Chin", none},
      // Two bytes that straddle two characters of a row are no character of it: 泄 is the
      // second byte of 中 and the first of 国, 虾 of 上 and 海, 毡 of 日 and 本.
      {5, "泄", "泄", none},
      {5, "虾", "虾", none},
      {5, "毡", "毡", none},
      {5, "", "", none},
  };
  RunItemCases(cases);
}

TEST(WorldTime, BaseIsChinaStandardTimeWhateverTheMachineZone) {
  FFixedClock clock;
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "America/New_York", 1);
  tzset();
  EXPECT_EQ(CountryTime("中国"), ChinaTime(31, 23, 30));
  EXPECT_EQ(CityTime("伦敦"), ChinaTime(31, 15, 30));
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(WorldTime, EveryRowAnswers) {
  FFixedClock clock;
  for (const FCountryOffset& row : CountryOffsetTable) {
    const double byChinese = CountryTime(row.ChineseName);
    EXPECT_NE(byChinese, 0) << row.EnglishName;
    EXPECT_EQ(CountryTime(row.EnglishName), byChinese) << row.EnglishName;
  }
  int unreadable = 0;
  for (const char* row : CityOffsetTable)
    if (CityTime(row) == 0) ++unreadable;
  EXPECT_EQ(unreadable, 1);  // the row without an offset
}

// What the look-ups rely on, whatever tzdata the tables were generated from: offsets in
// their written forms, whole quarter hours between UTC-12 and UTC+14, names unique.
TEST(WorldTime, TablesHaveTheirShape) {
  const std::regex countryOffset(R"([+-](\d{1,2}):(00|15|30|45))");
  const std::regex cityOffset(R"(-?(\d{1,2})(:(15|30|45))?)");
  std::set<std::string> names;
  for (const FCountryOffset& row : CountryOffsetTable) {
    std::cmatch m;
    ASSERT_TRUE(std::regex_match(row.Offset, m, countryOffset)) << row.EnglishName;
    EXPECT_LE(std::stoi(m[1]), row.Offset[0] == '-' ? 20 : 6) << row.EnglishName;
    EXPECT_TRUE(names.insert(row.ChineseName).second) << row.EnglishName;
    EXPECT_TRUE(names.insert(row.EnglishName).second) << row.EnglishName;
  }
  for (const char* row : CityOffsetTable) {
    const std::string text = row;
    const size_t first = text.find('|'), second = text.find('|', first + 1);
    ASSERT_NE(second, std::string::npos) << text;
    const std::string offset = text.substr(second + 1, text.find('|', second + 1) - second - 1);
    if (offset.empty()) continue;  // the one row without an offset (EveryRowAnswers)
    std::smatch m;
    ASSERT_TRUE(std::regex_match(offset, m, cityOffset)) << text;
    EXPECT_LE(std::stoi(m[1]), offset[0] == '-' ? 20 : 6) << text;
  }
}
