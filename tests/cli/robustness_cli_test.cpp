// Every offline item fed odd and random input through one batch calculator: each line
// must come back as a JSON record, and nothing may crash, hang or print inf or nan.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>

#include "clirun.h"

namespace {

// Items that reach the network or walk the disk, and item 16 (half a second of counting
// per "="), are exercised by their own tests.
const std::set<int> Excluded = {16, 17, 26, 27, 28, 29, 35, 40, 45, 46, 50, 56};

std::vector<std::string> OddInputs() {
  std::vector<std::string> v = {
      "", " ", "-", "--", "#", "-1", "0", "1e308", "1e309", "-1e400", "99999999999999999999",
      "2009-1-1", "2009-2-29", "2009-1-1 2008-5-10", "2009-1-1 -5", "0001-01-01 -1",
      "9999-12-31 1", "9999-12-31 2147483647", "2010-8-1 20:40#2010-7-20 10:30",
      "2010-8-1 99:99#x", "100,米,厘米", "1e308,千米,毫米", ",,", "1,2,3,4", "美国", "洛杉矶",
      "中", "中文", "(", ")", "1/0", "0/0", "２００９－１－１", "０", "。", "$FFFFFFFF",
      "235323.22", "-235323.22", "10000000000000000", "1e15", "-0", "nan", "inf", "0x10",
      "a\tb", "\xE4\xB8", "😀", std::string(3000, '9'), std::string(3000, '-'),
      std::string(2000, '(') + "1", "1-1-1-1-1-1", "2009-1-1-", "3-4", "58-1-1",
  };
  unsigned seed = 20261209;
  const char* pieces[] = {"1", "2", "9", "0", "-", "/", ".", " ", "#", ",", ":", "*", "+",
                          "年", "月", "中", "米", "e", "\xC3\xA9", "２", "　", "\\", "x"};
  for (int n = 0; n < 300; ++n) {
    std::string s;
    seed = seed * 1103515245 + 12345;
    const int len = (seed >> 16) % 16;
    for (int k = 0; k < len; ++k) {
      seed = seed * 1103515245 + 12345;
      s += pieces[(seed >> 16) % (sizeof pieces / sizeof *pieces)];
    }
    v.push_back(s);
  }
  return v;
}

}  // namespace

TEST(Robustness, EveryOfflineItemSurvivesOddInput) {
  std::string lines;
  int expected = 0;
  for (int item = -1; item <= 57; ++item) {
    if (Excluded.count(item)) continue;
    for (const std::string& text : OddInputs()) {
      std::string t = text;
      for (char& c : t)
        if (c == '\n') c = ' ';
      lines += std::to_string(item) + "\t" + t + "\n";
      ++expected;
    }
  }
  const FCliResult r = RunCalc({"--batch", "--answer", "no"}, lines);
  ASSERT_EQ(r.status, 0) << r.err;
  int got = 0;
  size_t start = 0;
  for (size_t nl; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1) {
    const auto j = nlohmann::json::parse(r.out.substr(start, nl - start));
    const std::string in = j["input"], out = j["output"];
    for (const char* word : {"inf", "nan"}) {
      if (in.find(word) == std::string::npos) {
        EXPECT_EQ(out.find(word), std::string::npos) << j.dump();
      }
    }
    ++got;
  }
  EXPECT_EQ(got, expected);
}
