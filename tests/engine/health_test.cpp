// Health calculators (items 31, 32, 33): standard weight, food energy, daily energy, and
// the food table behind them.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/mekerror.h"
#include "everyday/food_table.h"
#include "everyday/mekshenghuo.h"
#include "itemcases.h"

TEST(StandardWeight, HalvesGoToEvenAndOutOfRangeGivesZero) {
  const struct {
    int32_t height;
    bool ok;
    int32_t man, woman;
  } cases[] = {
      {105, true, 4, 2},   {110, true, 9, 6},   {120, true, 18, 16},  // 4.5, 6.5, 15.5
      {150, true, 45, 42}, {101, true, 1, -2},  {194, true, 85, 82},
      {172, true, 65, 62}, {130, true, 27, 24}, {125, true, 22, 20},  // 22.5, 20.0
      {100, false, 0, 0},  {195, false, 0, 0},  {0, false, 0, 0},     {-172, false, 0, 0},
      {INT32_MIN, false, 0, 0}, {INT32_MAX, false, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t man = 99, woman = 99;
    EXPECT_EQ(StandardWeight(c.height, man, woman), c.ok) << c.height;
    EXPECT_EQ(man, c.man) << c.height;
    EXPECT_EQ(woman, c.woman) << c.height;
  }
}

TEST(DailyEnergy, ExactDecimalFactors) {
  const struct {
    int32_t weight, man, woman;
  } cases[] = {{11, 847, 611}, {149, 2945, 2625}, {72, 1774, 1501}, {50, 1440, 1180},
               {13, 878, 640}, {0, 680, 450},     {-10, 528, 304}};
  for (const auto& c : cases) {
    EXPECT_EQ(DailyEnergy(c.weight, true), c.man) << c.weight;
    EXPECT_EQ(DailyEnergy(c.weight, false), c.woman) << c.weight;
  }
  EXPECT_THROW(DailyEnergy(INT32_MAX, true), EConvertError);
  EXPECT_THROW(DailyEnergy(INT32_MIN, false), EConvertError);
}

TEST(FoodEnergy, LastMatchingRowDecides) {
  const struct {
    const char* name;
    int32_t grams, energy;
  } cases[] = {
      {"牛肉", 500, 490},  {"猪肝", 100, 129},  // the second 猪肝 row
      {"苹果", 100, 45},   {"兔肉", 100, 84},   {"米", 100, 106},  {"鸡", 100, 111},
      {"梨", 100, 43},     {"黑芝麻", 100, 531}, {"榨菜", 100, 29}, {"", 100, 0},  // no name is no food
      {"牛肉 ", 500, 0},   {" 牛肉", 500, 0},   {"牛", 500, 0},    {"肉", 500, 420},
      {"牛肉|98", 500, 0}, {"98", 100, 0},      {"鳄鱼", 100, 0},
      {"大米", -100, -346}, {"核桃", 1, 6},      {"核桃", -1, -6}, {"核桃", 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FoodEnergy(c.name, c.grams), c.energy) << c.name << "*" << c.grams;
}

TEST(FoodEnergy, LargeGramsMultiplyIn64BitsAndRefuseResultsBeyond32) {
  const struct {
    const char* name;
    int32_t grams, energy;
  } cases[] = {
      {"豆油", 3000000, 26970000},  // 899 x 3,000,000 would overflow a 32-bit product
      {"豆油", 238874710, 2147483642},  {"豆油", -238874710, -2147483642},
      {"豆腐脑", INT32_MAX, 214748364}, {"豆腐脑", INT32_MIN, -214748364},
  };
  for (const auto& c : cases) EXPECT_EQ(FoodEnergy(c.name, c.grams), c.energy) << c.name << "*" << c.grams;
  EXPECT_THROW(FoodEnergy("豆油", 238874711), EConvertError);
  EXPECT_THROW(FoodEnergy("豆油", -238874711), EConvertError);
  EXPECT_THROW(FoodEnergy("大米", INT32_MAX), EConvertError);
  EXPECT_EQ(FoodEnergy("鳄鱼", INT32_MAX), 0);
}

TEST(FoodTable, ShapeOrderAndSums) {
  ASSERT_EQ(FoodTable.size(), 196u);
  std::map<std::string, int> seen;
  long energySum = 0, thirdSum = 0;
  for (size_t i = 0; i < FoodTable.size(); ++i) {
    const std::string row = FoodTable[i];
    const size_t bar = row.find('|'), slash = row.find('/');
    ASSERT_TRUE(bar != std::string::npos && slash > bar + 1 && slash + 1 < row.size()) << row;
    EXPECT_EQ(row.find_first_not_of("0123456789", bar + 1), slash) << row;
    EXPECT_EQ(row.find_first_not_of("0123456789", slash + 1), std::string::npos) << row;
    const int third = std::stoi(row.substr(slash + 1));
    EXPECT_TRUE(third >= 23 && third <= 100) << row;
    energySum += std::stoi(row.substr(bar + 1));
    thirdSum += third;
    ++seen[row.substr(0, bar)];
  }
  // Transcription checks: every energy and every third number, summed.
  EXPECT_EQ(energySum, 39617);
  EXPECT_EQ(thirdSum, 17407);
  EXPECT_EQ(seen.size(), 195u);
  EXPECT_EQ(seen["猪肝"], 2);
  EXPECT_STREQ(FoodTable[61], "猪肝|203/100");
  EXPECT_STREQ(FoodTable[159], "猪肝|129/99");
  EXPECT_STREQ(FoodTable[0], "黑芝麻|531/100");
  EXPECT_STREQ(FoodTable[66], "桂鱼|117/61");
  EXPECT_STREQ(FoodTable[132], "猕猴桃|56/83");
  EXPECT_STREQ(FoodTable[195], "榨菜|29/100");
}

TEST(HealthItems, StandardWeight) {
  const char* const bad = "输入正确的身高";
  const FItemCase cases[] = {
      {31, "172", "身高172cm标准体重男65kg,女62kg", nullptr},
      {31, "105", "身高105cm标准体重男4kg,女2kg", nullptr},
      {31, " 172", "身高 172cm标准体重男65kg,女62kg", nullptr},  // the input as typed
      {31, "+172", "身高+172cm标准体重男65kg,女62kg", nullptr},
      {31, "$AC", "身高$ACcm标准体重男65kg,女62kg", nullptr},  // hexadecimal 172
      {31, "１７２", "身高172cm标准体重男65kg,女62kg", nullptr},
      // Heights outside 101..194 are refused, not shown as 0kg.
      {31, "100", "100", bad}, {31, "195", "195", bad}, {31, "-150", "-150", bad},
      {31, "99999999999", "99999999999", bad}, {31, "abc", "abc", bad},
      {31, "172 ", "172 ", bad}, {31, "172.5", "172.5", bad}, {31, "", "", bad},
  };
  RunItemCases(cases);
}

TEST(HealthItems, FoodEnergy) {
  const char* const bad = "输入内容不正确";
  const char* const NoFood = "没有找到这种食物";
  const FItemCase cases[] = {
      {32, "牛肉*500", "490千卡", nullptr},    {32, "猪肝*100", "129千卡", nullptr},
      {32, "牛肉 *500", "490千卡", nullptr},   {32, "大米*-100", "-346千卡", nullptr},
      {32, "大米*$10", "55千卡", nullptr},     {32, "大米*0x10", "55千卡", nullptr},
      {32, "大米* 100", "346千卡", nullptr},   {32, "牛肉*500 ", "490千卡", nullptr},
      // a food the table does not hold is told so, not shown as 0千卡
      {32, "鳄鱼*100", "鳄鱼*100", NoFood},    {32, "*100", "*100", NoFood},
      {32, "牛肉＊500", "490千卡", nullptr},   // the full-width star becomes "*"
      {32, "豆油*3000000", "26970000千卡", nullptr},
      {32, "牛肉*abc", "牛肉*abc", bad},       {32, "牛肉*", "牛肉*", bad},
      {32, "牛肉*5*2", "牛肉*5*2", bad},
      {32, "牛肉*3000000000", "牛肉*3000000000", bad},
      {32, "豆油*2147483647", "豆油*2147483647", bad},  // beyond 32 bits: refused
      {32, "豆油*-238874711", "豆油*-238874711", bad},
      {32, "牛肉500", "牛肉500", nullptr},     {32, "", "", nullptr},  // no "*": nothing
  };
  RunItemCases(cases);
}

TEST(HealthItems, DailyEnergy) {
  const char* const bad = "输入内容不正确";
  const char* const odd = "体重异常";
  const FItemCase cases[] = {
      {33, "72", "男需1774千卡,女需1501千卡", nullptr},
      {33, "11", "男需847千卡,女需611千卡", nullptr},
      {33, "149", "男需2945千卡,女需2625千卡", nullptr},
      {33, "$48", "男需1774千卡,女需1501千卡", nullptr},
      {33, "10", "10", odd}, {33, "150", "150", odd}, {33, "-72", "-72", odd},
      {33, "2147483647", "2147483647", odd},
      {33, "abc", "abc", bad}, {33, "72kg", "72kg", bad}, {33, "", "", bad},
      {33, "2147483648", "2147483648", bad},
  };
  RunItemCases(cases);
}
