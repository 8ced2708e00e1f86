// Identity card numbers: the check character, the widening of the old 15-digit form and
// the region named by the first six digits. All texts are GBK.
#pragma once
#include <string>

// The 18-character form of a 15-digit number: "19" inserted before the two year digits
// ("20" when they are below 10) and the check character appended. An 18-character
// number is returned as it is; any other length gives the empty text. Raises
// EConvertError when a 15-character number holds a character that is not a digit.
std::string IdWiden15To18(const std::string& number);

// The check character ("0".."9" or "X") of the first 17 digits of number, which is
// widened first when it has 15 characters. Raises EConvertError when one of the first 17
// positions is missing or not a digit.
std::string IdCheckChar(const std::string& number);

// The place name of the number's region code (its first six bytes, or the whole number
// when shorter, taken as they are) in section "sfz" of the INI file at path; "未知地址"
// when the code is not there or the file cannot be read, "缺少文件" when there is no
// file at path.
std::string IdRegion(const std::string& path, const std::string& number);
