// The Wubi list: loading and lookup.
#include "hanzi/mekWB.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Splits text into lines at CR LF, a lone CR or a lone LF; a final line end adds no
// empty line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

}  // namespace

TmekWB::TmekWB(const std::string& path) {
  try {
    if (!std::filesystem::exists(path)) return;
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    Lines = SplitLines({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  } catch (...) {
    // An unreadable list is an empty one: item 38 then shows no code.
    Lines.clear();
  }
}

std::string TmekWB::Lookup(const std::string& key) const {
  if (key.empty()) return {};
  // A key that begins outside ASCII is a character (a GBK lead byte and its second
  // byte, or the single-byte euro sign): it is compared with the character at the start
  // of a line only, so it never matches across a character's second byte and the first
  // letter of a code, nor at a second byte alone.
  const bool character = static_cast<unsigned char>(key[0]) >= 0x80;
  // The last matching line decides: searching from the end finds it first.
  for (auto line = Lines.rbegin(); line != Lines.rend(); ++line) {
    const bool match = character ? line->compare(0, key.size(), key) == 0
                                 : line->find(key) != std::string::npos;
    if (match) return line->size() > 2 ? line->substr(2, 4) : std::string();
  }
  return {};
}
