// Stroke counts and radicals (items 12 and 13), the tables behind them, and the name
// relationship (item 34) that sums stroke counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "core/codepage.h"
#include "core/mekerror.h"
#include "core/mekstr.h"
#include "everyday/mekshenghuo.h"
#include "everyday/relationship_table.h"
#include "hanzi/hanzi_tables.h"
#include "hanzi/mekhanzistr.h"
#include "itemcases.h"

namespace {

// The radical forms filed among the level-2 characters: counted like any character.
const std::string RadicalForms =
    "丨丿丶匚刂冂亻勹亠冫冖讠卩阝廴凵艹廾尢扌囗彡犭夂饣忄丬氵宀辶彐屮纟攵灬礻肀钅疒衤虍";

int CellIndex(const std::string& gbk) {
  return (static_cast<unsigned char>(gbk[0]) - 0xB0) * 94 + (static_cast<unsigned char>(gbk[1]) - 0xA1);
}

}  // namespace

TEST(StrokeTable, WellKnownEntries) {
  const struct {
    const char* text;
    int strokes;
  } cases[] = {
      {"啊", 10}, {"阿", 7}, {"一", 1}, {"乙", 1}, {"二", 2}, {"三", 3}, {"水", 4}, {"中", 4},
      {"国", 8},  {"的", 8}, {"是", 9}, {"爱", 10}, {"鼍", 20}, {"齄", 23}, {"爨", 30},
      {"范", 8},  {"骨", 9},  // simplified counts where the traditional forms differ
      {"座", 10}, {"亍", 3},  // the last of level 1 and the first of level 2 (0xD7F9, 0xD8A1)
  };
  for (const auto& c : cases) EXPECT_EQ(HanziStrokeCount(c.text), c.strokes) << c.text;
  EXPECT_EQ(CellIndex("啊"), 0);
  EXPECT_EQ(CellIndex("齄"), StrokeTableSize - 1);
  int largest = 0;
  for (uint8_t n : HanziStrokeTable) largest = std::max<int>(largest, n);
  EXPECT_EQ(largest, 30);
}

TEST(StrokeTable, ZeroExactlyForUnassignedCells) {
  std::set<int> expected;
  for (int trail = 0xFA; trail <= 0xFE; ++trail)
    expected.insert(CellIndex(std::string{'\xD7', static_cast<char>(trail)}));
  // A radical form has the strokes it is written with: 丨 one, 艹 three, 虍 six.
  ASSERT_EQ(RadicalForms.size(), 82u);
  for (size_t i = 0; i < RadicalForms.size(); i += 2) {
    const std::string form = RadicalForms.substr(i, 2);
    EXPECT_GE(HanziStrokeCount(form), 1) << form;
    EXPECT_LE(HanziStrokeCount(form), 6) << form;
  }
  EXPECT_EQ(HanziStrokeCount("丨"), 1);
  EXPECT_EQ(HanziStrokeCount("艹"), 3);
  EXPECT_EQ(HanziStrokeCount("虍"), 6);
  std::set<int> zeros;
  for (int i = 0; i < StrokeTableSize; ++i)
    if (HanziStrokeTable[i] == 0) zeros.insert(i);
  EXPECT_EQ(zeros, expected);
}

TEST(HanziStrokeCount, OutsideTheTable) {
  const struct {
    std::string text;
    int strokes;
  } cases[] = {
      {"A", -1},
      {"7", -1},
      {"\xB0", -1},          // a lead byte alone
      {"、", -1},            // GB2312 punctuation, lead byte below the hanzi area
      {"國", -1},            // GBK outside GB2312: trail byte below 0xA1
      {"\xB0\x40", -1},
      {"\xF8\xA1", -1},      // lead byte past the hanzi area
      {"\xFE\x50", -1},
      {"\xFF\xA1", -1},
      {"\xB0\xFF", -1},
      {"\xB0\xA1\x41", 10},  // only the first character counts
      {"的确", 8},
  };
  for (const auto& c : cases) EXPECT_EQ(HanziStrokeCount(c.text), c.strokes) << c.text;
  EXPECT_THROW(HanziStrokeCount(""), EMekError);
}

