// GBK text primitives shared by every calculation item. All texts are std::string of
// GBK (code page 936) bytes; positions count from 1.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The ordered list of texts that SplitText returns; never empty.
using Fmekfenjiestr = std::vector<std::string>;

// Lead byte of a double-byte GBK character (0x81-0xFE).
inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Maps the 95 full-width characters of HalfWidthTable to their ASCII counterparts.
std::string ToHalfWidth(const std::string& text);
// Replaces every occurrence of oldPattern (ASCII letters without case) by newPattern.
std::string ReplaceAll(const std::string& text, const std::string& oldPattern,
                       const std::string& newPattern);
int FieldCount(const std::string& text, char separator);
Fmekfenjiestr SplitText(const std::string& text, char separator);
int CharCount(const std::string& text);
int CharBytePos(const std::string& text, int n);
std::string MidChars(const std::string& text, int start, int count);
// Deletes every span from openMarker through closeMarker, and stray markers.
std::string DeleteSpans(const std::string& text, const std::string& openMarker,
                        const std::string& closeMarker);
// Date-time value as text: 1 date, 2 time, 3 both, anything else both with milliseconds.
std::string FormatStamp(int kind, double dateTime);

// Leading and trailing blanks and control characters (bytes up to 0x20) removed.
std::string TrimText(const std::string& text);

// x in Chinese numerals: with place units (10 is 一十, 100000001 is 一亿零一) or digit by
// digit (2010 is 二零一零), ordinary or financial (upperCase) numerals; the fraction
// digits of its general format follow "点". A negative x is written "负" and its absolute
// value. Raises EConvertError when the fraction digits cannot be read (1.5E-5) and for
// integer parts of 10^16 and more.
std::string NumberToChinese(double x, bool withUnits, bool upperCase);

// ---- Pinyin: the data file dataDir + "/mekpy0_4.dll" holds 14-byte records sorted by
// character ----

// The pinyin with tone marks of one character (GBK, one or two bytes): 人 仁 作 做 都 督
// from a fixed list, every other character from the data file; the empty text when it has
// none or no data file exists. Raises EMekError when the file exists but cannot be read.
std::string PinyinOfChar(const std::string& c, const std::string& dataDir);
// The pinyin of each character of text (counted as CharCount counts them), joined by
// single blanks; a character without pinyin contributes the empty text.
std::string PinyinOfText(const std::string& text, const std::string& dataDir);

// ---- Font text: the input line's font as one fixed-layout hexadecimal text ----

// The font record as the window keeps it. Height and size are two views of one quantity
// (height = -(size * PixelsPerInch / 72), rounded); Size() and SetSize() convert.
struct FFont {
  int32_t Color = int32_t(0x80000008);  // 0x00BBGGRR, or 0x80000000 + system colour index
  int32_t Height = -16;                  // pixels; negative: character height without leading
  int32_t PixelsPerInch = 96;
  int32_t Pitch = 0;                     // 0 default, 1 variable, 2 fixed
  int32_t Charset = 134;                 // 134: GB2312
  int32_t Style = 0;                     // 1 bold, 2 italic, 4 underline, 8 strike-out
  std::string Name;                     // GBK

  int32_t Size() const;
  void SetSize(int32_t points);
};

enum : int32_t { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeOut = 8 };
// The window's default font: window-text colour, 16 pixels (12 points at 96 pixels per
// inch), default pitch, GB2312, no style, "宋体" (SimSun).
FFont DefaultFont();
// The window-text system colour.
inline constexpr int32_t WindowTextColor = int32_t(0x80000008);

// "%.8x%.8x%.4x%.4x%.1x%.2x%.1x%.4x%s" of colour, height, size, pixels per inch, pitch,
// character set, style, the name's byte length and the name.
std::string FontToString(const FFont& font);
// Applies a font text to font, field by field; a text of 32 bytes or fewer raises
// EMekError("Error Font Format String"), a field that is not hexadecimal EConvertError
// (the fields before it stay applied).
void StringToFont(const std::string& text, FFont& font);
