// Simplified and traditional Chinese: GBK text converted through OpenCC's dictionaries
// (s2t.json and t2s.json), phrase by phrase where a phrase maps differently from its
// characters (头发 becomes 頭髮).
#pragma once
#include <string>

// The text with traditional characters replaced by simplified ones.
std::string ToSimplified(const std::string& text);
// The text with simplified characters replaced by traditional ones.
std::string ToTraditional(const std::string& text);

// Both raise EMekError when OpenCC's configuration or dictionaries cannot be loaded, and
// EMissingModule when OpenCC's module (modules/orvex-opencc.so) is missing or damaged.
// A converted character that GBK lacks becomes "?". ORVEX_OPENCC_DIR, when set, names
// the folder holding s2t.json and t2s.json and their dictionaries; otherwise OpenCC's
// own data folder is used.
