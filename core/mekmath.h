// Arithmetic: the expression evaluator and the general number format.
#pragma once
#include <string>

// Evaluates an arithmetic expression of digits, ".", "+", "-", "*", "/", "(" and ")",
// with "×" and "÷" read as "*" and "/"; every other character is removed first, but one
// removed between two parts of a number (other than blanks and commas, which group
// digits) makes the expression malformed. Raises EEvalError with its message,
// EConvertError for a malformed number, EOverflowError beyond the double range.
double EvaluateExpression(const std::string& text);
// A double with up to 15 significant digits, fixed notation from 1E-4 to below 1E15.
std::string FormatGeneral(double value);
// value with exactly `decimals` digits after ".", rounded to nearest (the "%.2f" of the
// messages and results), whatever the C locale. EOverflowError for a non-finite value.
std::string FormatFixed(double value, int decimals);

// ---- Unit conversions ----
// value in fromUnit converted to toUnit, both named as in the quantity's unit table
// (core/units_table.h); -1 when either name is not in the table.
double ConvertLength(const std::string& fromUnit, const std::string& toUnit, double value);
double ConvertArea(const std::string& fromUnit, const std::string& toUnit, double value);
double ConvertVolume(const std::string& fromUnit, const std::string& toUnit, double value);
double ConvertMass(const std::string& fromUnit, const std::string& toUnit, double value);

enum class EQuantity { Length, Area, Volume, Mass };
// The table's name of a unit as typed: blanks around it removed, a common name read as
// the table's ("磅" as "英磅", "英亩" as "平方英亩"); the empty text when the quantity's
// table has no such unit.
std::string TableUnitName(EQuantity quantity, const std::string& typed);
// The quantity's unit names in table order, separated by ",": "微米,毫米,...,海里".
std::string UnitNames(EQuantity quantity);
