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

// A common name that the tables know under another name: "磅" is the table's "英磅",
// "英亩" its "平方英亩".
struct FUnitAlias {
  const char* Name;
  const char* TableName;
};
extern const std::array<FUnitAlias, 1> AreaAliases;
extern const std::array<FUnitAlias, 1> MassAliases;
