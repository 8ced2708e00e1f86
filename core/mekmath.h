// Arithmetic: the expression evaluator and the general number format.
#pragma once
#include <string>

// Evaluates an arithmetic expression of digits, ".", "+", "-", "*", "/", "(" and ")";
// every other character is removed first. Raises EEvalError with its message,
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
