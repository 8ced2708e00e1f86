// The constant tables behind HanziStrokeCount and HanziRadical.
#pragma once
#include <array>
#include <cstdint>

// One entry for each cell of the hanzi area of GB2312: lead bytes 0xB0..0xF7, trail
// bytes 0xA1..0xFE.
inline constexpr int StrokeTableSize = (0xF7 - 0xB0 + 1) * 94;

// The stroke count of the cell with lead byte L and trail byte T at
// (L - 0xB0) * 94 + (T - 0xA1), 1 to 30; 0 where the table holds no count.
extern const std::array<uint8_t, StrokeTableSize> HanziStrokeTable;

// One row of the radical table: the radical shown (GBK, one or two characters, at most
// 5 bytes) for the code points First..Last, both inclusive.
struct FRadicalRange {
  const char* Radical;
  uint16_t First;
  uint16_t Last;
};

inline constexpr int RadicalTableSize = 228;

// Ascending ranges with neither gap nor overlap covering U+4E00..U+9FA5, the CJK
// Unified Ideographs in their radical order.
extern const std::array<FRadicalRange, RadicalTableSize> RadicalTable;
