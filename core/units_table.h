// The units that the conversions know: each name with its size in the base unit of its
// quantity (米, 平方米, 立方米, 千克). Names are GBK and matched byte for byte.
#pragma once
#include <array>

struct FUnit {
  const char* Name;
  double Factor;
};

extern const std::array<FUnit, 15> LengthUnits;
extern const std::array<FUnit, 15> AreaUnits;
extern const std::array<FUnit, 6> VolumeUnits;
extern const std::array<FUnit, 10> MassUnits;
