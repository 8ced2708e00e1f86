// Chinese numerals: digits and place units. Zero is "零" in both cases, and the group
// units "万" and "亿" are the same in both.
#include "core/numerals_table.h"

const std::array<const char*, 10> LowerDigits = {
    "零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
const std::array<const char*, 10> UpperDigits = {
    "零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖"};

const std::array<const char*, 16> LowerUnits = {
    "", "十", "百", "千", "万", "十", "百", "千", "亿", "十", "百", "千", "万", "十万", "百万", "千万"};
const std::array<const char*, 16> UpperUnits = {
    "", "拾", "佰", "仟", "万", "拾", "佰", "仟", "亿", "拾", "佰", "仟", "万", "拾万", "佰万", "仟万"};
