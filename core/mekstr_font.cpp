// The font text: a font record as fixed-width upper-case hexadecimal fields followed by
// the face name, and back.
#include <cstdio>

#include "core/mekerror.h"
#include "core/mekstr.h"

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = int64_t(a) * b;
  const int64_t q = c < 0 ? -int64_t(c) : int64_t(c);
  const int64_t num = c < 0 ? -p : p;
  const int64_t r = num >= 0 ? (num + q / 2) / q : -((-num + q / 2) / q);
  return int32_t(r);
}

// A field of the font text: hexadecimal digits only, read as a 32-bit two's complement
// pattern, so "FFFFFFF0" is -16.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsHexField(const std::string& text, size_t pos, size_t width) {
  const std::string field = text.substr(pos, width);
  if (field.empty()) return false;
  for (char c : field)
    if (HexDigit(c) < 0) return false;
  return true;
}

int32_t HexField(const std::string& text, size_t pos, size_t width) {
  const std::string field = text.substr(pos, width);
  if (!IsHexField(text, pos, width))
    throw EConvertError("'$" + field + "' is not a valid integer value");
  uint32_t v = 0;
  for (char c : field) v = (v << 4) | uint32_t(HexDigit(c));
  return int32_t(v);
}

bool SizeWithinLimits(int32_t points, int32_t pixelsPerInch) {
  return points >= FontMinSize && points <= FontMaxSize &&
         pixelsPerInch >= FontMinPixelsPerInch && pixelsPerInch <= FontMaxPixelsPerInch;
}

}  // namespace

int32_t FFont::Size() const { return -MulDiv(Height, 72, PixelsPerInch); }

void FFont::SetSize(int32_t points) { Height = -MulDiv(points, PixelsPerInch, 72); }

bool FontWithinLimits(const FFont& font) {
  return SizeWithinLimits(font.Size(), font.PixelsPerInch);
}

FFont DefaultFont() {
  FFont f;
  f.Name = "宋体";
  return f;
}

std::string FontToString(const FFont& font) {
  char head[80];
  std::snprintf(head, sizeof head, "%.8X%.8X%.4X%.4X%.1X%.2X%.1X%.4X", uint32_t(font.Color),
                uint32_t(font.Height), uint32_t(font.Size()), uint32_t(font.PixelsPerInch),
                uint32_t(font.Pitch), uint32_t(font.Charset), uint32_t(font.Style),
                uint32_t(font.Name.size()));
  return head + font.Name;
}

const char* const FontFormatMessage = "字体格式有误";

void StringToFont(const std::string& text, FFont& font) {
  if (text.size() <= 32) throw EMekError(FontFormatMessage);
  // A size or resolution the font dialog never produces (a damaged text: a size of FFFF
  // is an 87,380-pixel font, a resolution of 0 stores size 12 as 1) makes the whole text
  // unreadable. Fields that are not hexadecimal fail in their turn below.
  if (IsHexField(text, 16, 8) && !SizeWithinLimits(HexField(text, 16, 4), HexField(text, 20, 4)))
    throw EMekError(FontFormatMessage);
  font.Color = HexField(text, 0, 8);
  font.Height = HexField(text, 8, 8);
  // The size recomputes the height at the font's current resolution; the stored
  // resolution is then taken as a plain field.
  font.SetSize(HexField(text, 16, 4));
  font.PixelsPerInch = HexField(text, 20, 4);
  font.Pitch = HexField(text, 24, 1);
  font.Charset = HexField(text, 25, 2);
  font.Style = HexField(text, 27, 1);
  const int32_t length = HexField(text, 28, 4);
  font.Name = length > 0 ? text.substr(32, size_t(length)) : std::string();
}
