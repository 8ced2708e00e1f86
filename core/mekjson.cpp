// JSON strings written straight into the output text.
#include "core/mekjson.h"

#include "core/codepage.h"

void AppendJsonString(std::string& out, const std::string& text) {
  static const char hex[] = "0123456789abcdef";
  out.reserve(out.size() + text.size() + 2);
  out += '"';
  const size_t n = text.size();
  size_t copied = 0;  // text before this index is in out
  for (size_t pos = 0; pos < n;) {
    const unsigned char b = text[pos];
    if (b >= 0x20 && b != '"' && b != '\\' && b < 0x80) {
      ++pos;
      continue;
    }
    size_t len = 1;
    const char* replacement = nullptr;  // nullptr: the bytes stay as they are
    char escape[7] = {'\\', 0, 0, 0, 0, 0, 0};
    if (b >= 0x80) {
      bool wellFormed;
      len = Utf8SequenceLength(text, pos, wellFormed);
      if (wellFormed) {
        pos += len;
        continue;
      }
      replacement = "\xEF\xBF\xBD";
    } else if (b == '"' || b == '\\') {
      escape[1] = static_cast<char>(b);
      replacement = escape;
    } else {
      switch (b) {
        case '\b': escape[1] = 'b'; break;
        case '\t': escape[1] = 't'; break;
        case '\n': escape[1] = 'n'; break;
        case '\f': escape[1] = 'f'; break;
        case '\r': escape[1] = 'r'; break;
        default:
          escape[1] = 'u';
          escape[2] = escape[3] = '0';
          escape[4] = hex[b >> 4];
          escape[5] = hex[b & 15];
      }
      replacement = escape;
    }
    out.append(text, copied, pos - copied);
    out += replacement;
    pos += len;
    copied = pos;
  }
  out.append(text, copied, n - copied);
  out += '"';
}
