// Conversions between units of one quantity through the factors of its unit table.
#include <span>

#include "core/mekmath.h"
#include "core/mekstr.h"
#include "core/units_table.h"

namespace {

const FUnit* FindUnit(std::span<const FUnit> table, const std::string& name) {
  for (const FUnit& u : table)
    if (name == u.Name) return &u;
  return nullptr;
}

double Convert(std::span<const FUnit> table, const std::string& fromUnit,
               const std::string& toUnit, double value) {
  const FUnit* from = FindUnit(table, fromUnit);
  const FUnit* to = FindUnit(table, toUnit);
  if (!from || !to) return -1;
  // Product and quotient in extended precision, rounded to a double once at the end.
  const long double r =
      static_cast<long double>(value) * from->Factor / static_cast<long double>(to->Factor);
  return static_cast<double>(r);
}

}  // namespace

double ConvertLength(const std::string& fromUnit, const std::string& toUnit, double value) {
  return Convert(LengthUnits, fromUnit, toUnit, value);
}
double ConvertArea(const std::string& fromUnit, const std::string& toUnit, double value) {
  return Convert(AreaUnits, fromUnit, toUnit, value);
}
double ConvertVolume(const std::string& fromUnit, const std::string& toUnit, double value) {
  return Convert(VolumeUnits, fromUnit, toUnit, value);
}
double ConvertMass(const std::string& fromUnit, const std::string& toUnit, double value) {
  return Convert(MassUnits, fromUnit, toUnit, value);
}

namespace {

struct FQuantityTables {
  std::span<const FUnit> Units;
  std::span<const FUnitAlias> Aliases;
};

FQuantityTables TablesOf(EQuantity quantity) {
  switch (quantity) {
    case EQuantity::Length: return {LengthUnits, {}};
    case EQuantity::Area: return {AreaUnits, AreaAliases};
    case EQuantity::Volume: return {VolumeUnits, {}};
    case EQuantity::Mass: break;
  }
  return {MassUnits, MassAliases};
}

}  // namespace

std::string TableUnitName(EQuantity quantity, const std::string& typed) {
  const FQuantityTables tables = TablesOf(quantity);
  std::string name = TrimText(typed);
  for (const FUnitAlias& a : tables.Aliases)
    if (name == a.Name) name = a.TableName;
  return FindUnit(tables.Units, name) ? name : std::string();
}

std::string UnitNames(EQuantity quantity) {
  std::string names;
  for (const FUnit& u : TablesOf(quantity).Units) names += (names.empty() ? "" : ",") + std::string(u.Name);
  return names;
}
