// The Wubi list: loading and lookup.
#include "hanzi/mekWB.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/mekstr.h"

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
