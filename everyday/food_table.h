// The food table of FoodEnergy, in its fixed order.
#pragma once
#include <array>
#include <cstddef>

inline constexpr size_t FoodTableRows = 196;
// Rows "name|energy/third": the energy in kilocalories per 100 grams.
extern const std::array<const char*, FoodTableRows> FoodTable;
