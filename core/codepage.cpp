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
