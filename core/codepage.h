// Conversion between the engine's GBK text and UTF-8 at the program's edges.
// Both directions are total: a character the target lacks, and a byte sequence that
// does not decode, each become "?".
#pragma once
#include <string>

std::string GbkToUtf8(const std::string& gbk);
std::string Utf8ToGbk(const std::string& utf8);
