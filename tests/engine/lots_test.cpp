// Drawing lots (items 48 and 49) and the shuffled positions of Tmekzj.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "core/mekrandom.h"
#include "core/mekstr.h"
#include "everyday/mekzj.h"
#include "itemcases.h"

namespace {

// Steps of the generator from one state to another (searched up to limit steps), -1 if
// the second is not reached.
int64_t StepsBetween(uint32_t from, uint32_t to, int64_t limit) {
  for (int64_t k = 0; k <= limit; ++k, from = RandStep(from))
    if (from == to) return k;
  return -1;
}

// A seed after which Random(100) gives r.
uint32_t SeedFor(int32_t r) {
  for (uint32_t seed = 1;; ++seed)
    if (RandDraw(RandStep(seed), 100) == r) return seed;
}

// The shuffle drawn with Random itself, one call at a time: a, then b, then the swap.
std::vector<int32_t> PlainShuffle(std::vector<int32_t> items, int32_t count) {
  const int64_t swaps = int64_t{Random(100) + 1} * count * 188 + 1;
  for (int64_t k = 0; k < swaps; ++k) {
    const int32_t a = Random(count) + 1;
    const int32_t b = Random(count) + 1;
    std::swap(items[a], items[b]);
  }
  return items;
}

std::string RunItem(int item, const std::string& typed) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = item;
  calc.Edit1Text = typed;
  calc.Button20Click();
  EXPECT_TRUE(dialogs.Messages.empty()) << typed;
  return calc.Edit1Text;
}

// Runs item on typed until every text of wanted has come out (at most runs times);
// every result must be one of allowed. Item 49 re-seeds from the clock on each run, so
// the runs go on until the clock has given enough seeds.
std::set<std::string> Outcomes(int item, const std::string& typed,
                               const std::set<std::string>& allowed, int runs) {
  std::set<std::string> seen;
  for (int i = 0; i < runs && seen.size() < allowed.size(); ++i) {
    const std::string result = RunItem(item, typed);
    EXPECT_TRUE(allowed.count(result)) << typed << " gave [" << result << "]";
    seen.insert(result);
  }
  return seen;
}

}  // namespace

TEST(Tmekzj, CreateLimitsAndPresetRule) {
  const struct {
    int32_t size, preset;
    std::vector<int32_t> slots;  // slots 1..Count
  } cases[] = {
      {5, 0, {1, 2, 3, 4, 5}},  {5, 2, {1, 1, 3, 4, 5}},  {5, 4, {1, 1, 1, 1, 5}},
      {5, 5, {1, 2, 3, 4, 5}},  {5, 9, {1, 2, 3, 4, 5}},  {5, -1, {1, 2, 3, 4, 5}},
      {1, 0, {1}},              {1, 1, {1}},              {0, 0, {1}},
      {-7, 3, {1}},             {INT32_MIN, 0, {1}},
  };
  for (const auto& c : cases) {
    const Tmekzj lots(c.size, c.preset);
    EXPECT_EQ(lots.Count, static_cast<int32_t>(c.slots.size())) << c.size;
    EXPECT_EQ(lots.Cursor, 0);
    EXPECT_EQ(std::vector<int32_t>(lots.Items.begin() + 1, lots.Items.end()), c.slots)
        << c.size << " " << c.preset;
  }
}

TEST(Tmekzj, CreateReseedsFromTheClock) {
  RandSeed(0xFFFFFFFFu);  // no time of day in milliseconds
  const Tmekzj lots(3, 0);
  EXPECT_LT(RandState(), 86400000u);
}

TEST(Tmekzj, NextHandsOutCountValuesThenMinusOne) {
  for (int32_t n : {1, 3, 1000}) {
    Tmekzj lots(n, 0);
    lots.Shuffle();
    std::vector<int32_t> got;
    for (int32_t i = 0; i < n; ++i) got.push_back(lots.Next());
    EXPECT_EQ(lots.Cursor, n);
    EXPECT_EQ(lots.Next(), -1) << n;
    EXPECT_EQ(lots.Next(), -1) << n;
    std::sort(got.begin(), got.end());
    std::vector<int32_t> all(n);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(got, all) << n;
    lots.Shuffle();  // resets the cursor
    EXPECT_EQ(lots.Cursor, 0);
    EXPECT_NE(lots.Next(), -1);
  }
}

TEST(Tmekzj, ShuffleDrawsExactlyAsTheSwapRuleWithRandom) {
  for (int32_t n : {1, 2, 3, 7, 50, 333}) {
    for (uint32_t seed : {1u, 42u, 86399999u, 0xDEADBEEFu}) {
      Tmekzj lots(n, n > 3 ? 2 : 0);
      const std::vector<int32_t> start = lots.Items;
      RandSeed(seed);
      const std::vector<int32_t> expected = PlainShuffle(start, n);
      const uint32_t expectedState = RandState();
      RandSeed(seed);
      lots.Shuffle();
      EXPECT_EQ(lots.Items, expected) << n << " " << seed;
      EXPECT_EQ(RandState(), expectedState) << n << " " << seed;
    }
  }
}