TEST(RadicalTable, CoversTheUnifiedIdeographsInOrder) {
  ASSERT_EQ(RadicalTable.size(), 228u);
  unsigned next = 0x4E00;
  for (size_t i = 0; i < RadicalTable.size(); ++i) {
    const FRadicalRange& row = RadicalTable[i];
    EXPECT_EQ(row.First, next) << "row " << i + 1;  // no gap, no overlap
    EXPECT_LE(row.First, row.Last) << "row " << i + 1;
    const std::string radical = row.Radical;
    EXPECT_LE(radical.size(), 5u) << "row " << i + 1;
    // One or two GBK characters, each a CJK character of three UTF-8 bytes.
    const std::string utf8 = GbkToUtf8(radical);
    EXPECT_TRUE(radical.size() == 2 || radical.size() == 4) << "row " << i + 1;
    EXPECT_EQ(utf8.size(), radical.size() / 2 * 3) << "row " << i + 1;
    EXPECT_EQ(utf8.find('?'), std::string::npos) << "row " << i + 1;
    next = row.Last + 1u;
  }
  EXPECT_EQ(next, 0x9FA6u);
  const struct {
    int row;
    const char* radical;
    unsigned first;
  } rows[] = {
      {1, "一", 0x4E00},    {11, "兑", 0x5151},   {19, "刂刀", 0x5200}, {59, "忄心", 0x5FC3},
      {62, "扌手", 0x624B}, {83, "火灬", 0x706B}, {119, "皿", 0x7F51},  {127, "月", 0x8089},
      {141, "彳", 0x884C},  {150, "豆", 0x8C46},  {151, "豆", 0x8C4A},  {165, "阝", 0x9091},
      {174, "阝", 0x961C},  {228, "龠", 0x9FA0},
  };
  for (const auto& r : rows) {
    EXPECT_STREQ(RadicalTable[r.row - 1].Radical, r.radical) << "row " << r.row;
    EXPECT_EQ(RadicalTable[r.row - 1].First, r.first) << "row " << r.row;
  }
}

TEST(HanziRadical, FirstCharacter) {
  const struct {
    std::string text;
    const char* radical;
  } cases[] = {
      {"啊", "口"},
      {"一", "一"},          // U+4E00, the first code point covered
      {"龥", "龠"},          // U+9FA5, the last
      {"国", "囗"},
      {"丨", "丨"},
      {"國", "囗"},          // traditional characters outside GB2312 are found too
      {"打", "扌手"},
      {"河", "氵"},
      {"热", "火灬"},
      {"网", "皿"},
      {"肉", "月"},
      {"行", "彳"},
      {"兑", "兑"},
      {"打开", "扌手"},      // only the first character counts
      {"A", ""},
      {"", ""},
      {"AB", ""},            // the first two bytes are two characters
      {"A打", ""},
      {"\xB4", ""},          // a lead byte alone
      {"\x80", ""},          // the euro sign
      {"、", ""},
      {Utf8ToGbk("\xE3\x90\x80"), ""},  // U+3400 of extension A: GBK lacks it, "?"
      {"\xFD\x9C", ""},       // compatibility ideograph U+F92C
      {"\xFE\x40", ""},       // compatibility ideograph U+FA0C
      {"\xFE\x50", ""},       // a private-use cell
  };
  for (const auto& c : cases) EXPECT_EQ(HanziRadical(c.text), c.radical) << c.text;
}

TEST(HanziItems, StrokesAndRadicals) {
  const char* const NoStrokes = "没有找到这个字的笔画";
  const FItemCase cases[] = {
      {12, "啊", "10", nullptr},   {12, "一", "1", nullptr},    {12, "国", "8", nullptr},
      {12, "丨", "1", nullptr},    {12, "的确", "8", nullptr},  {12, "", "", nullptr},
      // no count: told so, the line kept (no -1 strokes)
      {12, "A", "A", NoStrokes},  {12, "Ａ", "A", NoStrokes},  {12, "國", "國", NoStrokes},
      {13, "啊", "口", nullptr},   {13, "一", "一", nullptr},   {13, "国", "囗", nullptr},
      {13, "丨", "丨", nullptr},   {13, "A", "A", nullptr},     {13, "國", "囗", nullptr},
      {13, "打", "扌手", nullptr}, {13, "河", "氵", nullptr},   {13, "热", "火灬", nullptr},
      {13, "", "", nullptr},
  };
  RunItemCases(cases);
}

