// The numerals and place units that NumberToChinese writes, ordinary (小写) and
// financial (大写).
#pragma once
#include <array>

// Digit 0..9.
extern const std::array<const char*, 10> LowerDigits;
extern const std::array<const char*, 10> UpperDigits;
// Place unit of the digit at position 0..15, the position being its power of ten.
// Positions 13 to 15 carry the "万" of the 万亿 group with them.
extern const std::array<const char*, 16> LowerUnits;
extern const std::array<const char*, 16> UpperUnits;
