// City coordinates and distance: the table's shape and fixed records, lookups by every
// name, and items 24 and 25; the table checked against its generator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "geo/mekjwd.h"
#include "itemcases.h"

namespace {

struct FBlock {
  const char* Prefix;
  int Count;
};
const FBlock Blocks[] = {
    {"安徽", 20}, {"澳门", 1},  {"北京", 1},  {"福建", 22}, {"甘肃", 13}, {"广东", 51},
    {"广西", 16}, {"贵州", 11}, {"海南", 6},  {"河北", 33}, {"河南", 36}, {"黑龙", 29},
    {"湖北", 33}, {"湖南", 29}, {"吉林", 26}, {"江苏", 39}, {"江西", 19}, {"辽宁", 29},
    {"内蒙", 19}, {"宁夏", 4},  {"青海", 3},  {"山东", 46}, {"山西", 20}, {"陕西", 13},
    {"四川", 30}, {"台湾", 1},  {"天津", 1},  {"西藏", 2},  {"香港", 1},  {"新疆", 17},
    {"云南", 15}, {"浙江", 33}, {"重庆", 5},  {"上海", 1},
};

struct FFixed {
  int Position;
  const char* Name;
  double Longitude, Latitude;
};
const FFixed Fixed[] = {
    {0, "安徽合肥", 117.17, 31.50},   {21, "北京北京市", 116.24, 39.50},
    {139, "海南三亚", 109.31, 18.10}, {239, "湖北武汉", 114.17, 30.30},
    {301, "吉林长春", 125.19, 43.50}, {313, "吉林吉林", 126.33, 43.50},
    {519, "四川成都", 104.04, 30.40}, {564, "新疆喀什", 75.59, 39.30},
    {624, "上海", 121.29, 31.14},
};

// The index of the record whose coordinates query finds, -1 when it finds none. Several
// records share coordinates, so this is the first record with them.
int Found(const std::string& query) {
  double longitude, latitude;
  if (!FindCity(query, longitude, latitude)) return -1;
  for (int i = 0; i < CityCount; ++i)
    if (CityTable[i].Longitude == longitude && CityTable[i].Latitude == latitude) return i;
  return -2;
}

int IndexOf(const std::string& name) {
  for (int i = 0; i < CityCount; ++i)
    if (name == CityTable[i].Name) return i;
  return -1;
}

// The name without its province and without a final "市" (津市 keeps it).
std::string CityPart(const std::string& name) {
  std::string city = name.size() > 4 ? name.substr(4) : name;
  if (city.size() > 2 && city != "津市" && city.substr(city.size() - 2) == "市")
    city.erase(city.size() - 2);
  return city;
}

}  // namespace

TEST(CityTable, BlocksInOrder) {
  int i = 0;
  for (const FBlock& block : Blocks) {
    for (int k = 0; k < block.Count; ++k, ++i) {
      ASSERT_LT(i, CityCount);
      EXPECT_EQ(std::string(CityTable[i].Name).substr(0, 4), block.Prefix) << i;
    }
  }
  EXPECT_EQ(i, CityCount);
  EXPECT_EQ(sizeof CityTable / sizeof CityTable[0], 625u);
}

TEST(CityTable, DegreesAndMinutesInsideChina) {
  for (const Fjwd& city : CityTable) {
    for (double v : {city.Longitude, city.Latitude}) {
      const double hundredths = std::round(v * 100);
      EXPECT_NEAR(v * 100, hundredths, 1e-6) << city.Name << " " << v;  // two decimals
      EXPECT_LT(static_cast<long>(hundredths) % 100, 60) << city.Name << " " << v;
    }
    EXPECT_TRUE(city.Longitude >= 73 && city.Longitude <= 135) << city.Name;
    EXPECT_TRUE(city.Latitude >= 18 && city.Latitude <= 54) << city.Name;
  }
}

TEST(CityTable, FixedRecords) {
  for (const FFixed& f : Fixed) {
    const Fjwd& city = CityTable[f.Position];
    EXPECT_STREQ(city.Name, f.Name);
    EXPECT_EQ(city.Longitude, f.Longitude) << f.Name;
    EXPECT_EQ(city.Latitude, f.Latitude) << f.Name;
  }
}

TEST(FindCity, EveryNameFindsItself) {
  for (int i = 0; i < CityCount; ++i) {
    const int found = Found(CityTable[i].Name);
    ASSERT_GE(found, 0) << CityTable[i].Name;
    EXPECT_EQ(CityTable[found].Longitude, CityTable[i].Longitude) << CityTable[i].Name;
    EXPECT_EQ(CityTable[found].Latitude, CityTable[i].Latitude) << CityTable[i].Name;
  }
}

// The city alone, without its province: the first record containing it wins, and for
// these that is another record (吉林 is inside 吉林长春, 北安 straddles 河北|安国).
TEST(FindCity, CityPartsFoundInAnEarlierRecord) {
  struct FElsewhere {
    const char* Record;
    const char* Finds;
  };
  const FElsewhere elsewhere[] = {
      {"黑龙北安", "河北安国"}, {"吉林吉林", "吉林长春"}, {"江苏东台", "广东台山"},
      {"江苏南通", "海南通什"}, {"辽宁鞍山", "安徽马鞍山"}, {"辽宁大连", "黑龙五大连池"},
      {"浙江东阳", "广东阳春"},
  };
  for (int i = 0; i < CityCount; ++i) {
    const std::string city = CityPart(CityTable[i].Name);
    int expected = i;
    for (const FElsewhere& e : elsewhere)
      if (CityTable[i].Name == std::string(e.Record)) expected = IndexOf(e.Finds);
    ASSERT_GE(expected, 0);
    const int found = Found(city);
    ASSERT_GE(found, 0) << city;
    EXPECT_EQ(CityTable[found].Longitude, CityTable[expected].Longitude) << city;
    EXPECT_EQ(CityTable[found].Latitude, CityTable[expected].Latitude) << city;
  }
}

