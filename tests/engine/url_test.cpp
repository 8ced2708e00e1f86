// Percent form of addresses (UrlEncodeBytes, UrlDecodeBytes), the all-or-nothing UTF-8
// conversion behind item 52 and the fetched pages, and items 52-55 through "=".
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "core/codepage.h"
#include "core/mekerror.h"
#include "core/mekstr.h"
#include "itemcases.h"

namespace {

// Literals are GBK in this file; these bytes are UTF-8.
std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }

}  // namespace

TEST(UrlEncodeBytes, PassThroughSetAndUpperCaseHex) {
  const std::string keep =
      "#&+-./0123456789:=?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", b);
    const std::string expected = keep.find(static_cast<char>(b)) != std::string::npos ? one : escaped;
    EXPECT_EQ(UrlEncodeBytes(one), expected) << b;
  }
}

TEST(UrlDecodeBytes, Escapes) {
  const struct {
    const char* text;
    std::string decoded;
  } cases[] = {
      {"%41%62", "Ab"},
      {"%e4%B8%aD", "\xE4\xB8\xAD"},  // digits in either case
      {"a+b", "a+b"},                 // "+" is no blank here
      {"%2B%20%25", "+ %"},
      {"100%25", "100%"},
      {"%00x", std::string("\0x", 2)},
      {"", ""},
      {"%FF%ff", "\xFF\xFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlDecodeBytes(c.text), c.decoded) << c.text;
}

TEST(UrlDecodeBytes, MalformedEscapesRaise) {
  for (const char* text : {"50%", "5%G1", "%", "%4", "%4G", "%G4", "%%41", "a%-1", "%0 ", "%\xD6\xD0"})
    EXPECT_THROW(UrlDecodeBytes(text), EConvertError) << text;
}

TEST(UrlBytes, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(UrlDecodeBytes(UrlEncodeBytes(all)), all);
}

TEST(Utf8ToGbkWhole, WellFormedText) {
  const struct {
    std::string utf8;
    std::string gbk;
  } cases[] = {
      {"", ""},
      {"abc\r\n", "abc\r\n"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {U8(u8"§é"), "§é"},                  // two-byte sequences
      {U8(u8"中文學"), "中文學"},          // three-byte sequences, 學 an extension character
      {U8(u8"€"), "\x80"},                 // the euro sign is GBK's single byte 0x80
      {U8(u8"a😀b𠀀"), "a?b?"},           // four-byte sequences: characters GBK lacks
      {U8(u8"한"), "?"},                   // a Korean syllable GBK lacks
      {"\xEF\xBB\xBF" + U8(u8"中"), "中"},  // the byte-order mark at the start is dropped
      {"\xEF\xBB\xBF", ""},
      {"a\xEF\xBB\xBF", "a?"},             // elsewhere it is a character GBK lacks
      {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", "??"},  // U+FFFF and U+10FFFF, the last values
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToGbkWhole(c.utf8), c.gbk) << c.utf8;
}

TEST(Utf8ToGbkWhole, AnyMalformedSequenceEmptiesTheWholeText) {
  const std::string good = U8(u8"中文");
  for (const char* bad : {
           "\xE4\xB8",           // cut off by the end
           "\xE4",               // a lead byte alone at the end
           "\xF0\x9F\x98",       // a four-byte sequence cut off
           "\xE4\x41\xAD",       // a second byte not 10xxxxxx
           "\xE4\xB8\x41",       // a third byte not 10xxxxxx
           "\xC3(",              // a two-byte sequence without its continuation
           "\x80",               // a stray continuation byte
           "a\xBF",              // another
           "\xC0\x80",           // overlong forms
           "\xC1\xBF",
           "\xE0\x80\x80",
           "\xE0\x9F\xBF",
           "\xF0\x8F\xBF\xBF",
           "\xED\xA0\x80",       // a surrogate
           "\xED\xBF\xBF",
           "\xF4\x90\x80\x80",   // beyond U+10FFFF
           "\xF5\x80\x80\x80",   // lead bytes that never occur
           "\xF8\x88\x80\x80\x80",
           "\xFE",
           "\xFF",
           "\xD6\xD0",           // GBK, not UTF-8
       }) {
    EXPECT_EQ(Utf8ToGbkWhole(bad), "") << bad;
    EXPECT_EQ(Utf8ToGbkWhole(good + bad + good), "") << bad;
  }
}

TEST(UrlItems, PercentFormAndBack) {
  const FItemCase cases[] = {
      {55, "中文", "%D6%D0%CE%C4", nullptr},
      {53, "中文", "%E4%B8%AD%E6%96%87", nullptr},
      {54, "%D6%D0%CE%C4", "中文", nullptr},
      {52, "%E4%B8%AD%E6%96%87", "中文", nullptr},
      {52, "%e4%b8%ad%e6%96%87", "中文", nullptr},
      {54, "%d6%d0%ce%c4", "中文", nullptr},
      {55, "a b&c=1", "a%20b&c=1", nullptr},
      {53, "a b&c=1", "a%20b&c=1", nullptr},
      {55, "50%", "50%25", nullptr},
      {54, "100%25", "100%", nullptr},
      {55, "http://h/p?q=學&x=(1)", "http://h/p?q=%8CW&x=%281%29", nullptr},  // 學 is 8C 57
      {53, "學€", "%E5%AD%B8%E2%82%AC", nullptr},
      {55, "", "", nullptr},
      {52, "", "", nullptr},
      {52, "a+b", "a+b", nullptr},
      {55, "（中）", "%28%D6%D0%29", nullptr},  // the dispatcher's half-width step first
      {54, "１００％２５", "100%", nullptr},
  };
  RunItemCases(cases);
}

TEST(UrlItems, MalformedEscapesKeepTheInputLine) {
  const FItemCase cases[] = {
      {54, "50%", "50%", nullptr},
      {54, "5%G1", "5%G1", nullptr},
      {52, "50%", "50%", nullptr},
      {52, "%E4%B8%A", "%E4%B8%A", nullptr},
      {54, "％", "%", nullptr},  // the half-width line stays
  };
  RunItemCases(cases);
}

TEST(UrlItems, Item52ConversionRules) {
  const FItemCase cases[] = {
      {52, "%D6%D0", "", nullptr},                // GBK bytes, not UTF-8: an empty line
      {52, "ok%E4%B8", "", nullptr},              // cut off
      {52, "%C0%80", "", nullptr},                // overlong
      {52, "%F0%9F%98%80!", "?!", nullptr},        // a four-byte character GBK lacks
      {52, "%EF%BB%BF%E4%B8%AD", "中", nullptr},  // a leading byte-order mark dropped
  };
  RunItemCases(cases);
}

TEST(UrlItems, ZeroByteEndsTheInputLine) {
  const FItemCase cases[] = {
      {54, "%00", "", nullptr},
      {54, "ab%00cd", "ab", nullptr},
      {52, "ab%00%E4%B8%AD", "ab", nullptr},
      {52, "ab%00%D6", "", nullptr},  // the whole text is converted first
  };
  RunItemCases(cases);
}
