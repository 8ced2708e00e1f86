// Health calculators: standard weight, food energy and daily energy need. Decimal factors
// are worked in tenths, in integers, so that halves round to even exactly.
#include <algorithm>
#include <limits>
#include <string_view>

#include "core/mekerror.h"
#include "core/mekstr.h"
#include "everyday/food_table.h"
#include "everyday/mekshenghuo.h"

namespace {

// tenths / 10 rounded to the nearest integer, a half going to the even neighbour.
int64_t RoundTenths(int64_t tenths) {
  int64_t q = tenths / 10, rem = tenths % 10;
  if (rem < 0) {  // floor division: q <= tenths / 10 < q + 1, rem in 0..9
    --q;
    rem += 10;
  }
  if (rem > 5 || (rem == 5 && q % 2 != 0)) ++q;
  return q;
}

int32_t CheckedInt32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    throw EConvertError("Result out of range");
  return static_cast<int32_t>(value);
}

}  // namespace

bool StandardWeight(int32_t height, int32_t& man, int32_t& woman) {
  man = 0;
  woman = 0;
  if (height <= 100 || height >= 195) return false;
  const int64_t tenths = int64_t{height - 100} * 9;  // (height - 100) x 0.9
  man = static_cast<int32_t>(RoundTenths(tenths));
  woman = static_cast<int32_t>(RoundTenths(tenths - 25));
  return true;
}

namespace {

// The last row whose food name ends in name (苹果 finds 红富士苹果), matched on whole
// characters: a character's second byte followed by name's bytes is no match. Empty for
// an empty name or none.
std::string_view FoodRow(const std::string& name) {
  if (name.empty()) return {};
  const std::string key = name + "|";
  // The last matching row decides, so the search runs from the end.
  for (size_t i = FoodTable.size(); i-- > 0;) {
    const std::string_view row = FoodTable[i];
    const size_t at = row.find(key);
    if (at == std::string_view::npos) continue;
    const std::string head(row.substr(0, at));
    size_t p = 0;
    while (p < at) p += std::max<size_t>(CharLengthAt(head, p), 1);
    if (p == at) return row;
  }
  return {};
}

}  // namespace

bool IsFood(const std::string& name) { return !FoodRow(name).empty(); }

int32_t FoodEnergy(const std::string& name, int32_t grams) {
  const std::string_view row = FoodRow(name);
  if (row.empty()) return 0;
  int64_t energy = 0;
  for (size_t p = row.find('|') + 1; row[p] >= '0' && row[p] <= '9'; ++p)
    energy = energy * 10 + (row[p] - '0');
  return CheckedInt32(energy * grams / 100);  // C++ division truncates toward zero
}

int32_t DailyEnergy(int32_t weight, bool isMan) {
  const int64_t tenths = isMan ? int64_t{weight} * 152 + 6800 : int64_t{weight} * 146 + 4500;
  return CheckedInt32(RoundTenths(tenths));
}
