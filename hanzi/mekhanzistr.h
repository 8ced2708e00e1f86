// Stroke counts and radicals of Chinese characters, from constant tables built into the
// module. Both operations look at the first character of a GBK text only.
#pragma once
#include <string>

// The stroke count of the first character of text: its entry in the GB2312 hanzi table,
// 0 for the unassigned cells, which hold no character (the radical forms such as 丨 and
// 扌 have their counts), -1 for a character outside the table (ASCII, symbols, GBK characters outside
// GB2312). The bytes are used as they are. Raises EMekError on an empty text.
int HanziStrokeCount(const std::string& text);

// The radical under which the first character of text is filed (one or two forms, such
// as "口" or "扌手"), or the empty text for anything outside U+4E00..U+9FA5.
std::string HanziRadical(const std::string& text);
