// The full-width GBK form of each ASCII character from 0x20 to 0x7E.
#pragma once
#include <array>

struct FHalfWidthEntry {
  unsigned char lead;
  unsigned char trail;
};

// Entry i belongs to ASCII code 0x20 + i.
extern const std::array<FHalfWidthEntry, 95> HalfWidthTable;
