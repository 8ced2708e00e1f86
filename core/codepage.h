// Conversion between the engine's GBK text and UTF-8 at the program's edges.
// Both directions are total: a character the target lacks, and a byte sequence that
// does not decode, each become "?".
#pragma once
#include <string>

std::string GbkToUtf8(const std::string& gbk);
std::string Utf8ToGbk(const std::string& utf8);

// UTF-8 to GBK all or nothing, for bytes that claim to be UTF-8 as a whole (a web page,
// a decoded address). Sequences of one to three bytes decode; a four-byte sequence (a
// character beyond U+FFFF, which GBK lacks) becomes "?", as does any character GBK
// lacks. A byte-order mark at the very start is dropped. Any malformed sequence makes the
// whole result the empty text: a lead byte without enough continuation bytes (cut off by
// the end, or followed by a byte not of the form 10xxxxxx), a continuation byte without
// a lead, the bytes C0, C1 and F5-FF, overlong forms (E0 80-9F, F0 80-8F), surrogates
// (ED A0-BF) and values beyond U+10FFFF (F4 90-BF).
std::string Utf8ToGbkWhole(const std::string& utf8);

// Bytes of the UTF-8 sequence starting at pos: all of it when it is well formed (wellFormed
// set; the forms Utf8ToGbkWhole refuses are not), else its longest start that a well-formed
// sequence could begin with, at least one byte: the part that one replacement character
// stands for.
size_t Utf8SequenceLength(const std::string& s, size_t pos, bool& wellFormed);
