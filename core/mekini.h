// Reading values from INI files (GBK text), the engine's one INI reader.
//
// A file is lines ending in CR LF, LF or CR, after a UTF-8 byte-order mark, which is
// skipped when the file begins with one. A line "[name]" starts a section; a line
// "key=value" is an entry of the section above it: the key is the text before the first
// "=", the value the text after it, blanks (spaces and tabs) around both ignored. Lines
// starting with ";" and lines without "=" are ignored, and so are entries before the
// first section. Section names and keys match without regard to the case of ASCII
// letters (the bytes of a double-byte GBK character are compared as they are); blanks
// around the requested section and key are ignored too. When a key appears more than
// once in a section (or in several sections of the same name) the first one counts.
//
// A file is parsed once and kept, keyed by its path; every read compares the file's
// identity (device, inode, size, modification and change time) and parses it again
// when it changed, and also while the file was changed less than about two seconds
// before it was read (time stamps are too coarse to tell such changes apart); a
// modification time in the future does not count as such a change. Files
// larger than IniMaxFileSize count as unreadable.
#pragma once
#include <cstddef>
#include <string>

inline constexpr size_t IniMaxFileSize = 16u << 20;

// The value of key in section of the file at path, or defaultValue when the file has
// no such entry, does not exist, is not a regular file, is too large or cannot be
// read. Never raises.
std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue);
