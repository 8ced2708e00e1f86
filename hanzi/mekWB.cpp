// The Wubi list: loading, its index and lookup.
#include "hanzi/mekWB.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/mekstr.h"

namespace {

bool IsCharacterByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

size_t OneByteSlot(char a) { return static_cast<unsigned char>(a); }
size_t TwoByteSlot(char a, char b) {
  return 256 + static_cast<unsigned char>(a) * 256u + static_cast<unsigned char>(b);
}

// The lines of the list file; none when it is missing or cannot be read (item 38 then
// shows no code).
std::vector<std::string> ReadList(const std::string& path) {
  try {
    if (!std::filesystem::exists(path)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return SplitLines({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  } catch (...) {
    return {};
  }
}

}  // namespace

TmekWB::TmekWB(const std::string& path) : Lines(ReadList(path)) {
  // Every key of one or two bytes a line matches, the line noted under it; later lines
  // overwrite earlier ones, so the last matching line stays. A key that begins outside
  // ASCII (a character) matches at the start of the line only; an ASCII key at any
  // position.
  lastMatch_.assign(256 + 256 * 256, 0);
  for (size_t n = 0; n < Lines.size(); ++n) {
    const std::string& line = Lines[n];
    const uint32_t number = static_cast<uint32_t>(n + 1);
    for (size_t i = 0; i < line.size(); ++i) {
      if (i > 0 && IsCharacterByte(line[i])) continue;
      lastMatch_[OneByteSlot(line[i])] = number;
      if (i + 1 < line.size()) lastMatch_[TwoByteSlot(line[i], line[i + 1])] = number;
    }
  }
}

std::string TmekWB::CodeOf(uint32_t lineNumber) const {
  if (lineNumber == 0) return {};
  const std::string& line = Lines[lineNumber - 1];
  return line.size() > 2 ? line.substr(2, 4) : std::string();
}

std::string TmekWB::Lookup(const std::string& key) const {
  if (key.empty()) return {};
  if (key.size() == 1) return CodeOf(lastMatch_[OneByteSlot(key[0])]);
  if (key.size() == 2) return CodeOf(lastMatch_[TwoByteSlot(key[0], key[1])]);
  // Longer keys are not indexed: the lines are searched from the end, so the first
  // match is the last matching line. A key that begins outside ASCII is a character (a
  // GBK lead byte and its second byte, or the single-byte euro sign): it is compared
  // with the character at the start of a line only, so it never matches across a
  // character's second byte and the first letter of a code, nor at a second byte alone.
  const bool character = IsCharacterByte(key[0]);
  for (size_t n = Lines.size(); n > 0; --n) {
    const std::string& line = Lines[n - 1];
    const bool match = character ? line.compare(0, key.size(), key) == 0
                                 : line.find(key) != std::string::npos;
    if (match) return CodeOf(static_cast<uint32_t>(n));
  }
  return {};
}
