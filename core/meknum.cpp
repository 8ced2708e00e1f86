// Strict readers of integer and number text.
#include "core/meknum.h"

#include <charconv>
#include <cmath>

#include "core/mekerror.h"
#include "core/meklocale.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool TryStrToInt(const std::string& text, int32_t& value) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < n && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < n && (text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= n) return false;
  // The magnitude may reach 2^31 for the most negative value.
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t v = 0;
  for (; i < n; ++i) {
    const int d = base == 16 ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (d < 0) return false;
    v = v * base + d;
    if (v > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -v : v);
  return true;
}

int32_t StrToInt(const std::string& text) {
  int32_t v;
  if (!TryStrToInt(text, v)) throw EConvertError("'" + text + "' is not a valid integer value");
  return v;
}

bool TryStrToFloat(const std::string& text, double& value) {
  const size_t n = text.size();
  size_t i = 0;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t mantStart = i;
  size_t digits = 0;
  // Decimal exponent of the first significant digit, to tell overflow from underflow.
  long long leadExp = 0;
  bool seenPoint = false, seenNonZero = false;
  long long intDigits = 0;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      if (!seenPoint) ++intDigits;
      if (c != '0' && !seenNonZero) {
        seenNonZero = true;
        leadExp = seenPoint ? -static_cast<long long>(digits - intDigits) : 0;
      }
    } else if (c == DecimalSeparator && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  const size_t mantEnd = i;
  long long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool expNeg = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) expNeg = text[i++] == '-';
    const size_t expStart = i;
    for (; i < n && IsDigit(text[i]); ++i)
      if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
    if (i == expStart) return false;
    if (expNeg) exponent = -exponent;
  }
  if (i != n) return false;
  if (!seenNonZero) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  // Leading integer digits count toward the magnitude.
  if (leadExp == 0) {
    size_t k = mantStart;
    while (text[k] == '0') ++k;
    long long lead = 0;
    for (; k < mantEnd && IsDigit(text[k]); ++k) ++lead;
    leadExp = lead - 1;
  }
  const long long magnitude = leadExp + exponent;
  if (magnitude > 400) return false;  // beyond any double
  if (magnitude < -400) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  double v = 0;
  const auto r = std::from_chars(text.data() + mantStart, text.data() + n, v,
                                 std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return false;
    v = 0;
  } else if (r.ec != std::errc() || r.ptr != text.data() + n) {
    return false;
  }
  if (!std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}

double StrToFloat(const std::string& text) {
  double v;
  if (!TryStrToFloat(text, v)) throw EConvertError("'" + text + "' is not a valid floating point value");
  return v;
}

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0)
    throw EConvertError("Invalid floating point operation");
  // The default rounding mode rounds a tie to the even neighbour.
  return static_cast<int64_t>(std::nearbyint(value));
}