TEST(NameRelationship, PhrasesByStrokeDifference) {
  const struct {
    const char* first;
    const char* second;
    const char* phrase;
  } cases[] = {
      {"张三", "李四", "水火不容"},       // 10 and 12
      {"李四", "张三", "水火不容"},
      {"张三", "张三", "亲密无比"},
      {"张三", "李四+王五", "情投意合"},  // "+" counts -1: 19
      {"张三 丰", "李四", "永远和你在一起"},  // the blank counts -1: 13
      {"丨丨丨丨丨丨丨丨丨", "", "情投意合"},  // radical forms count their strokes: 9
      {"國", "", "永远和你在一起"},       // outside the table: -1
      {"爨", "乙乙乙乙乙", "恨你又爱你"},  // 25
      {"爨", "水", "未知关系"},           // 26
      {"爨爨", "A", "未知关系"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NameRelationship(c.first, c.second), c.phrase) << c.first << "+" << c.second;
}

// The stroke sum walks a name once; it must take the characters exactly as counting them
// with CharCount and taking each with MidChars does, lone and odd lead bytes included.
TEST(NameRelationship, SameAsCountingCharacterByCharacter) {
  const auto bySingleCharacters = [](const std::string& name) {
    int sum = 0;
    for (int i = 1; i <= CharCount(name); ++i) sum += HanziStrokeCount(MidChars(name, i, 1));
    return sum;
  };
  const char bytes[] = {'A', ' ', '+', '\x81', '\xA1', '\xB0', '\xB5', '\xD7', '\xF7', '\xFE', '\xFF', '\x40'};
  std::mt19937 random(12);
  for (int n = 0; n < 5000; ++n) {
    std::string a, b;
    for (int k = random() % 9; k > 0; --k) a += bytes[random() % sizeof bytes];
    for (int k = random() % 9; k > 0; --k) b += bytes[random() % sizeof bytes];
    const int d = std::abs(bySingleCharacters(a) - bySingleCharacters(b));
    const std::string expected = d <= 25 ? RelationshipPhrases[d] : UnknownRelationship;
    ASSERT_EQ(NameRelationship(a, b), expected) << GbkToUtf8(a) << "+" << GbkToUtf8(b);
  }
}

TEST(NameRelationshipItem, InputLine) {
  const char* const join = "请用+连接测试的两人姓名";
  const FItemCase cases[] = {
      {34, "张三+李四", "水火不容(仅供娱乐！)", nullptr},
      {34, "李四+张三", "水火不容(仅供娱乐！)", nullptr},
      {34, "王五+王五", "亲密无比(仅供娱乐！)", nullptr},
      {34, "张三+李四+王五", "情投意合(仅供娱乐！)", nullptr},
      {34, "张三 丰+李四", "永远和你在一起(仅供娱乐！)", nullptr},
      {34, "  张三\t+ 李四 ", "水火不容(仅供娱乐！)", nullptr},  // names trimmed
      {34, "张三＋李四", "水火不容(仅供娱乐！)", nullptr},       // full-width "+" too
      {34, "爨+水", "未知关系(仅供娱乐！)", nullptr},
      {34, "张三+", "张三+", nullptr},
      {34, "+李四", "+李四", nullptr},
      {34, " + ", " + ", nullptr},
      {34, "张三", "张三", join},
      {34, "", "", join},
  };
  RunItemCases(cases);
}

TEST(NameRelationship, LongNamesInOnePass) {
  std::string first, second;
  for (int i = 0; i < 200000; ++i) first += "一";
  for (int i = 0; i < 199999; ++i) second += "一";
  EXPECT_EQ(NameRelationship(first, first), "亲密无比");
  EXPECT_EQ(NameRelationship(first, second), "永远和你在一起");
}
