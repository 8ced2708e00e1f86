// Pinyin (item 39): the fixed polyphones, the data file's search on files the tests write,
// files that cannot be read, and the committed data file itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/engine/dispatcher.h"
#include "core/codepage.h"
#include "core/mekerror.h"
#include "core/mekstr.h"
#include "itemcases.h"

namespace {

const std::string FileName = "/mekpy0_4.dll";

std::string SourceRoot() {
  std::string root = __FILE__;
  return root.erase(root.rfind("/tests/engine/"));
}

// A folder under /tmp, removed with what it holds.
struct TTempDir {
  std::string Path;
  TTempDir() {
    char name[] = "/tmp/orvex-pinyin-XXXXXX";
    Path = mkdtemp(name);
  }
  ~TTempDir() {
    chmod(Path.c_str(), 0755);
    nftw(Path.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); },
         8, FTW_DEPTH | FTW_PHYS);
  }
};

// One record: character (GBK), pinyin text, and the length byte (the text's length unless
// given).
struct FRecord {
  std::string Char, Pinyin;
  int Length = -1;
};

std::string RecordBytes(const FRecord& r) {
  std::string rec(14, '\0');
  rec[0] = 2;
  rec[1] = r.Char[0];
  rec[2] = r.Char.size() > 1 ? r.Char[1] : '\0';
  rec[3] = static_cast<char>(r.Length >= 0 ? r.Length : static_cast<int>(r.Pinyin.size()));
  rec.replace(4, r.Pinyin.size(), r.Pinyin);
  return rec.substr(0, 14);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void WriteRecords(const std::string& dir, const std::vector<FRecord>& records) {
  std::string bytes;
  for (const FRecord& r : records) bytes += RecordBytes(r);
  WriteFile(dir + FileName, bytes);
}

// The i-th of a run of GBK characters two keys apart, 0x81A1, 0x81A3, ..., below the
// polyphones (from 0xB6BC on) for the first 2000.
std::string Nth(int i) {
  const int cell = 2 * i;
  return {static_cast<char>(0x81 + cell / 90), static_cast<char>(0xA1 + cell % 90)};
}

struct FLineCase {
  const char* typed;
  const char* line;  // the input line afterwards; never a message
};

// "=" on item 39 with the data files of dir.
template <size_t N>
void RunPinyinCases(const std::string& dir, const FLineCase (&cases)[N]) {
  for (const FLineCase& c : cases) {
    TRecordingDialogs dialogs;
    TDispatcher calc;
    calc.DataDir = dir;
    calc.ItemIndex = 39;
    calc.Edit1Text = c.typed;
    calc.Button20Click();
    EXPECT_EQ(calc.Edit1Text, c.line) << GbkToUtf8(c.typed) << " in " << dir;
    EXPECT_TRUE(dialogs.Messages.empty()) << GbkToUtf8(c.typed);
  }
}

}  // namespace

TEST(PinyinItem, PolyphonesWithAndWithoutTheDataFile) {
  TTempDir empty;
  const FLineCase cases[] = {
      {"人", "rén"},
      {"做作", "zuò zuò"},
      {"都督", "dōu dū"},
      {"人仁作做都督", "rén rén zuò zuò dōu dū"},
  };
  RunPinyinCases(DefaultDataDir(), cases);
  RunPinyinCases(empty.Path, cases);
}

TEST(PinyinItem, CharactersFromTheDataFile) {
  // 巳 首 髯 龆 级 are the byte pairs across the character boundaries of 人仁作做都督.
  const FItemCase cases[] = {
      {39, "巳", "sì", nullptr},
      {39, "首", "shǒu", nullptr},
      {39, "髯", "rán", nullptr},
      {39, "龆", "tiáo", nullptr},
      {39, "级", "jí", nullptr},
      {39, "中华人民共和国", "zhōng huá rén mín gòng hé guó", nullptr},
      {39, "abc", "abc", nullptr},  // no character has a pinyin: the line is kept
      {39, "", "", nullptr},
      {39, "中国abc", "zhōng guó   ", nullptr},
      {39, "ａ中　国", " zhōng  guó", nullptr},  // full-width a and blank become ASCII first
      {39, "中\x81", "zhōng", nullptr},          // a lone lead byte at the end is no character
  };
  RunItemCases(cases);
  TTempDir empty;
  const FLineCase withoutFile[] = {{"巳首", "巳首"}, {"中国abc", "中国abc"}};
  RunPinyinCases(empty.Path, withoutFile);
}

TEST(PinyinItem, CharacterMissingFromTheFile) {
  TTempDir dir;
  WriteRecords(dir.Path, {{"中", "zhōng"}});
  const FLineCase cases[] = {{"中国", "zhōng "}, {"国中", " zhōng"}, {"国", "国"}};
  RunPinyinCases(dir.Path, cases);
}

