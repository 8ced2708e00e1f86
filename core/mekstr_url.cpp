// Percent-encoding of web addresses: the bytes as they are, no code page involved.
#include <array>
#include <string_view>

#include "core/mekerror.h"
#include "core/mekstr.h"

namespace {

// The letters, the digits and the bytes of extra.
constexpr std::array<bool, 256> MakeKeep(std::string_view extra) {
  std::array<bool, 256> keep{};
  for (int c = '0'; c <= '9'; ++c) keep[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) keep[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) keep[c] = true;
  for (const char c : extra) keep[static_cast<unsigned char>(c)] = true;
  return keep;
}
// The bytes that pass through unchanged: what an address needs for its structure and
// its plain words.
constexpr std::array<bool, 256> PassThrough = MakeKeep("#&+-./:=?_");
// The bytes a query value keeps as they are: the unreserved ones of RFC 3986, so that
// nothing the user typed can end the value, start another or cut the address.
constexpr std::array<bool, 256> Unreserved = MakeKeep("-._~");

constexpr char HexDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit, or -1.
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Every byte outside keep as "%" and two upper-case hexadecimal digits.
std::string EncodeExcept(const std::string& text, const std::array<bool, 256>& keep) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (keep[b]) {
      out.push_back(c);
    } else {
      // The blank falls here too and is written "%20", never "+".
      out.push_back('%');
      out.push_back(HexDigits[b >> 4]);
      out.push_back(HexDigits[b & 0xF]);
    }
  }
  return out;
}

}  // namespace

std::string UrlEncodeBytes(const std::string& text) { return EncodeExcept(text, PassThrough); }

std::string UrlEncodeQueryValue(const std::string& text) { return EncodeExcept(text, Unreserved); }

std::string UrlDecodeBytes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    const int hi = i + 1 < n ? HexValue(text[i + 1]) : -1;
    const int lo = i + 2 < n ? HexValue(text[i + 2]) : -1;
    if (hi < 0 || lo < 0) throw EConvertError("Invalid URL encoded character (" + text.substr(i, 3) + ")");
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return out;
}

size_t UrlSchemeLength(const std::string& address) {
  const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (address.empty() || !letter(address[0])) return 0;
  size_t i = 1;
  while (i < address.size() && (letter(address[i]) || (address[i] >= '0' && address[i] <= '9') ||
                                address[i] == '+' || address[i] == '-' || address[i] == '.'))
    ++i;
  return address.compare(i, 3, "://") == 0 ? i : 0;
}
