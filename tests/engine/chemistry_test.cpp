// Chemical formulas (item 6): whole names, names composed of an anion and a cation, and
// the names that are not known.
#include <gtest/gtest.h>

#include <string>

#include "everyday/mekHuaxue.h"
#include "itemcases.h"

namespace {

const char* const AnionNames[6] = {"氧化", "氯化", "硝酸", "氢氧化", "硫酸", "碳酸"};
const char* const CationNames[15] = {"铵", "钾", "钙",   "钠", "镁",   "钡", "铝",  "锌",
                                     "铁", "亚铁", "铜", "亚铜", "汞", "银", "亚汞"};

// The formulas as a chemistry book writes them, row by anion, column by cation (in the
// order above). Where the lookup composes mercury(I) from a single Hg of valence 1, the
// row holds what the lookup gives and says what a chemist writes.
const char* const Composed[6][15] = {
    // (NH4)2O is no stable compound; its formula follows the same crossing.
    {"(NH4)2O", "K2O", "CaO", "Na2O", "MgO", "BaO", "Al2O3", "ZnO", "Fe2O3", "FeO", "CuO",
     "Cu2O", "HgO", "Ag2O", "Hg2O"},
    {"NH4Cl", "KCl", "CaCl2", "NaCl", "MgCl2", "BaCl2", "AlCl3", "ZnCl2", "FeCl3", "FeCl2",
     "CuCl2", "CuCl",  "HgCl2",
     "AgCl", "HgCl"},  // mercury(I) chloride is Hg2Cl2
    {"NH4NO3", "KNO3", "Ca(NO3)2", "NaNO3", "Mg(NO3)2", "Ba(NO3)2", "Al(NO3)3", "Zn(NO3)2",
     "Fe(NO3)3", "Fe(NO3)2", "Cu(NO3)2", "CuNO3", "Hg(NO3)2",
     "AgNO3", "HgNO3"},  // mercury(I) nitrate is Hg2(NO3)2
    {"NH4OH", "KOH", "Ca(OH)2", "NaOH", "Mg(OH)2", "Ba(OH)2", "Al(OH)3", "Zn(OH)2", "Fe(OH)3",
     "Fe(OH)2", "Cu(OH)2", "CuOH", "Hg(OH)2", "AgOH",
     "HgOH"},  // mercury(I) hydroxide is not known; a single Hg gives HgOH
    {"(NH4)2SO4", "K2SO4", "CaSO4", "Na2SO4", "MgSO4", "BaSO4", "Al2(SO4)3", "ZnSO4",
     "Fe2(SO4)3", "FeSO4", "CuSO4", "Cu2SO4", "HgSO4", "Ag2SO4", "Hg2SO4"},
    {"(NH4)2CO3", "K2CO3", "CaCO3", "Na2CO3", "MgCO3", "BaCO3", "Al2(CO3)3", "ZnCO3",
     "Fe2(CO3)3", "FeCO3", "CuCO3", "Cu2CO3", "HgCO3", "Ag2CO3", "Hg2CO3"},
};

const struct {
  const char* name;
  const char* formula;
} Substances[31] = {
    {"硫酸", "H2SO4"},     {"盐酸", "HCl"},       {"碳酸", "H2CO3"},
    {"硝酸", "HNO3"},      {"氧气", "O2"},        {"氢气", "H2"},
    {"氯气", "Cl2"},       {"氨气", "NH3"},       {"烧碱", "NaOH"},
    {"火碱", "NaOH"},      {"苛性钠", "NaOH"},    {"熟石灰", "Ca(OH)2"},
    {"生石灰", "CaO"},     {"石灰水", "Ca(OH)2"}, {"消石灰", "Ca(OH)2"},
    {"氯化氢", "HCl"},     {"纯碱", "Na2CO3"},    {"胆矾", "CuSO4"},  // the pentahydrate's salt
    {"蓝矾", "CuSO4"},     {"食盐", "NaCl"},      {"碱式碳酸铜", "Cu2(OH)2CO3"},
    {"铜绿", "Cu2(OH)2CO3"}, {"石灰石", "CaCO3"}, {"小苏打", "NaHCO3"},
    {"铁锈", "Fe2O3"},     {"水", "H2O"},         {"酒精", "C2H5OH"},
    {"醋酸", "CH3COOH"},   {"尿素", "CO(NH2)2"},  {"双氧水", "H2O2"},
    {"干冰", "CO2"},
};

}  // namespace

TEST(FormulaOf, EveryAnionWithEveryCation) {
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 15; ++j) {
      const std::string name = std::string(AnionNames[i]) + CationNames[j];
      EXPECT_EQ(FormulaOf(name), Composed[i][j]) << i + 1 << "," << j + 1;
    }
}

TEST(FormulaOf, EverySubstanceByWholeName) {
  for (const auto& s : Substances) EXPECT_EQ(FormulaOf(s.name), s.formula) << s.name;
}

TEST(Item6, NamesOfTheCourse) {
  const FItemCase cases[] = {
      {6, "氢氧化钠", "NaOH", nullptr},     {6, "氢氧化钙", "Ca(OH)2", nullptr},
      {6, "氢氧化铵", "NH4OH", nullptr},    {6, "硫酸铝", "Al2(SO4)3", nullptr},
      {6, "碳酸铵", "(NH4)2CO3", nullptr},  {6, "硫酸铵", "(NH4)2SO4", nullptr},
      {6, "硫酸铜", "CuSO4", nullptr},      {6, "氧化铝", "Al2O3", nullptr},
      {6, "氧化铁", "Fe2O3", nullptr},      {6, "氧化亚铁", "FeO", nullptr},
      {6, "氧化亚铜", "Cu2O", nullptr},     {6, "氯化钡", "BaCl2", nullptr},
      {6, "氯化铵", "NH4Cl", nullptr},      {6, "硝酸", "HNO3", nullptr},
      {6, "硝酸钠", "NaNO3", nullptr},      {6, "水", "H2O", nullptr},
      {6, "碱式碳酸铜", "Cu2(OH)2CO3", nullptr},
      // A single Hg of valence 1 stands for mercury(I): chemists write Hg2(NO3)2, Hg2Cl2.
      {6, "硝酸亚汞", "HgNO3", nullptr},    {6, "氯化亚汞", "HgCl", nullptr},
  };
  RunItemCases(cases);
}

// A name that is not known leaves the line as typed; blanks around a name are ignored.
TEST(Item6, UnknownNamesKeepTheLine) {
  const FItemCase cases[] = {
      {6, "氯化钠 ", "NaCl", nullptr},
      {6, "氯化钠　", "NaCl", nullptr},  // the ideographic space becomes a blank first
      {6, "水。", "水.", nullptr},       // the ideographic full stop becomes a "."
      {6, "钠氯化", "钠氯化", nullptr},
      {6, "氯化", "氯化", nullptr},      // an anion without a cation
      {6, "钠", "钠", nullptr},
      {6, "氯化亚", "氯化亚", nullptr},
      {6, "氯化氯化钠", "氯化氯化钠", nullptr},
      {6, "水水", "水水", nullptr},
      {6, "H2O", "H2O", nullptr},
      {6, "氯化\xC4", "氯化\xC4", nullptr},  // the lead byte of 钠 alone
      {6, "", "", nullptr},
  };
  RunItemCases(cases);
}
