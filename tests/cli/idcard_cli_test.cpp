// Identity card numbers (items 4, 36, 37) through orvex-calc: the input line as typed
// (full-width digits, blanks, a lower-case x), the results and the messages.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "clirun.h"
#include "itembatch.h"

TEST(IdCardCli, BirthDateAndSex) {
  const char* const refused = "输入正确的身份证号";
  const FCliCase cases[] = {
      {4, "11010519491231002X", "性别:女,出生日期：1949-12-31", nullptr},
      {4, "11010519491231002x", "性别:女,出生日期：1949-12-31", nullptr},
      {4, "510104199003070011", "性别:男,出生日期：1990-3-7", nullptr},
      {4, "５１０１０４１９９００３０７００１１", "性别:男,出生日期：1990-3-7", nullptr},
      {4, " 510104199003070011 ", "性别:男,出生日期：1990-3-7", nullptr},
      // Fifteen-digit numbers were issued to people born in the 1900s.
      {4, "110105491231002", "性别:女,出生日期：1949-12-31", nullptr},
      {4, "510104900307001", "性别:男,出生日期：1990-3-7", nullptr},
      {4, "110105199013070011", "110105199013070011", refused},  // month 13
      {4, "11010519491231002Y", "11010519491231002Y", refused},
      {4, "身份证", "身份证", refused},
      {4, "", "", refused},
  };
  RunCliCases(cases);
}

TEST(IdCardCli, CheckCharacterAndRegion) {
  const FCliCase cases[] = {
      {37, "11010519491231002X", "校验码正确", nullptr},
      {37, "11010519491231002x", "校验码正确", nullptr},  // x is X typed without shift
      {37, "110105194912310021", "校验码不正确，应该是X", nullptr},
      {37, "11010519491231002", "校验码不正确，应该是X", nullptr},
      {37, "１１０１０５１９４９１２３１００２Ｘ", "校验码正确", nullptr},
      {37, "11010519491231A02X", "11010519491231A02X", nullptr},
      {36, "110105194912310021", "北京市朝阳区", nullptr},
      {36, "510104199003070015", "四川省成都市锦江区", nullptr},
      {36, "110103491231002", "北京市崇文区", nullptr},
      {36, "999999194912310021", "未知地址", nullptr},
      {36, "11010", "未知地址", nullptr},
      {36, "", "", nullptr},
  };
  RunCliCases(cases);
}

TEST(IdCardCli, MissingRegionFile) {
  std::string pattern = testing::TempDir() + "idcardcliXXXXXX";
  const std::string folder = mkdtemp(pattern.data());
  setenv("ORVEX_DATA_DIR", folder.c_str(), 1);
  const FCliResult missing = RunCalc({"36", "110105194912310021"});
  // The file is GBK: 自己 is D7D4 BCBA.
  std::ofstream(folder + "/sfz.dll", std::ios::binary) << "[SFZ]\n 110105 = \xD7\xD4\xBC\xBA \n";
  const FCliResult own = RunCalc({"36", "110105194912310021"});
  unsetenv("ORVEX_DATA_DIR");
  std::filesystem::remove_all(folder);
  EXPECT_EQ(missing.status, 0) << missing.err;
  EXPECT_EQ(missing.out, "110105194912310021\n");
  EXPECT_EQ(missing.err, "提示: 缺少库文件\n");
  EXPECT_EQ(own.out, "自己\n");
}