TEST(FindCity, CorrectedNamesOnly) {
  const char* const corrected[] = {"广西凭祥", "河北藁城", "河北廊坊", "江苏连云港",
                                   "江苏启东", "江苏盐城", "吉林榆树", "湖北蒲圻"};
  const char* const misspelt[] = {"广西赁祥", "河北蒿城", "河北廓坊", "江苏连去港",
                                  "江苏启乐", "江苏盐在", "吉林愉树", "湖北浦圻",
                                  "赁祥",     "蒿城",     "廓坊",     "连去港",
                                  "启乐",     "盐在",     "愉树",     "浦圻"};
  for (const char* name : corrected) EXPECT_EQ(Found(name), IndexOf(name)) << name;
  for (const char* name : misspelt) EXPECT_EQ(Found(name), -1) << name;
}

TEST(FindCity, NothingFound) {
  for (const char* query : {"", "成都 ", " 成都", "火星", "四川 成都", "黑龙江哈尔滨", "内蒙古包头"})
    EXPECT_EQ(Found(query), -1) << "[" << query << "]";
}

TEST(SphereDistance, Haversine) {
  EXPECT_EQ(SphereDistance(30.4, 104.04, 30.4, 104.04), 0);
  // One degree along a meridian: 6371000 * pi / 180.
  EXPECT_NEAR(SphereDistance(31, 120, 30, 120), 111194.93, 0.01);
  EXPECT_EQ(SphereDistance(30.3, 114.17, 30.4, 104.04), SphereDistance(30.4, 104.04, 30.3, 114.17));
  EXPECT_NEAR(SphereDistance(0, 180, 0, 0), 6371000 * 3.14159265358979, 0.01);
}

TEST(CityDistance, KilometresOrZero) {
  EXPECT_NEAR(CityDistance("四川成都", "湖北武汉"), 971.78, 0.005);
  EXPECT_NEAR(CityDistance("北京", "上海"), 1035.90, 0.005);
  EXPECT_EQ(CityDistance("成都", "成都"), 0);
  EXPECT_EQ(CityDistance("", "成都"), 0);
  EXPECT_EQ(CityDistance("成都", "火星"), 0);
}

TEST(CityItems, Position) {
  const char* const none = "没有找到";
  const FItemCase cases[] = {
      {24, "成都", "经度104.04，纬度30", nullptr},
      {24, "四川成都", "经度104.04，纬度30", nullptr},
      {24, "上海", "经度121.29，纬度31", nullptr},
      {24, "安徽蚌埠", "经度117.21，纬度33", nullptr},  // latitude 32.50: a half, away from zero
      {24, "吉林", "经度125.19，纬度44", nullptr},      // 吉林长春, 43.50
      {24, "吉林吉林", "经度126.33，纬度44", nullptr},
      {24, "海", "经度117.49，纬度24", nullptr},        // 福建龙海
      {24, "湖北当阳", "经度111.46，纬度31", nullptr},  // 30.50: halves away from zero
      {24, "吉林榆树", "经度126.32，纬度45", nullptr},  // 44.50
      {24, "海南三亚", "经度109.31，纬度18", nullptr},
      {24, "新疆喀什", "经度75.59，纬度39", nullptr},
      {24, "香港", "经度114.10，纬度22", nullptr},
      {24, "成都 ", "成都 ", none},  // not trimmed
      {24, "", "", none},
      {24, "江苏盐在", "江苏盐在", none},
      {24, "Chengdu", "Chengdu", none},
  };
  RunItemCases(cases);
}

TEST(CityItems, Distance) {
  const char* const none = "没找到地名或输入不正确";
  const FItemCase cases[] = {
      {25, "四川成都 湖北武汉", "971.78公里", nullptr},
      {25, "湖北武汉 四川成都", "971.78公里", nullptr},
      {25, "北京 上海", "1035.90公里", nullptr},
      {25, "成都   武汉", "971.78公里", nullptr},
      {25, "  成都 武汉  ", "971.78公里", nullptr},
      {25, "成都 武汉 上海", "成都 武汉 上海", none},  // the second name is 武汉 上海
      {25, "成都 四川成都", "成都 四川成都", none},    // the same place: 0
      {25, "四川成都", "四川成都", none},
      {25, "四川成都 ", "四川成都 ", none},
      {25, " 湖北武汉", " 湖北武汉", none},
      {25, "成都 火星", "成都 火星", none},
      {25, "", "", none},
      {25, " ", " ", none},
  };
  RunItemCases(cases);
}

TEST(CityTable, IsWhatTheGeneratorMakes) {
  if (std::system("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  std::string root = __FILE__;
  root.erase(root.rfind("/tests/engine/"));
  // Offline: the names, their order, the block counts and the pinned records. The whole
  // table is compared by the generator's own --check, which needs the npm registry.
  const std::string command =
      "python3 '" + root + "/tools/geo/gen_city_table.py' --check --offline";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}
