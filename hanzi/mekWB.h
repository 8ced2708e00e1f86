// The Wubi list: one line per character, its two GBK bytes followed by its Wubi code,
// read once from the list file and kept in memory for the lookups of item 38.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TmekWB {
public:
  // Reads the list at path and indexes it. A missing file leaves the list empty; so does
  // a file that cannot be read, without any report.
  explicit TmekWB(const std::string& path);

  // The code for key (up to two GBK bytes): bytes 3 to 6 of the last matching line,
  // or the empty text. A key that begins outside ASCII is a character and matches
  // only the lines that begin with it; an ASCII key matches every line that contains
  // it. An empty key matches nothing.
  std::string Lookup(const std::string& key) const;

  // The lines of the list, without their line ends. Read-only: the index is built from
  // them once.
  std::vector<std::string> Lines;

private:
  // The last line a key of one or two bytes matches, by those bytes, as line number + 1
  // (0: no line). Keys of one byte sit at the byte itself, keys of two bytes at
  // 256 + 256 x first byte + second byte; the first byte tells which rule was applied.
  std::vector<uint32_t> lastMatch_;
  std::string CodeOf(uint32_t lineNumber) const;
};
