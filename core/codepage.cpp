// GBK <-> UTF-8 through iconv's "CP936", one character at a time where a conversion
// fails, so that every input gives a result and undecodable bytes become "?".
#include "core/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <algorithm>
#include <stdexcept>

namespace {

class TConverter {
public:
  TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~TConverter() { iconv_close(cd_); }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;

  // Converts in; a sequence that does not convert is replaced by "?" and skipped by
  // skip(in, pos) bytes.
  template <typename Skip>
  std::string Convert(const std::string& in, Skip skip) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 4);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, dst - buf);
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: an unconvertible or incomplete sequence at src.
      const size_t pos = static_cast<size_t>(src - in.data());
      const size_t n = std::min(srcLeft, skip(in, pos));
      out.push_back('?');
      src += n;
      srcLeft -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

private:
  iconv_t cd_;
};

// Bytes of the GBK character starting at pos (a lead byte with a trail byte is two).
size_t GbkCharLength(const std::string& s, size_t pos) {
  const unsigned char b = s[pos];
  if (b >= 0x81 && b <= 0xFE && pos + 1 < s.size()) {
    const unsigned char t = s[pos + 1];
    if (t >= 0x40 && t != 0x7F && t != 0xFF) return 2;
  }
  return 1;
}

// Bytes of the UTF-8 sequence starting at pos; a malformed one counts one byte.
size_t Utf8CharLength(const std::string& s, size_t pos) {
  const unsigned char b = s[pos];
  size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
  if (pos + n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80) return 1;
  return n;
}

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
  thread_local TConverter conv("UTF-8", "CP936");
  return conv.Convert(gbk, GbkCharLength);
}

std::string Utf8ToGbk(const std::string& utf8) {
  thread_local TConverter conv("CP936", "UTF-8");
  return conv.Convert(utf8, Utf8CharLength);
}

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Bytes of the well-formed UTF-8 sequence starting at pos, or 0 when it is malformed.
size_t WellFormedLength(const std::string& s, size_t pos) {
  const unsigned char b = s[pos];
  size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) lo = 0xA0;  // below: overlong
    if (b == 0xED) hi = 0x9F;  // above: surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) lo = 0x90;  // below: overlong
    if (b == 0xF4) hi = 0x8F;  // above: beyond U+10FFFF
  } else {
    return 0;  // a stray continuation byte, C0, C1 or F5-FF
  }
  if (pos + n > s.size()) return 0;
  const unsigned char second = s[pos + 1];
  if (second < lo || second > hi) return 0;
  for (size_t k = 2; k < n; ++k)
    if (!IsContinuation(s[pos + k])) return 0;
  return n;
}

}  // namespace

std::string Utf8ToGbkWhole(const std::string& utf8) {
  // Checked and cleaned first (BOM dropped, four-byte sequences as "?"), so that the
  // code-page conversion sees well-formed text of the Basic Multilingual Plane only.
  std::string clean;
  clean.reserve(utf8.size());
  size_t pos = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  size_t copied = pos;  // bytes before this one are in clean or dropped
  while (pos < utf8.size()) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const size_t n = WellFormedLength(utf8, pos);
    if (n == 0) return std::string();
    if (n == 4) {
      clean.append(utf8, copied, pos - copied);
      clean.push_back('?');
      copied = pos + 4;
    }
    pos += n;
  }
  clean.append(utf8, copied, std::string::npos);
  return Utf8ToGbk(clean);
}
