// Formulas by whole name from the substance table, or composed from an anion and a cation.
#include "everyday/mekHuaxue.h"

#include <string_view>

#include "everyday/huaxue_tables.h"

namespace {

// The symbol, followed by its count when the count is written; a group that carries a
// count is put in parentheses first.
std::string IonPart(const FIon& ion, long long count, bool written) {
  if (!written) return ion.Symbol;
  const std::string symbol = ion.Group ? "(" + std::string(ion.Symbol) + ")" : ion.Symbol;
  return symbol + std::to_string(count);
}

}  // namespace

std::string Compose(const FIon& anion, const FIon& cation) {
  // Wide enough that the magnitude of any int valence is exact.
  const long long a = anion.Valence < 0 ? -static_cast<long long>(anion.Valence) : anion.Valence;
  const long long c = cation.Valence;
  long long cationCount = a, anionCount = c;
  if (a % 2 == 0 && c % 2 == 0) {
    cationCount = a / 2;
    anionCount = c / 2;
  }
  const bool cationWritten = a != c && anion.Valence < -1;
  const bool anionWritten = a != c && c > 1;
  return IonPart(cation, cationCount, cationWritten) + IonPart(anion, anionCount, anionWritten);
}

std::string FormulaOf(const std::string& name) {
  for (const FSubstance& substance : SubstanceTable)
    if (name == substance.Name) return substance.Formula;
  const std::string_view text = name;
  for (const FIon& anion : AnionTable) {
    if (!text.starts_with(anion.Name)) continue;
    const std::string_view rest = text.substr(std::string_view(anion.Name).size());
    for (const FIon& cation : CationTable)
      if (rest == cation.Name) return Compose(anion, cation);
  }
  return "";
}
