// Wubi codes (item 38): the list file read into lines, the lookup rules, the item on
// lists written here and on the committed list, and the committed list's shape.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/engine/dispatcher.h"
#include "core/mekstr.h"
#include "testutil.h"

namespace {

// A folder of its own holding QueryWB.dll with the given content, removed afterwards.
class TListFolder {
public:
  TListFolder() {
    std::string pattern = testing::TempDir() + "wubiXXXXXX";
    Path = mkdtemp(pattern.data());
  }
  explicit TListFolder(const std::string& content) : TListFolder() {
    std::ofstream(Path + "/QueryWB.dll", std::ios::binary) << content;
  }
  ~TListFolder() { std::filesystem::remove_all(Path); }
  std::string Path;
};

// "=" on item 38 with the list of dataDir created first.
std::string RunItem38(const std::string& dataDir, const std::string& typed) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.DataDir = dataDir;
  calc.CreateWubiList();
  calc.ItemIndex = 38;
  calc.Edit1Text = typed;
  calc.Button20Click();
  EXPECT_TRUE(dialogs.Messages.empty()) << typed;
  return calc.Edit1Text;
}

struct FListCase {
  const char* list;   // the file's content
  const char* typed;
  const char* line;   // the input line afterwards
};

}  // namespace

TEST(WubiList, LineEnds) {
  const struct {
    const char* content;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"啊kbsk", {"啊kbsk"}},
      {"啊kbsk\r\n", {"啊kbsk"}},
      {"啊kbsk\r\n阿bs", {"啊kbsk", "阿bs"}},
      {"啊kbsk\r阿bs\n工aaaa\r\n", {"啊kbsk", "阿bs", "工aaaa"}},
      {"啊kbsk\n\r阿bs", {"啊kbsk", "", "阿bs"}},     // LF then a lone CR
      {"啊kbsk\r\r\n阿bs", {"啊kbsk", "", "阿bs"}},   // a lone CR then CR LF
      {"\r\n\r\n", {"", ""}},
  };
  for (const auto& c : cases) {
    TListFolder folder(c.content);
    EXPECT_EQ(TmekWB(folder.Path + "/QueryWB.dll").Lines, c.lines) << c.content;
  }
}

TEST(WubiList, UnreadableListIsEmpty) {
  TListFolder folder;
  EXPECT_TRUE(TmekWB(folder.Path + "/QueryWB.dll").Lines.empty());  // no such file
  EXPECT_TRUE(TmekWB(folder.Path).Lines.empty());                   // a folder
}

TEST(WubiItem, OnListsWrittenHere) {
  const FListCase cases[] = {
      // Only the first character counts.
      {"啊kbsk\r\n阿bs\r\n", "啊啊", "啊字五笔为：kbsk"},
      {"啊kbsk\r\n阿bs\r\n", "阿", "阿字五笔为：bs"},
      {"啊kbsk\r\n阿bs\r\n", "", "字五笔为："},
      {"啊kbsk\r\n阿bs\r\n", "工", "工字五笔为："},
      // Two lines for one character: the later one decides.
      {"啊kbsk\r\n阿bs\r\n啊kbs\r\n", "啊", "啊字五笔为：kbs"},
      // Letters have no Wubi code: they are not looked up in the codes of the lines.
      {"工aaaa\r\n粼oqab\r\n鞯afab\r\n的rqyy\r\n", "ab", "ab字五笔为："},
      {"啊kbsk\r\n工aaaa\r\n的rqyy\r\n", "a", "a字五笔为："},
      {"啊kbsk\r\n工aaaa\r\n", "xy", "xy字五笔为："},
      // An ASCII letter and a lead byte: the key keeps the half character.
      {"啊kbsk\r\n", "a啊", "a\xB0字五笔为："},
      // 靵 is EC 81 and 乤 is 81 61 ("a"): the line of 靵 holds 乤's bytes across its
      // second byte and its code, which is not 乤's line.
      {"乤ghnb\r\n靵afnf\r\n", "乤", "乤字五笔为：ghnb"},
      {"靵afnf\r\n", "乤", "乤字五笔为："},
      // The euro sign (80) is a character too: not found at the second byte of 亐 (81 80).
      {"\x81\x80" "fgh\r\n", "\x80", "\x80字五笔为："},
      {"乤ghnb\r\n靵afnf\r\n", "靵", "靵字五笔为：afnf"},
      // Lone CR and LF end lines: 阿 is not read out of 啊's line.
      {"啊kbsk\r阿bs\n工aaaa", "阿", "阿字五笔为：bs"},
      {"啊kbsk\r阿bs\n工aaaa", "工", "工字五笔为：aaaa"},
      {"啊kbsk\n阿bs\r工aaaa", "啊", "啊字五笔为：kbsk"},
      // Bytes 3 to 6: fewer on short lines, nothing after them.
      {"啊\r\n", "啊", "啊字五笔为："},
      {"啊k\r\n", "啊", "啊字五笔为：k"},
      {"啊kbskxyz\r\n", "啊", "啊字五笔为：kbsk"},
  };
  for (const FListCase& c : cases) {
    TListFolder folder(c.list);
    EXPECT_EQ(RunItem38(folder.Path, c.typed), c.line) << c.list << " [" << c.typed << "]";
  }
}

