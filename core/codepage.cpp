// GBK <-> UTF-8 through iconv's "CP936", one character at a time, each character's result
// kept for the rest of the thread's life. Every input gives a result: a character that
// does not convert, and bytes that do not decode, become "?".
//
// The text is cut into characters of the source code page (a lead byte with its trail or
// continuation bytes, or one byte that forms none) and each is converted on its own. Both
// code pages are stateless, so this gives what one iconv pass over the whole text gives,
// a "?" for each character that fails; but where such a pass costs iconv a restart at
// every character it cannot convert (some 40 microseconds each), a character here costs
// one table look-up once the thread has seen it.
#include "core/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

class TConverter {
public:
  // keys: how many distinct character keys the source code page gives (see Append).
  TConverter(const char* to, const char* from, size_t keys)
      : cd_(iconv_open(to, from)), pages_((keys + PageSize - 1) / PageSize) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string ascii(0x80, '\0');
    for (int b = 0; b < 0x80; ++b) ascii[b] = static_cast<char>(b);
    asciiUnchanged_ = ConvertOne(ascii.data(), ascii.size()) == ascii;
  }
  ~TConverter() { iconv_close(cd_); }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;

  // True when every ASCII byte converts to itself, so that runs of them are copied.
  bool AsciiUnchanged() const { return asciiUnchanged_; }

  // Appends the conversion of the character of n bytes at c; key is unique to those bytes.
  void Append(uint32_t key, const char* c, size_t n, std::string& out) {
    std::unique_ptr<TPage>& page = pages_[key / PageSize];
    if (!page) page = std::make_unique<TPage>();
    TEntry& e = (*page)[key % PageSize];
    if (e.Length == Unknown) {
      const std::string r = ConvertOne(c, n);
      if (r.size() > sizeof e.Bytes) {  // longer than any character of these code pages
        out += r;
        return;
      }
      std::copy(r.begin(), r.end(), e.Bytes);
      e.Length = static_cast<uint8_t>(r.size());
    }
    out.append(e.Bytes, e.Length);
  }

private:
  static constexpr size_t PageSize = 256;
  static constexpr uint8_t Unknown = 0xFF;
  struct TEntry {
    uint8_t Length = Unknown;
    char Bytes[7];
  };
  using TPage = std::array<TEntry, PageSize>;

  // n bytes through iconv on their own; "?" when they do not convert whole.
  std::string ConvertOne(const char* c, size_t n) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(n * 4 + 8, '\0');
    char* src = const_cast<char*>(c);
    size_t srcLeft = n;
    char* dst = out.data();
    size_t dstLeft = out.size();
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0)
      return "?";
    out.resize(out.size() - dstLeft);
    return out;
  }

  iconv_t cd_;
  bool asciiUnchanged_ = false;
  std::vector<std::unique_ptr<TPage>> pages_;
};

// Copies the run of ASCII bytes from pos on when they convert to themselves; the
// position after the run.
size_t CopyAscii(const TConverter& conv, const std::string& in, size_t pos, std::string& out) {
  if (!conv.AsciiUnchanged()) return pos;
  size_t end = pos;
  while (end < in.size() && static_cast<unsigned char>(in[end]) < 0x80) ++end;
  out.append(in, pos, end - pos);
  return end;
}

}  // namespace

// GBK: a lead byte 0x81-0xFE with a trail byte 0x40-0xFE other than 0x7F is one character,
// any other byte a character of its own. The key: the byte, or lead * 256 + trail.
std::string GbkToUtf8(const std::string& gbk) {
  thread_local TConverter conv("UTF-8", "CP936", 0x10000);
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  const size_t size = gbk.size();
  for (size_t pos = CopyAscii(conv, gbk, 0, out); pos < size; pos = CopyAscii(conv, gbk, pos, out)) {
    const unsigned char b = gbk[pos];
    size_t n = 1;
    uint32_t key = b;
    if (b >= 0x81 && b <= 0xFE && pos + 1 < size) {
      const unsigned char t = gbk[pos + 1];
      if (t >= 0x40 && t != 0x7F && t != 0xFF) {
        n = 2;
        key = uint32_t(b) << 8 | t;
      }
    }
    conv.Append(key, gbk.data() + pos, n, out);
    pos += n;
  }
  return out;
}

namespace {

// UTF-8 keys: a lead byte with all the continuation bytes it announces (two to four bytes,
// whatever value they carry) is one character, any other byte a character of its own.
// The key is the byte, or the value the bytes carry in a range of its own for each length.
const uint32_t Utf8KeyBase[5] = {0, 0, 0x100, 0x100 + 0x800, 0x100 + 0x800 + 0x10000};
const uint32_t Utf8Keys = Utf8KeyBase[4] + 0x200000;

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
  thread_local TConverter conv("CP936", "UTF-8", Utf8Keys);
  std::string out;
  out.reserve(utf8.size());
  const size_t size = utf8.size();
  for (size_t pos = CopyAscii(conv, utf8, 0, out); pos < size; pos = CopyAscii(conv, utf8, pos, out)) {
    const unsigned char b = utf8[pos];
    const size_t want = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
    size_t n = 1;
    uint32_t key = b;
    if (want > 1 && pos + want <= size) {
      uint32_t value = b & (0x7F >> want);
      size_t k = 1;
      for (; k < want && (static_cast<unsigned char>(utf8[pos + k]) & 0xC0) == 0x80; ++k)
        value = value << 6 | (static_cast<unsigned char>(utf8[pos + k]) & 0x3F);
      if (k == want) {
        n = want;
        key = Utf8KeyBase[want] + value;
      }
    }
    conv.Append(key, utf8.data() + pos, n, out);
    pos += n;
  }
  return out;
}

size_t Utf8SequenceLength(const std::string& s, size_t pos, bool& wellFormed) {
  const unsigned char b = s[pos];
  wellFormed = false;
  size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
  if (b < 0x80) {
    wellFormed = true;
    return 1;
  }
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
    return 1;  // a stray continuation byte, C0, C1 or F5-FF
  }
  size_t k = 1;
  for (; k < n && pos + k < s.size(); ++k) {
    const unsigned char c = s[pos + k];
    if (k == 1 ? (c < lo || c > hi) : (c & 0xC0) != 0x80) break;
  }
  wellFormed = k == n;
  return k;
}

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
    bool wellFormed;
    const size_t n = Utf8SequenceLength(utf8, pos, wellFormed);
    if (!wellFormed) return std::string();
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
