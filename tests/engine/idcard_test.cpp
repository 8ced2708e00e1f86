// Identity card numbers (items 4, 36, 37): check characters, widening, birth date and sex
// with the fifty-year window under a fixed clock, the region lookup on INI files written
// here and on the committed sfz.dll.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "core/codepage.h"
#include "core/mekdatetime.h"
#include "core/mekerror.h"
#include "core/mekini.h"
#include "core/mekstr.h"
#include "everyday/mekShenfenzheng.h"
#include "everyday/shenfenzheng_table.h"
#include "itemcases.h"

namespace {

// A folder of its own, removed afterwards; Write puts a file into it.
class TFolder {
public:
  TFolder() {
    std::string pattern = testing::TempDir() + "idcardXXXXXX";
    Path = mkdtemp(pattern.data());
  }
  ~TFolder() { std::filesystem::remove_all(Path); }
  std::string Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path + "/" + name, std::ios::binary | std::ios::trunc) << content;
    return Path + "/" + name;
  }
  std::string Path;
};

// "=" on item 36 with the data files of dataDir.
void RunItem36(const std::string& dataDir, const char* typed, const char* line,
               const char* message = nullptr) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.DataDir = dataDir;
  calc.ItemIndex = 36;
  calc.Edit1Text = typed;
  calc.Button20Click();
  EXPECT_EQ(calc.Edit1Text, line) << "[" << typed << "]";
  if (message) {
    ASSERT_EQ(dialogs.Messages.size(), 1u) << typed;
    EXPECT_EQ(dialogs.Messages[0], message);
  } else {
    EXPECT_TRUE(dialogs.Messages.empty()) << "[" << typed << "]";
  }
}

std::string CommittedDataDir() {
  const char* dir = std::getenv("ORVEX_DATA_DIR");
  return dir ? dir : "";
}

const char* const Refused = "输入正确的身份证号";

}  // namespace

TEST(IdCheckChar, TablesAreIso7064Mod11_2) {
  for (size_t i = 0; i < IdCheckWeights.size(); ++i)
    EXPECT_EQ(IdCheckWeights[i], (1 << (17 - i)) % 11) << "position " << i + 1;
  // The check character makes the weighted sum of all 18 (X counting 10) 1 modulo 11.
  for (int r = 0; r < 11; ++r) {
    const std::string c = IdCheckChars[static_cast<size_t>(r)];
    const int value = c == "X" ? 10 : c[0] - '0';
    EXPECT_EQ((r + value) % 11, 1) << r;
  }
}

TEST(IdCheckChar, EveryRemainder) {
  const struct {
    const char* number;
    const char* check;
  } cases[] = {
      // Position 8 weighs 1, position 3 weighs 10: the weighted sum is the remainder.
      {"00000000000000000", "1"},  // 0
      {"00000001000000000", "0"},  // 1
      {"00000002000000000", "X"},  // 2
      {"00000003000000000", "9"},  // 3
      {"00000004000000000", "8"},  // 4
      {"00000005000000000", "7"},  // 5
      {"00000006000000000", "6"},  // 6
      {"00000007000000000", "5"},  // 7
      {"00000008000000000", "4"},  // 8
      {"00000009000000000", "3"},  // 9
      {"00100000000000000", "2"},  // 10
      {"00000009100000000", "8"},  // 9 * 1 + 1 * 6 = 15: remainder 4
      {"11010519491231002", "X"},
      {"11010519491231002X", "X"},  // characters after 17 are not used
      {"110105194912310021", "X"},
      {"51010419900307001", "5"},
      {"44030519851120403", "7"},
      {"110105491231002", "X"},      // widened first
      {"5101041990030700159", "5"},  // longer than 18
  };
  for (const auto& c : cases) EXPECT_EQ(IdCheckChar(c.number), c.check) << c.number;
}

TEST(IdCheckChar, MissingOrNonDigitPositionsRaise) {
  for (const char* number : {"", "1101051949123100", "1101051949123100 2", "11010519491231A02",
                             "X1010519491231002", "１１０１０５１９４９１２３１００２",
                             "11010A491231002"})
    EXPECT_THROW(IdCheckChar(number), EConvertError) << number;
}