TEST(WubiItem, MissingOrAbsentList) {
  TListFolder empty;
  EXPECT_EQ(RunItem38(empty.Path, "啊"), "啊字五笔为：");  // no file: an empty list
  EXPECT_EQ(RunItem38(empty.Path, ""), "字五笔为：");

  // No list at all: nothing changes.
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = 38;
  for (const char* typed : {"啊", "", "ab"}) {
    calc.Edit1Text = typed;
    calc.Button20Click();
    EXPECT_EQ(calc.Edit1Text, typed);
  }
  TListFolder folder("啊kbsk\r\n");
  calc.DataDir = folder.Path;
  calc.CreateWubiList();
  calc.Edit1Text = "啊";
  calc.Button20Click();
  EXPECT_EQ(calc.Edit1Text, "啊字五笔为：kbsk");
  calc.ReleaseWubiList();
  calc.Edit1Text = "啊";
  calc.Button20Click();
  EXPECT_EQ(calc.Edit1Text, "啊");
  EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(WubiItem, CommittedList) {
  const char* const dataDir = std::getenv("ORVEX_DATA_DIR");
  ASSERT_TRUE(dataDir) << "ORVEX_DATA_DIR names the folder of the data files";
  const struct {
    const char* typed;
    const char* line;
  } cases[] = {
      {"啊", "啊字五笔为：kbsk"}, {"一", "一字五笔为：ggll"}, {"国", "国字五笔为：lgyi"},
      {"工", "工字五笔为：aaaa"}, {"的", "的字五笔为：rqyy"},
      {"ab", "ab字五笔为："},  // letters have no code (not 齹's, whose code holds ab)
      {"ＡＢ", "AB字五笔为："},     // full-width letters become ASCII; codes are lower case
      {"\x80", "\x80字五笔为："},    // the euro sign, a single byte outside ASCII
  };
  for (const auto& c : cases) EXPECT_EQ(RunItem38(dataDir, c.typed), c.line) << c.typed;
}

// Every character of the committed list finds its own line, even where its bytes also
// appear inside another line.
TEST(WubiItem, EveryCharacterFindsItsOwnCode) {
  const char* const dataDir = std::getenv("ORVEX_DATA_DIR");
  ASSERT_TRUE(dataDir);
  const TmekWB list(std::string(dataDir) + "/QueryWB.dll");
  ASSERT_GT(list.Lines.size(), 20000u);
  for (const std::string& line : list.Lines) {
    ASSERT_GE(line.size(), 3u);
    ASSERT_LE(line.size(), 6u);
    ASSERT_TRUE(IsLeadByte(static_cast<unsigned char>(line[0]))) << line;
    EXPECT_EQ(list.Lookup(line.substr(0, 2)), line.substr(2)) << line;
  }
}

// The committed list as the program reads it, whatever version of the Wubi table it was
// made from: CR LF lines of a GBK character and its code of one to four letters (no "z"
// first), in GBK order without repeats.
TEST(WubiItem, CommittedListHasItsShape) {
  const char* const dataDir = std::getenv("ORVEX_DATA_DIR");
  ASSERT_TRUE(dataDir);
  std::ifstream file(std::string(dataDir) + "/QueryWB.dll", std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(file), {}};
  ASSERT_TRUE(content.ends_with("\r\n"));
  std::string previous;
  size_t lines = 0;
  for (size_t at = 0; at < content.size(); ++lines) {
    const size_t end = content.find("\r\n", at);
    const std::string line = content.substr(at, end - at);
    at = end + 2;
    ASSERT_GE(line.size(), 3u) << lines;
    ASSERT_LE(line.size(), 6u) << line;
    const auto lead = static_cast<unsigned char>(line[0]), trail = static_cast<unsigned char>(line[1]);
    EXPECT_TRUE(lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) << line;
    EXPECT_TRUE(line[2] >= 'a' && line[2] <= 'y') << line;
    for (size_t i = 3; i < line.size(); ++i) EXPECT_TRUE(line[i] >= 'a' && line[i] <= 'z') << line;
    EXPECT_LT(previous, line.substr(0, 2)) << line;  // compared as unsigned bytes
    previous = line.substr(0, 2);
  }
  EXPECT_GT(lines, 20000u);
}

namespace {

// The lookup rules applied by searching every line from the end: what the index must give.
std::string ScanLookup(const std::vector<std::string>& lines, const std::string& key) {
  if (key.empty()) return {};
  const bool character = static_cast<unsigned char>(key[0]) >= 0x80;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const bool match = character ? line->compare(0, key.size(), key) == 0
                                 : line->find(key) != std::string::npos;
    if (match) return line->size() > 2 ? line->substr(2, 4) : std::string();
  }
  return {};
}

// Every key of one and two bytes the lines hold, at any position, and every ASCII key of
// one and two letters or digits.
std::vector<std::string> KeysOf(const std::vector<std::string>& lines) {
  std::vector<std::string> keys;
  for (const std::string& line : lines)
    for (size_t i = 0; i < line.size(); ++i) {
      keys.push_back(line.substr(i, 1));
      if (i + 1 < line.size()) keys.push_back(line.substr(i, 2));
    }
  const std::string ascii = "abcdefghijklmnopqrstuvwxyz0123456789 ";
  for (char a : ascii) {
    keys.push_back(std::string(1, a));
    for (char b : ascii) keys.push_back(std::string{a, b});
  }
  return keys;
}

}  // namespace

