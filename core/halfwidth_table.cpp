// Full-width counterparts of the printable ASCII characters. The rule is the byte pair
// 0xA3, c + 0x80, except for the blank, "$", "." and "~", whose counterparts are the
// ideographic space, "＄", the ideographic full stop "。" and "～".
#include "core/halfwidth_table.h"

namespace {
constexpr std::array<FHalfWidthEntry, 95> BuildTable() {
  std::array<FHalfWidthEntry, 95> t{};
  for (int c = 0x20; c <= 0x7E; ++c)
    t[c - 0x20] = {0xA3, static_cast<unsigned char>(c + 0x80)};
  t[0x20 - 0x20] = {0xA1, 0xA1};
  t[0x24 - 0x20] = {0xA1, 0xE7};
  t[0x2E - 0x20] = {0xA1, 0xA3};
  t[0x7E - 0x20] = {0xA1, 0xAB};
  return t;
}
}  // namespace

const std::array<FHalfWidthEntry, 95> HalfWidthTable = BuildTable();
