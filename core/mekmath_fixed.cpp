// Fixed-point number text, independent of the locale that setlocale may have set.
#include <charconv>
#include <cmath>

#include "core/mekerror.h"
#include "core/mekmath.h"

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) throw EOverflowError("Floating point overflow");
  // 309 integer digits at most, the sign, the point and the decimals.
  std::string buf(320 + static_cast<size_t>(decimals < 0 ? 0 : decimals), '\0');
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                               std::chars_format::fixed, decimals < 0 ? 0 : decimals);
  buf.resize(static_cast<size_t>(r.ptr - buf.data()));
  return buf;
}
