// Stroke counts by GB2312 cell and radicals by Unicode range.
#include "hanzi/mekhanzistr.h"

#include <cstdint>

#include "core/codepage.h"
#include "core/mekerror.h"
#include "hanzi/hanzi_tables.h"

namespace {

// The code point of a UTF-8 text that holds exactly one character of the Basic
// Multilingual Plane, else 0.
uint32_t SingleCodePoint(const std::string& utf8) {
  if (utf8.empty()) return 0;
  const unsigned char b = utf8[0];
  const size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : 0;
  if (length == 0 || utf8.size() != length) return 0;
  uint32_t cp = length == 1 ? b : length == 2 ? (b & 0x1F) : (b & 0x0F);
  for (size_t k = 1; k < length; ++k) {
    const unsigned char c = utf8[k];
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  return cp;
}

}  // namespace

int HanziStrokeCount(const std::string& text) {
  if (text.empty()) throw EMekError("HanziStrokeCount: empty text");
  const unsigned char lead = text[0];
  if (lead < 0xB0 || text.size() < 2) return -1;
  const unsigned char trail = text[1];
  if (lead > 0xF7 || trail < 0xA1 || trail > 0xFE) return -1;
  return HanziStrokeTable[(lead - 0xB0) * 94 + (trail - 0xA1)];
}

std::string HanziRadical(const std::string& text) {
  // The first two bytes through the program's own GBK converter: a text whose first two
  // bytes are not one character (an ASCII character and another byte) gives 0.
  const uint32_t cp = SingleCodePoint(GbkToUtf8(text.substr(0, 2)));
  for (const FRadicalRange& row : RadicalTable)
    if (row.First <= cp && cp <= row.Last) return row.Radical;
  return {};
}
