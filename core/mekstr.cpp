// GBK text primitives.
#include "core/mekstr.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/halfwidth_table.h"
#include "core/mekdatetime.h"
#include "core/meklocale.h"

namespace {

// The ASCII character whose full-width form is lead:trail, or 0.
struct FReverseHalfWidth {
  unsigned char map[256][256]{};
  FReverseHalfWidth() {
    for (size_t i = 0; i < HalfWidthTable.size(); ++i)
      map[HalfWidthTable[i].lead][HalfWidthTable[i].trail] = static_cast<unsigned char>(0x20 + i);
  }
};

const FReverseHalfWidth& ReverseHalfWidth() {
  static const FReverseHalfWidth table;
  return table;
}

unsigned char UpperAscii(unsigned char b) { return (b >= 'a' && b <= 'z') ? b - 32 : b; }

// Leftmost match of pattern in text at or after from, compared without ASCII case and
// not starting on the trail byte of a double-byte character; npos when none.
size_t FindNoCase(const std::string& text, const std::string& pattern, size_t from,
                  const std::vector<bool>& isTrail) {
  const size_t n = text.size(), m = pattern.size();
  if (m > n) return std::string::npos;
  for (size_t i = from; i + m <= n; ++i) {
    if (isTrail[i]) continue;
    size_t k = 0;
    while (k < m && UpperAscii(text[i + k]) == UpperAscii(pattern[k])) ++k;
    if (k == m) return i;
  }
  return std::string::npos;
}

}  // namespace