TEST(WubiIndex, GivesWhatTheScanGivesOnTheCommittedList) {
  const char* const dataDir = std::getenv("ORVEX_DATA_DIR");
  ASSERT_TRUE(dataDir);
  const TmekWB list(std::string(dataDir) + "/QueryWB.dll");
  ASSERT_GT(list.Lines.size(), 20000u);
  for (const std::string& key : KeysOf(list.Lines))
    ASSERT_EQ(list.Lookup(key), ScanLookup(list.Lines, key)) << "[" << key << "]";
}

TEST(WubiIndex, GivesWhatTheScanGivesOnOddLists) {
  const char* const lists[] = {
      "",
      "\r\n\r\n",
      "啊\r\n啊k\r\n",                             // short lines
      "ab\r\nxabcd\r\n啊ab\r\n",                    // lines that begin in ASCII
      "乤ghnb\r\n靵afnf\r\n\x81\x80" "fgh\r\n\x80zz\r\n",  // second bytes in and out of ASCII
      "a\xB0xy\r\n啊kbsk\r\n\xB0\r\n",             // an ASCII letter before a lead byte
      "啊kbsk\r\n啊kbs\r\n阿bs\r\n啊kb\r\n",        // the last line decides
  };
  for (const char* content : lists) {
    TListFolder folder(content);
    const TmekWB list(folder.Path + "/QueryWB.dll");
    std::vector<std::string> keys = KeysOf(list.Lines);
    for (const char* extra : {"", "啊啊", "a\xB0", "\x80", "\xB0", "kbsk", "啊kb", "abc"})
      keys.push_back(extra);
    for (const std::string& key : keys)
      EXPECT_EQ(list.Lookup(key), ScanLookup(list.Lines, key)) << content << " [" << key << "]";
  }
}