TEST(Tmekzj, ThreeSlotsMakeBetween565And56401Swaps) {
  std::set<int64_t> counts;
  std::vector<uint32_t> seeds = {SeedFor(0), SeedFor(99)};
  for (uint32_t s = 1000; s < 1040; ++s) seeds.push_back(s * 2654435761u);
  for (uint32_t seed : seeds) {
    Tmekzj lots(3, 0);
    RandSeed(seed);
    lots.Shuffle();
    // One draw for r, then two per swap.
    const int64_t steps = StepsBetween(seed, RandState(), 2 * 56401 + 1);
    ASSERT_EQ(steps % 2, 1) << seed;
    const int64_t swaps = (steps - 1) / 2;
    EXPECT_GE(swaps, 565);
    EXPECT_LE(swaps, 56401);
    EXPECT_EQ(swaps, Tmekzj::SwapCount(RandDraw(RandStep(seed), 100), 3));
    counts.insert(swaps);
  }
  EXPECT_TRUE(counts.count(565));
  EXPECT_TRUE(counts.count(56401));
}

TEST(Tmekzj, SwapCountsThatOverflowTakeFisherYates) {
  const struct {
    int32_t r, count;
    int64_t swaps;  // 0: Fisher-Yates
  } cases[] = {
      {0, 1, 189},           {99, 1, 18801},         {0, 3, 565},
      {99, 3, 56401},        {99, 1000, 18800001},   {99, 114227, 2147467601},
      {99, 114228, 0},       // the product comes out negative in 32 bits
      {98, 114228, 2126011537},
      {57, 200000, 0},       {56, 200000, 2143200001},
      {99, 228457, 0},       // would wrap round to a small positive count (24,305 swaps)
      {0, Tmekzj::MaxCount, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Tmekzj::SwapCount(c.r, c.count), c.swaps) << c.r << " " << c.count;
}

TEST(Tmekzj, LargeListsAreShuffledByOneFisherYatesPass) {
  const int32_t n = 114228;
  Tmekzj lots(n, 0);
  const uint32_t seed = SeedFor(99);
  RandSeed(seed);
  lots.Shuffle();
  // r, then one draw for each slot from Count down to 2.
  EXPECT_EQ(StepsBetween(seed, RandState(), n), n);
  std::vector<int32_t> got(lots.Items.begin() + 1, lots.Items.end());
  int32_t fixed = 0;
  for (int32_t i = 0; i < n; ++i) fixed += got[i] == i + 1;
  EXPECT_LT(fixed, 20);  // a fair shuffle leaves about one slot in place
  std::sort(got.begin(), got.end());
  for (int32_t i = 0; i < n; ++i) ASSERT_EQ(got[i], i + 1);
}

TEST(DrawLotItem, EveryNameComesUp) {
  EXPECT_EQ(Outcomes(48, "甲,乙,丙,丁", {"甲", "乙", "丙", "丁"}, 1000).size(), 4u);
  EXPECT_EQ(Outcomes(48, "张三，李四", {"张三", "李四"}, 1000).size(), 2u);
  EXPECT_EQ(Outcomes(48, "a,,b", {"a", "", "b"}, 1000).size(), 3u);
  const FItemCase cases[] = {
      {48, "张三", "张三", nullptr}, {48, "", "", nullptr}, {48, ",", "", nullptr},
      {48, "a b", "a b", nullptr},
  };
  RunItemCases(cases);
}

TEST(ShuffleItem, EveryOrderOfThreeNames) {
  const std::set<std::string> orders = {"甲,乙,丙", "甲,丙,乙", "乙,甲,丙",
                                        "乙,丙,甲", "丙,甲,乙", "丙,乙,甲"};
  EXPECT_EQ(Outcomes(49, "甲,乙,丙", orders, 200000), orders);
  EXPECT_EQ(Outcomes(49, "甲，乙，丙", orders, 200000), orders);
}

TEST(ShuffleItem, EmptyNamesLeaveNoLeadingComma) {
  const std::set<std::string> results = {"a,,b", "a,b,", "a,b", "b,a", "b,,a", "b,a,"};
  EXPECT_EQ(Outcomes(49, "a,,b", results, 200000), results);
  const FItemCase cases[] = {
      {49, "", "", nullptr}, {49, ",", "", nullptr}, {49, "张三", "张三", nullptr},
  };
  RunItemCases(cases);
}

TEST(ShuffleItem, EveryNameExactlyOnce) {
  std::string typed;
  for (int i = 0; i < 40; ++i) typed += (i ? "," : "") + std::string(i % 3 ? "名" : "x") + std::to_string(i % 30);
  Fmekfenjiestr names = SplitText(typed, ',');
  std::sort(names.begin(), names.end());
  std::set<std::string> distinct;
  for (int run = 0; run < 50; ++run) {
    const std::string result = RunItem(49, typed);
    Fmekfenjiestr got = SplitText(result, ',');
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, names) << result;
    distinct.insert(result);
  }
  EXPECT_GT(distinct.size(), 1u);
}
