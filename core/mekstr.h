// GBK text primitives shared by every calculation item. All texts are std::string of
// GBK (code page 936) bytes; positions count from 1.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
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
// The byte index (from 0) of the leftmost occurrence of pattern in text that starts on a
// character boundary (not on the second byte of a double-byte character), bytes compared
// exactly; npos when there is none. The empty pattern is found at 0.
size_t FindText(std::string_view text, std::string_view pattern);
int FieldCount(const std::string& text, char separator);
Fmekfenjiestr SplitText(const std::string& text, char separator);
// Bytes of the character that starts at byte index i (from 0) of text: 2 for a lead byte
// and the byte after it, whatever that byte is (GBK's second bytes run from 0x40 up), 1 for
// any other byte, 0 for a lead byte that ends the text (half a character, which counts as
// no character).
inline size_t CharLengthAt(const std::string& text, size_t i) {
  if (!IsLeadByte(static_cast<unsigned char>(text[i]))) return 1;
  return i + 1 < text.size() ? 2 : 0;
}
// The number of characters of text.
int CharCount(const std::string& text);
// The byte position where the n-th character begins, one past the end when the text has
// exactly n - 1 characters, else 0; 1 for n = 1.
int CharBytePos(const std::string& text, int n);
// The characters start .. start + count - 1 (fewer at the end of the text).
std::string MidChars(const std::string& text, int start, int count);
// Deletes every span from openMarker through closeMarker, and stray markers.
std::string DeleteSpans(const std::string& text, const std::string& openMarker,
                        const std::string& closeMarker);
// Date-time value as text: 1 date, 2 time, 3 both, anything else both with milliseconds.
std::string FormatStamp(int kind, double dateTime);

// Leading and trailing blanks and control characters (bytes up to 0x20) removed.
std::string TrimText(std::string_view text);

// The lines of text, split at CR LF, a lone CR or a lone LF (a CR LF pair is one break),
// without their line ends; a final line end adds no empty line, and the empty text has
// no lines.
std::vector<std::string> SplitLines(const std::string& text);

// The lines SplitLines gives, one after the other, as views into the text (which must
// outlive the reader): a page is scanned line by line without a copy of any line. A copy
// of a reader goes on from where the original stands.
class TLineReader {
public:
  explicit TLineReader(std::string_view text) : text_(text) {}
  // Sets line to the next line; false, line untouched, after the last one.
  bool Next(std::string_view& line);

private:
  std::string_view text_;
  size_t pos_ = 0;
};

// x in Chinese numerals: with place units (10 is 一十, 100000001 is 一亿零一) or digit by
// digit (2010 is 二零一零), ordinary or financial (upperCase) numerals; the fraction
// digits of its general format follow "点". A negative x is written "负" and its absolute
// value. Raises EConvertError when the fraction digits cannot be read (1.5E-5) and for
// integer parts of 10^16 and more.
std::string NumberToChinese(double x, bool withUnits, bool upperCase);
// The number typed as text, whose value is value, in Chinese numerals with place units. An
// exact integer below 10^16 as typed (optional sign, digits, optionally "." and zeros only)
// is written from its digits as typed, which 1500000000000000 (general format 1.5E15) and
// 9007199254740993 (no double) need; any other number as NumberToChinese(value, true,
// upperCase) writes it, refusals included.
std::string TypedNumberToChinese(const std::string& text, double value, bool upperCase);

// ---- Identity card numbers ----

// True when text is not empty and every byte of it is one of "0".."9".
bool IsAllDigits(const std::string& text);
// Sex ("男" for an odd sex digit, "女" for an even one) and birth date of an identity
// card number, blanks and control characters around it removed: 15 digits (year, month
// and day at 7-8, 9-10, 11-12, sex digit 15) or 18 characters (year 7-10, month 11-12,
// day 13-14, sex digit 17) of which the first 17 are digits and the last a digit, "X" or
// "x". A 15-digit number's two-digit year is of the 1900s (as IdWiden15To18 writes it).
// False, setting neither output, for any other text; raises EConvertError when the digits
// are no date.
bool IdBirthAndSex(const std::string& number, std::string& sex, double& date);

// ---- Pinyin: the data file dataDir + "/mekpy0_4.dll" holds 14-byte records sorted by
// character ----

// The pinyin with tone marks of one character (GBK, one or two bytes): 人 仁 作 做 都 督
// from a fixed list, every other character from the data file; the empty text when it has
// none or no data file exists. Raises EMekError when the file exists but cannot be read.
std::string PinyinOfChar(const std::string& c, const std::string& dataDir);
// The pinyin of each character of text (as CharCount counts them), joined by
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

// The sizes the font dialog offers (points), and the screen resolutions a font record may
// refer to (pixels per inch, 72 to five times the usual 96).
inline constexpr int32_t FontMinSize = 1, FontMaxSize = 1638;
inline constexpr int32_t FontMinPixelsPerInch = 72, FontMaxPixelsPerInch = 480;
// Whether a record's size and resolution lie within those limits.
bool FontWithinLimits(const FFont& font);

// "%.8x%.8x%.4x%.4x%.1x%.2x%.1x%.4x%s" of colour, height, size, pixels per inch, pitch,
// character set, style, the name's byte length and the name.
std::string FontToString(const FFont& font);
// What the user is told of a stored font text that cannot be read: "字体格式有误".
extern const char* const FontFormatMessage;
// Applies a font text to font, field by field. A text of 32 bytes or fewer, and one whose
// size or pixels per inch lie outside the limits above, raise EMekError(FontFormatMessage)
// with nothing applied; a field that is not hexadecimal raises EConvertError (the fields
// before it stay applied).
void StringToFont(const std::string& text, FFont& font);

// ---- Percent-encoding of web addresses, byte by byte ----

// Every byte as "%" and two upper-case hexadecimal digits, except the letters, the digits
// and # & + - . / : = ? _, which stay as they are; the blank is "%20".
std::string UrlEncodeBytes(const std::string& text);
// Every byte as "%" and two upper-case hexadecimal digits, except the ASCII letters, the
// digits and - . _ ~: the form of a text put into a query as one value, so that nothing
// in it (& # ? = + blanks, GBK bytes) can end the value or change the address.
std::string UrlEncodeQueryValue(const std::string& text);
// Every "%" and the two hexadecimal digits after it (either case) as the one byte they
// give, every other byte unchanged ("+" stays "+"). Raises EConvertError when a "%" is
// not followed by two hexadecimal digits.
std::string UrlDecodeBytes(const std::string& text);
// The length of the scheme when address begins with one and "://" ("http" in
// "http://host"): an ASCII letter, then letters, digits, "+", "-" or "."; 0 otherwise.
size_t UrlSchemeLength(const std::string& address);
