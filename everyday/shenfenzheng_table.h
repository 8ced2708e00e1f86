// The check character tables of identity card numbers (ISO 7064 MOD 11-2).
#pragma once
#include <array>

// The weight of each of the first 17 positions: 2^(18 - position) mod 11.
extern const std::array<int, 17> IdCheckWeights;
// The check character for each remainder 0..10 of the weighted sum divided by 11.
extern const std::array<const char*, 11> IdCheckChars;
