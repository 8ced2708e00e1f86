// Chemical formulas of the acids, bases, salts and other substances of a school
// chemistry course, named in Chinese. Names are GBK, formulas ASCII.
#pragma once
#include <string>

// A substance known by its whole name, such as 烧碱 or 铜绿, with its fixed formula.
struct FSubstance {
  const char* Name;     // GBK, at most 15 bytes
  const char* Formula;  // ASCII, at most 15 bytes
};

// An ion as it appears in a systematic name: 氯化 stands for Cl (valence -1), 铝 for Al
// (valence 3). Anions lead the name, cations end it.
struct FIon {
  const char* Name;    // GBK, at most 10 bytes: the part of the name that stands for the ion
  const char* Symbol;  // ASCII, at most 12 bytes
  int Valence;         // negative for anions, positive for cations
  bool Group;          // a polyatomic group, put in parentheses when it carries a count
};

// The formula of a substance: a name of the substance table as it stands, else a name
// made of an anion's name followed by exactly a cation's name (氯化 + 钠), composed from
// the two. The names are compared byte for byte, nothing is trimmed; the substance table
// comes first, then the anions and for each of them the cations in table order, and the
// first match decides. The empty text for a name that is not known.
std::string FormulaOf(const std::string& name);

// The formula of the compound of an anion and a cation, by crossing the valences:
// the cation takes |anion valence| as its count and the anion the cation's valence, both
// halved when both valences are even. A count is written only when the two valences
// differ in magnitude and the count comes from a valence above 1, a group that carries
// one in parentheses: Al2(SO4)3, (NH4)2CO3, NaCl, CaO. Mercury(I) composes as Hg with
// valence 1 (HgCl), not as the Hg2 pair.
std::string Compose(const FIon& anion, const FIon& cation);