TEST(PinyinText, OnePassGivesWhatCharCountAndMidCharsGive) {
  const std::string dir = DefaultDataDir();
  const std::string texts[] = {
      "中文ab", "\x81\x40" "a中", "a\x81\x40\x81", "\xA3\xB1\xA3", "\x81\x40\x41\xB0\xA1z",
      "\xFE\xFE\xFE", "人\x81", "\x80\xFF中", std::string("a\0b", 3),
  };
  for (const std::string& t : texts) {
    std::string expected;
    for (int i = 1; i <= CharCount(t); ++i) {
      if (i > 1) expected += ' ';
      expected += PinyinOfChar(MidChars(t, i, 1), dir);
    }
    EXPECT_EQ(PinyinOfText(t, dir), expected) << GbkToUtf8(t);
  }
}

TEST(PinyinFile, SearchFindsEveryKeyWhateverTheNumberOfRecords) {
  for (int n : {1, 2, 3, 4, 5, 7, 8, 15, 16, 17, 100, 1001}) {
    TTempDir dir;
    std::vector<FRecord> records;
    for (int i = 0; i < n; ++i) records.push_back({Nth(i), "p" + std::to_string(i)});
    WriteRecords(dir.Path, records);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(PinyinOfChar(Nth(i), dir.Path), "p" + std::to_string(i)) << n << " records";
      std::string between = Nth(i);
      ++between[1];  // one key above record i: not in the file
      ASSERT_EQ(PinyinOfChar(between, dir.Path), "") << n << " records";
    }
    EXPECT_EQ(PinyinOfChar("\x81\x40", dir.Path), "") << "below the first, " << n;
    EXPECT_EQ(PinyinOfChar("a", dir.Path), "") << "a one-byte key, " << n;
  }
  TTempDir empty;
  WriteFile(empty.Path + FileName, "");
  EXPECT_EQ(PinyinOfText("中a", empty.Path), " ");
}

TEST(PinyinFile, LargerThanAnySortedFileStillSearched) {
  // 80,000 records over 65,536 possible keys: read record by record, not whole.
  TTempDir dir;
  std::string bytes;
  const int n = 80000;
  for (int i = 0; i < n; ++i) {
    const int key = 0x8140 + static_cast<int>(static_cast<long>(i) * (0xFEFE - 0x8140) / n);
    const std::string c{static_cast<char>(key >> 8), static_cast<char>(key & 0xFF)};
    bytes += RecordBytes({c, "k" + std::to_string(key)});
  }
  WriteFile(dir.Path + FileName, bytes);
  for (int key : {0x8140, 0x9000, 0xB0A1, 0xD6D0, 0xFEFD}) {
    const std::string c{static_cast<char>(key >> 8), static_cast<char>(key & 0xFF)};
    EXPECT_EQ(PinyinOfChar(c, dir.Path), "k" + std::to_string(key)) << std::hex << key;
  }
}

TEST(PinyinFile, LengthByteBeyondTheRecordGivesNoText) {
  TTempDir dir;
  WriteRecords(dir.Path, {{Nth(0), "zhuangzhua"},          // 10 bytes: the whole field
                          {Nth(1), "abcdefghij", 11},      // would run into the next record
                          {Nth(2), "nextrecord"},
                          {Nth(3), "", 0},
                          {Nth(4), "xyz", 255}});
  const std::string expected[] = {"zhuangzhua", "", "nextrecord", "", ""};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(PinyinOfText(Nth(i), dir.Path), expected[i]) << i;
}

TEST(PinyinFile, RewrittenFileIsReadAgain) {
  TTempDir dir;
  WriteRecords(dir.Path, {{"中", "one"}});
  EXPECT_EQ(PinyinOfText("中", dir.Path), "one");
  WriteRecords(dir.Path, {{"中", "two"}});
  EXPECT_EQ(PinyinOfText("中", dir.Path), "two");
}

