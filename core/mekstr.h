// GBK text primitives shared by every calculation item. All texts are std::string of
// GBK (code page 936) bytes; positions count from 1.
#pragma once
#include <string>
#include <vector>

// The ordered list of texts that SplitText returns; never empty.
using Fmekfenjiestr = std::vector<std::string>;

// Lead byte of a double-byte GBK character (0x81-0xFE).
inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Maps the 95 full-width characters of HalfWidthTable to their ASCII counterparts.
std::string ToHalfWidth(const std::string& text);
// Replaces every occurrence of oldPattern (ASCII letters without case) by newPattern.
std::string ReplaceAll(const std::string& text, const std::string& oldPattern,
                       const std::string& newPattern);
int FieldCount(const std::string& text, char separator);
Fmekfenjiestr SplitText(const std::string& text, char separator);
int CharCount(const std::string& text);
int CharBytePos(const std::string& text, int n);
std::string MidChars(const std::string& text, int start, int count);
// Deletes every span from openMarker through closeMarker, and stray markers.
std::string DeleteSpans(const std::string& text, const std::string& openMarker,
                        const std::string& closeMarker);
// Date-time value as text: 1 date, 2 time, 3 both, anything else both with milliseconds.
std::string FormatStamp(int kind, double dateTime);

// Leading and trailing blanks and control characters (bytes up to 0x20) removed.
std::string TrimText(const std::string& text);

// x in Chinese numerals: with place units (10 is 一十, 100000001 is 一亿零一) or digit by
// digit (2010 is 二零一零), ordinary or financial (upperCase) numerals; the fraction
// digits of its general format follow "点". A negative x is written "负" and its absolute
// value. Raises EConvertError when the fraction digits cannot be read (1.5E-5) and for
// integer parts of 10^16 and more.
std::string NumberToChinese(double x, bool withUnits, bool upperCase);
