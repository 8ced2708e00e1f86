// A number written in Chinese numerals, with place units (二十三万五千三百二十三点二二)
// or digit by digit (二零一零).
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/mekerror.h"
#include "core/mekmath.h"
#include "core/mekstr.h"
#include "core/numerals_table.h"

namespace {

bool AllDigits(const std::string& s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The integer digits of the general-format text of x, most significant first, and its
// fraction digits. Both halves come from the same text, so a value that the format
// rounds up (0.9999999999999999 is written 1) reads as the number the text shows.
void SplitDigits(double x, std::string& whole, std::string& fraction) {
  const std::string text = FormatGeneral(x);
  const size_t point = text.find('.');
  fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
  // An exponent after a "." (1.5E-5, 1.5E15) leaves fraction digits that cannot be read.
  if (!AllDigits(fraction)) throw EConvertError("'" + text + "' has no readable fraction digits");
  const size_t e = text.find('E');
  if (e == std::string::npos) {
    whole = text.substr(0, point);
  } else if (text[e + 1] == '-') {
    whole = "0";  // dE-x with a single digit: below 0.0001, no fraction digits
  } else {
    const int exponent = std::stoi(text.substr(e + 1));
    if (exponent > 15) throw EConvertError("'" + text + "' is too large for Chinese numerals");
    whole = text.substr(0, e) + std::string(static_cast<size_t>(exponent), '0');
  }
  if (whole.size() > LowerUnits.size())
    throw EConvertError("'" + text + "' is too large for Chinese numerals");
}

// The number whose integer digits (most significant first, no leading zeros, at most
// 16) and fraction digits are given, in Chinese numerals.
std::string DigitsToChinese(const std::string& whole, const std::string& fraction,
                            bool withUnits, bool upperCase) {
  const auto& digits = upperCase ? UpperDigits : LowerDigits;
  const auto& units = upperCase ? UpperUnits : LowerUnits;
  std::string out;
  if (!withUnits) {
    for (char c : whole) out += digits[c - '0'];
  } else if (whole == "0") {
    out = digits[0];
  } else {
    // Walk the digits from the units place upwards, collecting the pieces right to left.
    // While quiet is set no "零" may be written: trailing zeros write nothing and a run
    // of zeros between non-zero digits writes one "零".
    const int len = static_cast<int>(whole.size());
    auto digitAt = [&](int pos) { return pos < len ? whole[len - 1 - pos] - '0' : 0; };
    std::vector<const char*> pieces;
    bool quiet = true;
    bool highGroupSeen = false;  // a non-zero digit among positions 12 and up so far
    for (int pos = 0; pos < len; ++pos) {
      const int d = digitAt(pos);
      if (d != 0) {
        // The 万 of the 万亿 group stands once, after its lowest non-zero digit:
        // 十万亿 alone, but 一十二万亿 rather than 一十万二万亿.
        const char* unit = pos > 12 && highGroupSeen ? units[pos - 12] : units[pos];
        pieces.push_back(unit);
        pieces.push_back(digits[d]);
        quiet = false;
        if (pos >= 12) highGroupSeen = true;
      } else if (pos == 8) {
        pieces.push_back(units[8]);  // 亿
        quiet = true;
      } else if (pos == 4 && (digitAt(5) || digitAt(6) || digitAt(7))) {
        pieces.push_back(units[4]);  // 万
        quiet = true;
      } else if (!quiet) {
        pieces.push_back(digits[0]);
        quiet = true;
      }
    }
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) out += *it;
  }
  if (!fraction.empty()) {
    out += "点";
    for (char c : fraction) out += digits[c - '0'];
  }
  return out;
}

// The digits of text when it is an exact integer as typed: an optional sign, decimal
// digits, and optionally "." with zeros only after it. The digits lose their leading
// zeros ("0" stays); false for any other text.
bool ExactIntegerDigits(const std::string& text, bool& negative, std::string& digits) {
  size_t i = 0;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == start) return false;
  digits = text.substr(start, i - start);
  if (i < text.size() && text[i] == '.')
    for (++i; i < text.size() && text[i] == '0';) ++i;
  if (i != text.size()) return false;
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  return true;
}

}  // namespace

std::string NumberToChinese(double x, bool withUnits, bool upperCase) {
  if (!std::isfinite(x)) throw EConvertError("Not a finite number");
  if (x < 0) return "负" + NumberToChinese(-x, withUnits, upperCase);
  // Beyond the unit table; also keeps every later step inside 16 digits.
  if (x >= 1e16) throw EConvertError("Number too large for Chinese numerals");
  std::string whole, fraction;
  SplitDigits(x, whole, fraction);
  return DigitsToChinese(whole, fraction, withUnits, upperCase);
}

std::string TypedNumberToChinese(const std::string& text, double value, bool upperCase) {
  bool negative;
  std::string digits;
  if (!ExactIntegerDigits(text, negative, digits) || digits.size() > LowerUnits.size())
    return NumberToChinese(value, true, upperCase);
  const std::string out = DigitsToChinese(digits, std::string(), true, upperCase);
  return negative && digits != "0" ? "负" + out : out;
}
