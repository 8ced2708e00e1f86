// GBK text primitives, on the byte strings the engine works with.
#include <gtest/gtest.h>

#include "core/codepage.h"
#include "core/halfwidth_table.h"
#include "core/mekdatetime.h"
#include "core/mekstr.h"

TEST(HalfWidth, TableFollowsTheRuleWithFourExceptions) {
  for (int c = 0x20; c <= 0x7E; ++c) {
    const auto e = HalfWidthTable[c - 0x20];
    std::string full{static_cast<char>(e.lead), static_cast<char>(e.trail)};
    EXPECT_EQ(ToHalfWidth(full), std::string(1, static_cast<char>(c))) << c;
  }
  EXPECT_EQ(ToHalfWidth("　＄。～"), " $.~");
  EXPECT_EQ(ToHalfWidth("！０Ａａ｝"), "!0Aa}");
}

TEST(HalfWidth, Conversions) {
  struct {
    std::string in, out;
  } cases[] = {
      {"１２３。４５＋（６）", "123.45+(6)"},
      {"．×￥￣", "．×￥￣"},  // not in the table, stay as they are
      {"plain ascii 1+2", "plain ascii 1+2"},
      {"中文ａｂｃ中", "中文abc中"},
      {"", ""},
      {std::string("\xA3\xB1\xA3", 3), std::string("1\xA3", 2)},  // lead byte at the end kept
      {std::string("\x80\xA3\xB1", 3), std::string("\x80", 1) + "1"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToHalfWidth(c.in), c.out) << GbkToUtf8(c.in);
}

TEST(ReplaceAll, Cases) {
  struct {
    std::string text, from, to, out;
  } cases[] = {
      {"Abc-abc", "B", "x", "Axc-axc"},
      {"aaa", "aa", "b", "ba"},
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"1-2-3", "-", "-", "1-2-3"},
      {"a/b/c", "/", "-", "a-b-c"},
      {"(-1)*(-2)", "(-", "(0-", "(0-1)*(0-2)"},
      // 0xB6A1 then the ideographic space 0xA1A1: the match may not start on the trail byte
      {"\xB6\xA1\xA1\xA1", "\xA1\xA1", "X", "\xB6\xA1X"},
      {"中文中文", "文", "字", "中字中字"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.out) << c.text;
}

TEST(FindText, MatchesStartOnACharacterBoundary) {
  const struct {
    std::string text, pattern;
    size_t at;
  } cases[] = {
      {"中国|Beijing 北京|0", "北京", 13},
      {"中国|Beijing 北京|0", "|0", 17},
      {"中国|Beijing 北京|0", "Bei", 5},
      {"中国|Beijing 北京|0", "bei", std::string::npos},  // case-sensitive
      {"中国", "泄", std::string::npos},                  // D0 B9: the middle of D6 D0 B9 FA
      {"\xB6\xA1\xA1\xA1", "\xA1\xA1", 2},             // not on the trail byte 0xA1 at 1
      {"中文中文", "文", 2},
      {"abc", "", 0},
      {"", "a", std::string::npos},
      {"ab", "abc", std::string::npos},
      {std::string("a\xB0", 2), "\xB0", 1},  // a lead byte that ends the text starts there
  };
  for (const auto& c : cases) EXPECT_EQ(FindText(c.text, c.pattern), c.at) << GbkToUtf8(c.text);
}

TEST(SplitText, Cases) {
  struct {
    std::string text;
    Fmekfenjiestr parts;
  } cases[] = {
      {"a,b,,c,", {"a", "b", "", "c", ""}},
      {",", {"", ""}},
      {"abc", {"abc"}},
      {"", {""}},
      {",a", {"", "a"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, ','), c.parts) << c.text;
    EXPECT_EQ(FieldCount(c.text, ','), static_cast<int>(c.parts.size())) << c.text;
  }
}

TEST(CharPositions, CountBytePosAndMid) {
  EXPECT_EQ(CharCount(""), 0);
  EXPECT_EQ(CharCount("ab中文"), 4);
  EXPECT_EQ(CharCount("中a文b"), 4);
  EXPECT_EQ(CharBytePos("ab", 3), 3);
  EXPECT_EQ(CharBytePos("ab", 4), 0);
  EXPECT_EQ(CharBytePos("", 1), 1);
  EXPECT_EQ(CharBytePos("中文", 2), 3);
  EXPECT_EQ(CharBytePos("a中文", 3), 4);
  struct {
    std::string text;
    int start, count;
    std::string out;
  } mids[] = {
      {"中文", 2, 1, "文"}, {"中文", 3, 1, ""},  {"中文", 2, 5, "文"},
      {"中文", 1, 1, "中"}, {"a中b", 2, 1, "中"}, {"a中b", 3, 1, "b"},
      {"", 1, 1, ""},       {"中文", 0, 1, ""},
  };
  for (const auto& m : mids)
    EXPECT_EQ(MidChars(m.text, m.start, m.count), m.out) << m.start << "," << m.count;
}

// A lead byte and the byte after it are one character, also where that byte is below 0x80
// as in GBK's extension characters (丂 is 81 40, 這 DF 40): none is lost or split. A lead
// byte that ends the text is half a character and counts as none.
TEST(CharPositions, SecondBytesBelow0x80) {
  struct {
    std::string text;
    std::vector<std::string> chars;
    int next;  // CharBytePos of the character after the last
  } cases[] = {
      {"丂中", {"丂", "中"}, 5},
      {"這個國家", {"這", "個", "國", "家"}, 9},
      {"中亅文", {"中", "亅", "文"}, 7},
      {"a\x81\x5C" "b", {"a", "\x81\x5C", "b"}, 5},
      {"a\xB0", {"a"}, 2},
      {"\x81\x81\x81", {"\x81\x81"}, 3},
  };
  for (const auto& c : cases) {
    const int count = static_cast<int>(c.chars.size());
    EXPECT_EQ(CharCount(c.text), count) << c.text;
    for (int i = 1; i <= count; ++i)
      EXPECT_EQ(MidChars(c.text, i, 1), c.chars[i - 1]) << c.text << " " << i;
    EXPECT_EQ(MidChars(c.text, count + 1, 1), "") << c.text;
    EXPECT_EQ(CharBytePos(c.text, count + 1), c.next) << c.text;
  }
}

TEST(DeleteSpans, Cases) {
  struct {
    std::string text, open, close, out;
  } cases[] = {
      {"a<b>c<d", "<", ">", "acd"},
      {"x>y", "<", ">", "xy"},
      {"<a><b>text</b></a>", "<", ">", "text"},
      {"<!--x-->y<!--z", "<!--", "-->", "yz"},
      {"plain", "<", ">", "plain"},
      {"<<>>", "<", ">", ""},
      {"a<b", "", ">", "a<b"},
  };
  for (const auto& c : cases) EXPECT_EQ(DeleteSpans(c.text, c.open, c.close), c.out) << c.text;
}

TEST(DeleteSpans, LongTextOfMarkersFinishesQuickly) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += (i % 3 == 0) ? "<a" : "b>";
  const std::string out = DeleteSpans(text, "<", ">");
  EXPECT_EQ(out.find('<'), std::string::npos);
  EXPECT_EQ(out.find('>'), std::string::npos);
}

