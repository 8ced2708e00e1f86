// Conversion between GBK and UTF-8 agrees byte for byte with one iconv pass over the whole
// text that writes "?" for each sequence it cannot convert and goes on after it: on every
// character of both code pages, on malformed bytes and on random byte strings.
#include <gtest/gtest.h>

#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "testutil.h"

namespace {

// The reference: iconv over the whole text; at a sequence that fails, "?" and a skip of
// skipLength bytes, then iconv again from there.
std::string WholeTextIconv(iconv_t cd, const std::string& in,
                           size_t (*skipLength)(const std::string&, size_t)) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buf[4096];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    const size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, dst - buf);
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    const size_t n = std::min(left, skipLength(in, static_cast<size_t>(src - in.data())));
    out.push_back('?');
    src += n;
    left -= n;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

// A GBK lead byte with a trail byte is one sequence; anything else one byte.
size_t GbkSkip(const std::string& s, size_t pos) {
  const unsigned char b = s[pos];
  if (b >= 0x81 && b <= 0xFE && pos + 1 < s.size()) {
    const unsigned char t = s[pos + 1];
    if (t >= 0x40 && t != 0x7F && t != 0xFF) return 2;
  }
  return 1;
}

// A UTF-8 lead byte with all its continuation bytes is one sequence; anything else one byte.
size_t Utf8Skip(const std::string& s, size_t pos) {
  const unsigned char b = s[pos];
  const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  if (pos + n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80) return 1;
  return n;
}

std::string ReferenceToGbk(const std::string& utf8) {
  static const iconv_t cd = iconv_open("CP936", "UTF-8");
  return WholeTextIconv(cd, utf8, Utf8Skip);
}
std::string ReferenceToUtf8(const std::string& gbk) {
  static const iconv_t cd = iconv_open("UTF-8", "CP936");
  return WholeTextIconv(cd, gbk, GbkSkip);
}

// The UTF-8 bytes of a code point, surrogates and values beyond U+10FFFF included.
std::string Encode(uint32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += char(cp);
  } else if (cp < 0x800) {
    s += char(0xC0 | cp >> 6);
    s += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += char(0xE0 | cp >> 12);
    s += char(0x80 | (cp >> 6 & 0x3F));
    s += char(0x80 | (cp & 0x3F));
  } else {
    s += char(0xF0 | cp >> 18);
    s += char(0x80 | (cp >> 12 & 0x3F));
    s += char(0x80 | (cp >> 6 & 0x3F));
    s += char(0x80 | (cp & 0x3F));
  }
  return s;
}

std::string Hex(const std::string& s) {
  static const char digits[] = "0123456789ABCDEF";
  std::string h;
  for (unsigned char b : s.substr(0, 48)) {
    h += digits[b >> 4];
    h += digits[b & 15];
    h += ' ';
  }
  return h;
}

}  // namespace

TEST(CodePage, Utf8ToGbkAgreesOnTypicalAndMalformedTexts) {
  const std::vector<std::string> texts = {
      "",
      "abc 1+2",
      std::string("\0x\0", 3),
      "\xE4\xB8\xAD\xE6\x96\x87",          // 中文
      "\xE2\x82\xAC",                      // the euro sign, one byte in GBK
      "\xC2\xB7\xE3\x80\x82\xEF\xBC\x91",  // · 。 １
      "\xEA\xB0\x80\xD8\xA7",              // Hangul and Arabic: no GBK form
      "a\xF0\x9F\x98\x80" "b\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
      "\xEF\xBB\xBF" "a",                  // a byte-order mark
      "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xF0\x80\x80\x80",  // overlong
      "\xED\xA0\x80", "\xED\xBF\xBF",      // surrogates
      "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF7\xBF\xBF\xBF",  // beyond U+10FFFF
      "\xF8\x88\x80\x80\x80", "\xFC\x84\x80\x80\x80\x80", "\xFE\xFF",
      "\x80", "\xBF\xBF", "a\x80" "b",     // continuation bytes without a lead
      "\xE4\xB8", "\xE4\xB8" "a", "\xE4" "a\xB8", "\xF0\x9F\x98", "\xF0\x9F\x98" "\xE4\xB8\xAD",
      "\xC3", "\xC3\xC3\xA9",
  };
  for (const std::string& t : texts) EXPECT_EQ(Utf8ToGbk(t), ReferenceToGbk(t)) << Hex(t);
}

TEST(CodePage, Utf8ToGbkAgreesOnEveryBmpCodePoint) {
  // In runs of 512 code points, so that each character is also seen among others.
  for (uint32_t first = 0; first < 0x10000; first += 512) {
    std::string text;
    for (uint32_t cp = first; cp < first + 512; ++cp) text += Encode(cp);
    ASSERT_EQ(Utf8ToGbk(text), ReferenceToGbk(text)) << std::hex << first;
  }
  // And each on its own, which is how a lone character typed in the input line arrives.
  for (uint32_t cp = 0; cp < 0x10000; ++cp) {
    const std::string text = Encode(cp);
    ASSERT_EQ(Utf8ToGbk(text), ReferenceToGbk(text)) << std::hex << cp;
  }
}

TEST(CodePage, Utf8ToGbkAgreesBeyondTheBmp) {
  std::string text;
  for (uint32_t cp = 0x10000; cp < 0x200000; cp += 0x1FF) {
    text += Encode(cp);
    if (text.size() > 2000) {
      ASSERT_EQ(Utf8ToGbk(text), ReferenceToGbk(text)) << std::hex << cp;
      text.clear();
    }
  }
  for (uint32_t cp : {0x10000u, 0x1F600u, 0x20000u, 0x10FFFFu, 0x110000u, 0x1FFFFFu})
    EXPECT_EQ(Utf8ToGbk(Encode(cp)), ReferenceToGbk(Encode(cp))) << std::hex << cp;
}

TEST(CodePage, GbkToUtf8AgreesOnEveryByteAndPair) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, char(b));
    EXPECT_EQ(GbkToUtf8(one), ReferenceToUtf8(one)) << b;
  }
  for (int lead = 0x80; lead < 0x100; ++lead) {
    std::string run;
    for (int trail = 0; trail < 0x100; ++trail) {
      const std::string pair{char(lead), char(trail)};
      ASSERT_EQ(GbkToUtf8(pair), ReferenceToUtf8(pair)) << lead << " " << trail;
      run += pair;
    }
    ASSERT_EQ(GbkToUtf8(run), ReferenceToUtf8(run)) << lead;
  }
}

TEST(CodePage, BothDirectionsAgreeOnRandomBytes) {
  // Pieces weighted towards the bytes where decoding goes wrong.
  TRandomTexts texts({"a", " ", std::string(1, '\0'), "\x80", "\xBF", "\xC0", "\xC3", "\xE4",
                      "\xED", "\xF0", "\xF4", "\xF8", "\xFF", "\xA0", "\x9F", "\x40", "\x7F",
                      "\xB8\xAD", "\xD6\xD0", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"},
                     20261210, 23);
  for (int n = 0; n < 20000; ++n) {
    const std::string text = texts.Next();
    ASSERT_EQ(Utf8ToGbk(text), ReferenceToGbk(text)) << Hex(text);
    ASSERT_EQ(GbkToUtf8(text), ReferenceToUtf8(text)) << Hex(text);
  }
}
