// The Wubi list: one line per character, its two GBK bytes followed by its Wubi code,
// read once from the list file and kept in memory for the lookups of item 38.
#pragma once
#include <string>
#include <vector>

class TmekWB {
public:
  // Reads the list at path. A missing file leaves the list empty; so does a file that
  // cannot be read, without any report.
  explicit TmekWB(const std::string& path);

  // The code for key (up to two GBK bytes): bytes 3 to 6 of the last matching line,
  // or the empty text. A key that begins outside ASCII is a character and matches
  // only the lines that begin with it; an ASCII key matches every line that contains
  // it. An empty key matches nothing.
  std::string Lookup(const std::string& key) const;

  // The lines of the list, without their line ends.
  std::vector<std::string> Lines;
};
