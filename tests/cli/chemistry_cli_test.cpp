// Item 6 (chemical formula) through orvex-calc: the formula replaces the name, and a name
// that is not known leaves an empty input line without a message.
#include <gtest/gtest.h>

#include "itembatch.h"

TEST(ChemistryCli, Formulas) {
  const FCliCase cases[] = {
      {6, "氢氧化钠", "NaOH", nullptr},
      {6, "硫酸铝", "Al2(SO4)3", nullptr},
      {6, "碳酸铵", "(NH4)2CO3", nullptr},
      {6, "铜绿", "Cu2(OH)2CO3", nullptr},
      {6, "氯化亚汞", "HgCl", nullptr},
      {6, "硝酸", "HNO3", nullptr},
  };
  RunCliCases(cases);
}

TEST(ChemistryCli, UnknownNamesKeepTheLine) {
  const FCliCase cases[] = {
      {6, "氯化钠 ", "NaCl", nullptr},
      {6, "氯化钠　", "NaCl", nullptr},  // full-width blank
      {6, "ＮａＣｌ", "NaCl", nullptr},  // full-width letters are read as NaCl, which is no name
      {6, "钠氯化", "钠氯化", nullptr},
      {6, "氯化", "氯化", nullptr},
      {6, "氯化𬭊", "氯化?", nullptr},  // GBK lacks the character: it arrives as "?"
      {6, "", "", nullptr},
      {6, "水", "H2O", nullptr},  // the calculator goes on after a name it did not know
  };
  RunCliCases(cases);
}

TEST(ChemistryCli, SingleRun) {
  EXPECT_EQ(Calc(6, "硫酸铵"), "(NH4)2SO4");
  const FCliResult r = RunCalc({"6", "氯化"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "氯化\n");
  EXPECT_EQ(r.err, "");
}