TEST(PinyinFile, ReadOnlyCopyServes) {
  TTempDir dir;
  WriteRecords(dir.Path, {{"中", "zhōng"}, {"国", "guó"}});
  ASSERT_EQ(chmod((dir.Path + FileName).c_str(), 0444), 0);
  ASSERT_EQ(chmod(dir.Path.c_str(), 0555), 0);  // as installed: nothing there is writable
  EXPECT_EQ(PinyinOfText("中国", dir.Path), "zhōng guó");
  if (geteuid() != 0) return;
  // Root may open any file for writing; an unprivileged user may not, so look it up as one.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    if (access((dir.Path + FileName).c_str(), W_OK) == 0) _exit(3);
    _exit(PinyinOfText("中国", dir.Path) == "zhōng guó" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not drop privileges, 3: still writable";
}

TEST(PinyinFile, DataFileThatCannotBeReadLeavesTheLineAlone) {
  TTempDir folder, fifo;
  ASSERT_EQ(mkdir((folder.Path + FileName).c_str(), 0755), 0);
  ASSERT_EQ(mkfifo((fifo.Path + FileName).c_str(), 0644), 0);
  const FLineCase cases[] = {
      {"中国", "中国"}, {"abc", "abc"}, {"人", "rén"},  // the polyphone needs no file
      {"人中", "人中"},
  };
  for (const std::string& dir : {folder.Path, fifo.Path}) {
    RunPinyinCases(dir, cases);
    EXPECT_THROW(PinyinOfChar("中", dir), EMekError) << dir;
  }
}

TEST(PinyinDataFile, CommittedFileKeepsItsLayout) {
  std::ifstream in(SourceRoot() + "/data" + FileName, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(bytes.size() % 14, 0u);
  ASSERT_GT(bytes.size() / 14, 20000u);
  auto u = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  unsigned previous = 0;
  for (size_t r = 0; r < bytes.size(); r += 14) {
    const unsigned key = u(r + 1) * 256u + u(r + 2), length = u(r + 3);
    const std::string text = bytes.substr(r + 4, length);
    SCOPED_TRACE(testing::Message() << std::hex << key << " " << GbkToUtf8(text));
    ASSERT_EQ(u(r), 2);
    ASSERT_TRUE(IsLeadByte(u(r + 1)) && u(r + 2) >= 0x40 && u(r + 2) != 0x7F && u(r + 2) != 0xFF);
    ASSERT_GT(key, previous);
    previous = key;
    ASSERT_GE(length, 1u);
    ASSERT_LE(length, 10u);
    ASSERT_EQ(bytes.substr(r + 4 + length, 10 - length), std::string(10 - length, '\0'));
    // Letters a-z and the row-8 marks: ā..ǜ (tone marks), ü ê, ń ň (tone marks).
    int tones = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char b = text[i];
      if (b >= 'a' && b <= 'z') continue;
      ASSERT_EQ(b, 0xA8);
      ASSERT_LT(i + 1, text.size());
      const unsigned char t = text[++i];
      ASSERT_TRUE((t >= 0xA1 && t <= 0xBA) || t == 0xBD || t == 0xBE);
      tones += t != 0xB9 && t != 0xBA;
    }
    ASSERT_LE(tones, 1);
    ASSERT_EQ(GbkToUtf8(text).find('?'), std::string::npos);
  }
}

TEST(PinyinDataFile, CommittedFileGivesTheCommonReadings) {
  const std::string data = SourceRoot() + "/data";
  const struct {
    const char *c, *pinyin;
  } cases[] = {
      {"长", "cháng"}, {"地", "dì"},  {"行", "xíng"},  {"了", "le"},   {"的", "de"},
      {"中", "zhōng"}, {"国", "guó"}, {"好", "hǎo"},   {"还", "hái"},  {"重", "zhòng"},
      {"和", "hé"},    {"乐", "lè"},  {"为", "wèi"},   {"得", "dé"},   {"绿", "lǜ"},
      {"女", "nǚ"},    {"略", "lüè"}, {"嗯", "ńg"},    {"〇", "líng"},
  };
  for (const auto& c : cases) EXPECT_EQ(PinyinOfChar(c.c, data), c.pinyin) << GbkToUtf8(c.c);
}

namespace {

// A fixed time an hour back, for the access and modification times of a file.
void SetTimesBack(const std::string& path) {
  static const timespec past{time(nullptr) - 3600, 0};
  const timespec times[2] = {past, past};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

}  // namespace

TEST(PinyinFile, KeptRecordsGiveWayToAChangedFile) {
  // Records are kept once the file has been left alone for a few seconds; each change
  // then keeps the size, and the rewrites put the modification time back where it was:
  // the change time, the inode or the file's absence tells the change.
  struct {
    const char* how;
    void (*change)(const std::string& dir);
    const char* after;  // null: raises
  } cases[] = {
      {"rewritten in place",
       [](const std::string& dir) {
         WriteRecords(dir, {{"中", "two"}});
         SetTimesBack(dir + FileName);
       },
       "two"},
      {"replaced by another file",
       [](const std::string& dir) {
         WriteRecords(dir, {{"中", "new"}});
         ASSERT_EQ(rename((dir + FileName).c_str(), (dir + "/old").c_str()), 0);
         WriteRecords(dir, {{"中", "two"}});
         SetTimesBack(dir + FileName);
       },
       "two"},
      {"removed", [](const std::string& dir) { remove((dir + FileName).c_str()); }, ""},
      {"made a folder",
       [](const std::string& dir) {
         remove((dir + FileName).c_str());
         ASSERT_EQ(mkdir((dir + FileName).c_str(), 0755), 0);
       },
       nullptr},
  };
  std::vector<TTempDir> dirs(std::size(cases));
  for (const TTempDir& dir : dirs) {
    WriteRecords(dir.Path, {{"中", "one"}});
    SetTimesBack(dir.Path + FileName);
  }
  sleep(3);  // past the settling time of the files' change times
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string& dir = dirs[i].Path;
    for (int read = 0; read < 2; ++read) ASSERT_EQ(PinyinOfText("中", dir), "one") << cases[i].how;
    cases[i].change(dir);
    if (cases[i].after)
      EXPECT_EQ(PinyinOfText("中", dir), cases[i].after) << cases[i].how;
    else
      EXPECT_THROW(PinyinOfText("中", dir), EMekError) << cases[i].how;
  }
}
