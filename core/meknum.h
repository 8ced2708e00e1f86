// Strict readers of integer and number text, and rounding half to even. Whatever they
// refuse raises EConvertError.
#pragma once
#include <cstdint>
#include <string>

// Leading blanks (0x20), optional sign, decimal digits or hexadecimal after "$", "x",
// "X", "0x", "0X"; nothing after the digits; signed 32-bit range.
int32_t StrToInt(const std::string& text);
// Optional sign, digits with "." as decimal point, optional exponent; nothing else.
// A value beyond the double range is refused as well.
double StrToFloat(const std::string& text);
// Non-throwing forms.
bool TryStrToInt(const std::string& text, int32_t& value);
bool TryStrToFloat(const std::string& text, double& value);
// Nearest integer, a tie going to the even neighbour; EConvertError beyond int64.
int64_t RoundHalfEven(double value);