TEST(IdWiden15To18, CenturyAndCheckCharacter) {
  const struct {
    const char* number;
    const char* widened;
  } cases[] = {
      {"110105051231002", "110105200512310029"},  // year digits below 10: 20..
      {"110105101231002", "110105191012310020"},
      {"110105851231002", "110105198512310029"},
      {"110105491231002", "11010519491231002X"},
      {"11010519491231002X", "11010519491231002X"},  // 18 characters: as they are
      {"abcdefghijklmnopqr", "abcdefghijklmnopqr"},
      {"", ""},
      {"11010549123100", ""},
      {"1101054912310021", ""},
      {"11010519491231002", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(IdWiden15To18(c.number), c.widened) << c.number;
  EXPECT_THROW(IdWiden15To18("110105x91231002"), EConvertError);
  EXPECT_THROW(IdWiden15To18("11010549123100a"), EConvertError);
}

TEST(IsAllDigits, Bytes) {
  EXPECT_TRUE(IsAllDigits("0123456789"));
  EXPECT_TRUE(IsAllDigits("7"));
  for (const char* text : {"", " 1", "1 ", "12a", "1.5", "-1", "１２", "11010519491231002X"})
    EXPECT_FALSE(IsAllDigits(text)) << text;
}

// Fifteen-digit numbers belong to the 1900s, whatever the clock says.
TEST(IdBirthAndSex, FifteenDigitYearsAreOfTheNineteenHundreds) {
  const struct {
    int clockYear;
    const char* number;
    int year;
  } cases[] = {
      {2024, "110105741231001", 1974}, {2024, "110105991231001", 1999},
      {2024, "110105001231001", 1900}, {2026, "110105491231002", 1949},
      {2030, "110105051231001", 1905}, {2080, "110105791231001", 1979},
      {2024, "11010519491231002X", 1949},  // four digits: as written
      {2024, "110105207312310011", 2073},
  };
  for (const auto& c : cases) {
    FNoonClock clock(c.clockYear);
    std::string sex;
    double date = 0;
    ASSERT_TRUE(IdBirthAndSex(c.number, sex, date)) << c.number;
    EXPECT_EQ(date, EncodeDate(c.year, 12, 31)) << c.clockYear << " " << c.number;
  }
}

TEST(IdBirthAndSex, SexDigitAndDate) {
  FNoonClock clock(2024);
  const struct {
    const char* number;
    const char* sex;
    int y, m, d;
  } cases[] = {
      {"510104199003070011", "男", 1990, 3, 7}, {"510104199003070031", "男", 1990, 3, 7},
      {"510104199003070051", "男", 1990, 3, 7}, {"510104199003070071", "男", 1990, 3, 7},
      {"510104199003070091", "男", 1990, 3, 7}, {"510104199003070001", "女", 1990, 3, 7},
      {"510104199003070021", "女", 1990, 3, 7}, {"510104199003070081", "女", 1990, 3, 7},
      {"510104900307001", "男", 1990, 3, 7},    {"510104900307008", "女", 1990, 3, 7},
      {"11010519491231002X", "女", 1949, 12, 31},
      {"11010519491231001x", "男", 1949, 12, 31},  // a lower-case check character too
      {"  11010519491231002X\t", "女", 1949, 12, 31},  // blanks and controls trimmed
      {"110105200002290011", "男", 2000, 2, 29},
  };
  for (const auto& c : cases) {
    std::string sex;
    double date = 0;
    ASSERT_TRUE(IdBirthAndSex(c.number, sex, date)) << c.number;
    EXPECT_EQ(sex, c.sex) << c.number;
    EXPECT_EQ(date, EncodeDate(c.y, c.m, c.d)) << c.number;
  }
}

TEST(IdBirthAndSex, RefusedNumbersSetNothing) {
  for (const char* number :
       {"", "   ", "11010519491231002Y", "1101051949123100XX", "X10105194912310021",
        "1101051949123100", "1101051949123100211", "11010549123100", "11010549123100X",
        "110105 491231002", "１１０１０５４９１２３１００２"}) {
    std::string sex = "unset";
    double date = -1;
    EXPECT_FALSE(IdBirthAndSex(number, sex, date)) << number;
    EXPECT_EQ(sex, "unset");
    EXPECT_EQ(date, -1);
  }
}

TEST(IdBirthAndSex, DigitsThatAreNoDateRaise) {
  FNoonClock clock(2024);
  for (const char* number : {"110105199013310011", "110105199000100011", "110105199001000011",
                             "110105199004310011", "110105199902290011", "110105190002290011",
                             "110105000012310011", "110105901331001", "110105900231001"}) {
    std::string sex = "unset";
    double date = -1;
    EXPECT_THROW(IdBirthAndSex(number, sex, date), EConvertError) << number;
    EXPECT_EQ(sex, "unset");
  }
}

TEST(TryStrToDate, SharedWithTheDispatcher) {
  FNoonClock clock(2024);
  TDispatcher calc;
  for (const char* text : {"1949-12-31", "49-12-31", " 2009 - 1 - 1 ", "1-5", "2009-2-29", "x"}) {
    double value = -7;
    const bool read = TryStrToDate(text, value);
    EXPECT_EQ(read, calc.ReadInputDate(text).has_value()) << text;
    if (read)
      EXPECT_EQ(value, *calc.ReadInputDate(text)) << text;
    else
      EXPECT_EQ(value, -7) << text;
  }
}

TEST(IdItems, BirthDateAndSex) {
  FNoonClock clock(2024);
  const FItemCase cases[] = {
      {4, "11010519491231002X", "性别:女,出生日期：1949-12-31", nullptr},
      {4, "11010519491231002x", "性别:女,出生日期：1949-12-31", nullptr},
      {4, "510104199003070011", "性别:男,出生日期：1990-3-7", nullptr},
      {4, "110105491231002", "性别:女,出生日期：1949-12-31", nullptr},
      {4, "110105741231001", "性别:男,出生日期：1974-12-31", nullptr},
      {4, "１１０１０５１９４９１２３１００２Ｘ", "性别:女,出生日期：1949-12-31", nullptr},
      // Refused: one message, the input line kept (as the dispatcher normalised it).
      {4, "110105199013070011", "110105199013070011", Refused},  // month 13
      {4, "110105199002300011", "110105199002300011", Refused},  // 30 February
      {4, "110105901307001", "110105901307001", Refused},
      {4, "11010519491231002Y", "11010519491231002Y", Refused},
      {4, "1101051949123100", "1101051949123100", Refused},
      {4, "abc", "abc", Refused},
      {4, "", "", Refused},
      {4, "１２３", "123", Refused},
  };
  RunItemCases(cases);
}

TEST(IdItems, CheckCharacter) {
  const FItemCase cases[] = {
      {37, "11010519491231002X", "校验码正确", nullptr},
      {37, "11010519491231002x", "校验码正确", nullptr},  // x is X typed without shift
      {37, "110105194912310021", "校验码不正确，应该是X", nullptr},
      {37, "11010519491231002", "校验码不正确，应该是X", nullptr},
      {37, "510104199003070015", "校验码正确", nullptr},
      {37, "510104199003070016", "校验码不正确，应该是5", nullptr},
      {37, "440305198511204037", "校验码正确", nullptr},
      {37, "１１０１０５１９４９１２３１００２Ｘ", "校验码正确", nullptr},
      // 15 digits: the fifteenth digit against the widened number's check character.
      {37, "110105491231002", "校验码不正确，应该是X", nullptr},
      {37, "510104900307006", "校验码正确", nullptr},
      // Letters among the first 17, too few positions, nothing typed: nothing changes.
      {37, "11010519491231A02X", "11010519491231A02X", nullptr},
      {37, "1101051949123100", "1101051949123100", nullptr},
      {37, "", "", nullptr},
  };
  RunItemCases(cases);
}

TEST(IdItems, RegionFromTheCommittedFile) {
  const std::string dir = CommittedDataDir();
  ASSERT_FALSE(dir.empty()) << "ORVEX_DATA_DIR names the folder of the data files";
  RunItem36(dir, "110105194912310021", "北京市朝阳区");
  RunItem36(dir, "11010519491231002X", "北京市朝阳区");
  RunItem36(dir, "510104199003070015", "四川省成都市锦江区");
  RunItem36(dir, "510107", "四川省成都市武侯区");
  RunItem36(dir, "110103194912310021", "北京市崇文区");  // merged into 东城区 in 2010
  RunItem36(dir, "110105491231002", "北京市朝阳区");
  RunItem36(dir, "330113202101010011", "浙江省杭州市临平区");  // created in 2021
  RunItem36(dir, "１１０１０５", "北京市朝阳区");
  RunItem36(dir, "999999194912310021", "未知地址");
  RunItem36(dir, "11010", "未知地址");  // shorter: looked up whole
  RunItem36(dir, "abc", "未知地址");
  RunItem36(dir, "", "");
}

TEST(IdItems, MissingRegionFile) {
  TFolder folder;
  RunItem36(folder.Path, "110105194912310021", "110105194912310021", "缺少库文件");
  RunItem36(folder.Path + "/no/such/folder", "110105", "110105", "缺少库文件");
  RunItem36(folder.Path, "", "");
  EXPECT_EQ(IdRegion(folder.Path + "/sfz.dll", "110105194912310021"), "缺少文件");
}

TEST(IdRegion, IniRules) {
  const struct {
    const char* content;
    const char* number;
    const char* place;
  } cases[] = {
      {"[sfz]\r\n110105=北京市朝阳区\r\n", "110105194912310021", "北京市朝阳区"},
      {"[sfz]\n110105=北京市朝阳区\n", "110105194912310021", "北京市朝阳区"},
      {"[sfz]\r110105=北京市朝阳区\r", "110105194912310021", "北京市朝阳区"},
      {"[sfz]\n110105=北京市朝阳区", "110105", "北京市朝阳区"},  // no line end at the end
      // Blanks around section names, keys and values.
      {"  [ sfz ]  \r\n \t110105 \t=  北京市 朝阳区 \t\r\n", "110105", "北京市 朝阳区"},
      // Section and keys without regard to ASCII case.
      {"[SFZ]\r\nAbCdEf=甲\r\n", "abcdef123", "甲"},
      {"[Sfz]\r\nabc=甲\r\n", "ABC", "甲"},
      // The bytes of GBK characters are not folded: 丄 (81 41) is not 乤 (81 61).
      {"[sfz]\r\n乤=甲\r\n", "乤", "甲"},
      {"[sfz]\r\n乤=甲\r\n", "丄", "未知地址"},
      {"[sfz]\r\n丄=甲\r\n", "乤", "未知地址"},
      // The first occurrence wins, also across two sections of the same name.
      {"[sfz]\r\n110105=甲\r\n110105=乙\r\n", "110105", "甲"},
      {"[sfz]\r\n110105=甲\r\n[x]\r\n[SFZ]\r\n110105=乙\r\n", "110105", "甲"},
      // The value is everything after the first "=".
      {"[sfz]\r\n110105=a=b\r\n", "110105", "a=b"},
      {"[sfz]\r\n110105=\r\n", "110105", ""},
      // Comments, lines without "=", entries outside the section.
      {"[sfz]\r\n;110105=甲\r\n110105\r\n", "110105", "未知地址"},
      {"110105=甲\r\n[sfz]\r\n", "110105", "未知地址"},
      {"[other]\r\n110105=甲\r\n", "110105", "未知地址"},
      {"[sfz]\r\n110105=甲\r\n", "110106", "未知地址"},
      {"", "110105", "未知地址"},
      {"[sfz]\r\n=甲\r\n", "  ", "未知地址"},  // an empty key is never found
  };
  for (const auto& c : cases) {
    TFolder folder;
    const std::string path = folder.Write("sfz.dll", c.content);
    EXPECT_EQ(IdRegion(path, c.number), c.place) << c.content << " [" << c.number << "]";
  }
}

TEST(IdRegion, UnreadableFilesGiveUnknown) {
  TFolder folder;
  std::filesystem::create_directory(folder.Path + "/sfz.dll");
  RunItem36(folder.Path, "110105", "未知地址");  // a folder by that name

  TFolder fifo;
  ASSERT_EQ(mkfifo((fifo.Path + "/sfz.dll").c_str(), 0600), 0);
  RunItem36(fifo.Path, "110105", "未知地址");  // no writer: must not wait for one

  TFolder huge;
  const std::string path = huge.Write("sfz.dll", "[sfz]\r\n110105=甲\r\n");
  std::filesystem::resize_file(path, IniMaxFileSize + 1);
  EXPECT_EQ(IdRegion(path, "110105"), "未知地址");
}

TEST(IdRegion, ChangedFileIsReadAgain) {
  TFolder folder;
  const std::string path = folder.Write("sfz.dll", "[sfz]\r\n110105=甲\r\n");
  EXPECT_EQ(IdRegion(path, "110105"), "甲");
  folder.Write("sfz.dll", "[sfz]\r\n110105=乙\r\n");  // in place, same size, same moment
  EXPECT_EQ(IdRegion(path, "110105"), "乙");
  folder.Write("sfz.new", "[sfz]\r\n110105=丙丁\r\n");
  std::filesystem::rename(folder.Path + "/sfz.new", path);  // replaced by another file
  EXPECT_EQ(IdRegion(path, "110105"), "丙丁");
  std::filesystem::remove(path);
  EXPECT_EQ(IdRegion(path, "110105"), "缺少文件");
  EXPECT_EQ(IniReadString(path, "sfz", "110105", "none"), "none");
}

TEST(IniReadString, AnySectionAndKey) {
  TFolder folder;
  const std::string path =
      folder.Write("a.ini", "[Font]\r\nname = 宋体\r\nsize=12\r\n[Colors]\r\nname=red\r\n");
  EXPECT_EQ(IniReadString(path, "font", "NAME", "?"), "宋体");
  EXPECT_EQ(IniReadString(path, " Font ", " size ", "?"), "12");
  EXPECT_EQ(IniReadString(path, "colors", "name", "?"), "red");
  EXPECT_EQ(IniReadString(path, "colors", "size", "?"), "?");
  EXPECT_EQ(IniReadString(path, "", "name", "?"), "?");
  // A section name holding 乚, whose second byte is "]" (81 5D).
  const std::string gbk = folder.Write("b.ini", "[乚乚]\r\nkey=甲\r\n");
  EXPECT_EQ(IniReadString(gbk, "乚乚", "KEY", "?"), "甲");
}

// The committed file: section [sfz], six-digit keys in order, each once, GBK place names.
TEST(RegionFile, CommittedFileShape) {
  const std::string dir = CommittedDataDir();
  ASSERT_FALSE(dir.empty());
  std::ifstream in(dir + "/sfz.dll", std::ios::binary);
  ASSERT_TRUE(in) << dir << "/sfz.dll";
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t start = 0, codes = 0;
  bool inSection = false;
  std::string last;
  while (start < data.size()) {
    const size_t end = data.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    const std::string line = data.substr(start, end - start);
    start = end + 2;
    ASSERT_EQ(line.find('\n'), std::string::npos);
    if (line[0] == ';') continue;
    if (!inSection) {
      ASSERT_EQ(line, "[sfz]");
      inSection = true;
      continue;
    }
    const size_t eq = line.find('=');
    ASSERT_EQ(eq, 6u) << line;
    const std::string code = line.substr(0, 6), place = line.substr(7);
    ASSERT_TRUE(IsAllDigits(code)) << line;
    ASSERT_NE(code[4], '7') << line;  // no statistical zone
    ASSERT_GT(code, last) << "codes in order, each once";
    last = code;
    ASSERT_FALSE(place.empty()) << line;
    ASSERT_EQ(GbkToUtf8(place).find('?'), std::string::npos) << line;
    ASSERT_EQ(IdRegion(dir + "/sfz.dll", code), place);
    ++codes;
  }
  EXPECT_GT(codes, 3500u);
  const struct {
    const char* code;
    const char* place;
  } known[] = {
      {"110000", "北京市"},
      {"110105", "北京市朝阳区"},
      {"110103", "北京市崇文区"},  // historical
      {"110228", "北京市密云县"},  // historical: 110118 密云区 since 2015
      {"110118", "北京市密云区"},
      {"510104", "四川省成都市锦江区"},
      {"510124", "四川省成都市郫县"},
      {"510117", "四川省成都市郫都区"},  // newer than the 2016 revision
      {"429004", "湖北省仙桃市"},
      {"441900", "广东省东莞市"},
      {"500101", "重庆市万州区"},
      {"650000", "新疆维吾尔自治区"},
      // Codes of 2021 and later.
      {"330113", "浙江省杭州市临平区"},
      {"350405", "福建省三明市沙县区"},
      {"540581", "西藏自治区山南市错那市"},
      {"654203", "新疆维吾尔自治区塔城地区沙湾市"},
      {"659012", "新疆维吾尔自治区白杨市"},  // under the region directly
      {"410307", "河南省洛阳市偃师区"},      // a code given anew: its newest name
      // Statistical zones (county codes 71-79) are on no card.
      {"130171", "未知地址"},
      {"140971", "未知地址"},
  };
  for (const auto& k : known) EXPECT_EQ(IdRegion(dir + "/sfz.dll", k.code), k.place) << k.code;
}
