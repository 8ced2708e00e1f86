// The Chinese locale the program is made for, fixed: year-month-day with "-",
// short date yyyy-M-d, long time H:mm:ss, ":" between time fields, "." as decimal point.
#pragma once

inline constexpr char DateSeparator = '-';
inline constexpr char TimeSeparator = ':';
inline constexpr char DecimalSeparator = '.';
inline constexpr const char* ShortDateFormat = "yyyy-M-d";
inline constexpr const char* LongTimeFormat = "H:mm:ss";