TEST(FormatStamp, Layouts) {
  const double t = EncodeDate(2009, 1, 5) + EncodeTime(8, 7, 6, 42);
  EXPECT_EQ(FormatStamp(1, t), "2009-01-05");
  EXPECT_EQ(FormatStamp(2, t), "08:07:06");
  EXPECT_EQ(FormatStamp(3, t), "2009-01-05 08:07:06");
  EXPECT_EQ(FormatStamp(0, t), "2009-01-05 08:07:06 042");
  EXPECT_EQ(FormatStamp(4, t), "2009-01-05 08:07:06 042");
  EXPECT_EQ(FormatStamp(-7, t), "2009-01-05 08:07:06 042");
}

TEST(TrimText, BlanksAndControls) {
  EXPECT_EQ(TrimText(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_EQ(TrimText("中 "), "中");
}

TEST(CodePage, BothDirectionsAreTotal) {
  EXPECT_EQ(GbkToUtf8("中a"), "\xE4\xB8\xAD" "a");
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8("中文ａｂ。")), "中文ａｂ。");
  // A character GBK lacks, and bytes that do not decode, become "?".
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("a\xFF" "b"), "a?b");
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a?b");
  EXPECT_EQ(GbkToUtf8(std::string("a\xB0", 2)), "a?");
  EXPECT_EQ(GbkToUtf8(std::string("x\0y", 3)), std::string("x\0y", 3));
}

// The cut-and-search-again rule, written the slow way: after every deletion both markers
// are searched from the start of the shortened text.
static std::string SlowDeleteSpans(std::string s, const std::string& open, const std::string& close) {
  for (;;) {
    const size_t p = s.find(open), q = s.find(close);
    if (p == std::string::npos && q == std::string::npos) return s;
    if (p != std::string::npos && q != std::string::npos && q >= p) s.erase(p, q + close.size() - p);
    else if (q != std::string::npos) s.erase(q, close.size());
    else s.erase(p, open.size());
  }
}

TEST(DeleteSpans, AgreesWithTheSlowRuleOnRandomTexts) {
  const std::pair<std::string, std::string> markers[] = {
      {"<", ">"}, {"<!--", "-->"}, {"ab", "ba"}, {"aa", "a"}, {"[[", "]"}, {"x", "xx"}};
  unsigned seed = 12345;
  for (const auto& [open, close] : markers) {
    for (int n = 0; n < 3000; ++n) {
      std::string t;
      const int len = static_cast<int>((seed = seed * 1103515245 + 12345) >> 16) % 24;
      for (int k = 0; k < len; ++k) {
        seed = seed * 1103515245 + 12345;
        t += "<>!-ab[]x"[(seed >> 16) % 9];
      }
      ASSERT_EQ(DeleteSpans(t, open, close), SlowDeleteSpans(t, open, close))
          << t << " " << open << " " << close;
    }
  }
}