std::string ToHalfWidth(const std::string& text) {
  const auto& rev = ReverseHalfWidth();
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = text[i];
    if (IsLeadByte(b) && i + 1 < n) {
      const unsigned char t = text[i + 1];
      if (unsigned char a = rev.map[b][t]) {
        out.push_back(static_cast<char>(a));
      } else {
        out.push_back(static_cast<char>(b));
        out.push_back(static_cast<char>(t));
      }
      ++i;
    } else {
      // ASCII, a stray byte, or a lead byte at the very end: copied unchanged.
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

std::string ReplaceAll(const std::string& text, const std::string& oldPattern,
                       const std::string& newPattern) {
  if (oldPattern.empty() || text.empty()) return text;
  // Trail bytes of double-byte characters, where no match may begin.
  std::vector<bool> isTrail(text.size(), false);
  for (size_t i = 0; i < text.size(); ++i)
    if (IsLeadByte(text[i]) && i + 1 < text.size()) isTrail[++i] = true;
  std::string out;
  size_t pos = 0;
  for (;;) {
    const size_t hit = FindNoCase(text, oldPattern, pos, isTrail);
    if (hit == std::string::npos) {
      out.append(text, pos, std::string::npos);
      return out;
    }
    out.append(text, pos, hit - pos);
    out += newPattern;
    pos = hit + oldPattern.size();
  }
}

size_t FindText(std::string_view text, std::string_view pattern) {
  size_t boundary = 0;  // the first character boundary at or after the bytes walked
  for (size_t hit = text.find(pattern); hit != text.npos; hit = text.find(pattern, hit + 1)) {
    while (boundary < hit)
      boundary += IsLeadByte(text[boundary]) && boundary + 1 < text.size() ? 2 : 1;
    if (boundary == hit) return hit;
  }
  return std::string::npos;
}

int FieldCount(const std::string& text, char separator) {
  int n = 1;
  for (char c : text)
    if (c == separator) ++n;
  return n;
}

Fmekfenjiestr SplitText(const std::string& text, char separator) {
  Fmekfenjiestr parts;
  size_t start = 0;
  for (;;) {
    const size_t p = text.find(separator, start);
    if (p == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, p - start));
    start = p + 1;
  }
}

int CharCount(const std::string& text) {
  int count = 0;
  for (size_t i = 0, n; i < text.size() && (n = CharLengthAt(text, i)) > 0; i += n) ++count;
  return count;
}

int CharBytePos(const std::string& text, int n) {
  if (n == 1) return 1;
  int count = 0;
  for (size_t i = 0, k; i < text.size() && (k = CharLengthAt(text, i)) > 0;) {
    i += k;
    if (++count == n - 1) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string MidChars(const std::string& text, int start, int count) {
  const int chars = CharCount(text);
  if (start > chars) return {};
  const int from = CharBytePos(text, start);
  if (from < 1) return {};
  if (static_cast<long long>(chars) - start + 1 < count) return text.substr(from - 1);
  const int to = CharBytePos(text, start + count);
  if (to < from) return text.substr(from - 1);
  return text.substr(from - 1, to - from);
}

namespace {

// The text being cut by DeleteSpans: the kept part `out` followed by the rest of the
// source from `i` on. The kept part never holds a whole marker, except one that starts
// in its last few bytes and runs on into the rest, so a search looks only there and in
// the source, whose first occurrences are remembered until the cursor passes them.
struct FSpanCutter {
  const std::string& src;
  std::string out;
  size_t i = 0;
  size_t tail;  // longest marker length - 1

  char At(size_t pos) const { return pos < out.size() ? out[pos] : src[i + pos - out.size()]; }
  size_t Length() const { return out.size() + src.size() - i; }

  size_t Find(const std::string& marker, size_t& cached) const {
    if (marker.empty()) return std::string::npos;
    const size_t from = out.size() > tail ? out.size() - tail : 0;
    for (size_t pos = from; pos < out.size(); ++pos) {
      if (pos + marker.size() > Length()) break;
      size_t k = 0;
      while (k < marker.size() && At(pos + k) == marker[k]) ++k;
      if (k == marker.size()) return pos;
    }
    if (cached == std::string::npos - 1 || (cached != std::string::npos && cached < i))
      cached = src.find(marker, i);
    return cached == std::string::npos ? cached : out.size() + cached - i;
  }

  // Deletes the bytes [a, b) of the current text.
  void Delete(size_t a, size_t b) {
    const size_t o = out.size();
    if (b <= o) {
      out.erase(a, b - a);
    } else if (a < o) {
      i += b - o;
      out.resize(a);
    } else {
      out.append(src, i, a - o);
      i += b - o;
    }
  }
};

}  // namespace

std::string DeleteSpans(const std::string& text, const std::string& openMarker,
                        const std::string& closeMarker) {
  FSpanCutter c{text, {}, 0, std::max(openMarker.size(), closeMarker.size())};
  if (c.tail > 0) --c.tail;
  c.out.reserve(text.size());
  size_t openCache = std::string::npos - 1, closeCache = std::string::npos - 1;
  for (;;) {
    const size_t p = c.Find(openMarker, openCache);
    const size_t q = c.Find(closeMarker, closeCache);
    const bool hasP = p != std::string::npos, hasQ = q != std::string::npos;
    if (!hasP && !hasQ) break;
    if (hasP && hasQ && q >= p) {
      c.Delete(p, q + closeMarker.size());  // a whole span
    } else if (hasQ) {
      c.Delete(q, q + closeMarker.size());  // a closing marker with no opening before it
    } else {
      c.Delete(p, p + openMarker.size());  // an opening marker that is never closed
    }
  }
  c.out.append(text, c.i, std::string::npos);
  return std::move(c.out);  // a member is not moved out by itself
}

std::string FormatStamp(int kind, double dateTime) {
  const FDateParts d = DecodeDate(dateTime);
  const FTimeParts t = DecodeTime(dateTime);
  char date[16], time[16], ms[8];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year % 10000, d.month, d.day);
  std::snprintf(time, sizeof time, "%02d%c%02d%c%02d", t.hour, TimeSeparator, t.minute,
                TimeSeparator, t.second);
  std::snprintf(ms, sizeof ms, "%03d", t.millisecond);
  switch (kind) {
    case 1: return date;
    case 2: return time;
    case 3: return std::string(date) + " " + time;
    default: return std::string(date) + " " + time + " " + ms;
  }
}

std::string TrimText(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
  return std::string(text.substr(b, e - b));
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  TLineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

bool TLineReader::Next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  const size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
  line = text_.substr(pos_, end - pos_);
  pos_ = end + (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n' ? 2 : 1);
  return true;
}
