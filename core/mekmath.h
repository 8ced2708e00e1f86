// Arithmetic: the expression evaluator and the general number format.
#pragma once
#include <string>

// Evaluates an arithmetic expression of digits, ".", "+", "-", "*", "/", "(" and ")";
// every other character is removed first. Raises EEvalError with its message,
// EConvertError for a malformed number, EOverflowError beyond the double range.
double EvaluateExpression(const std::string& text);
// A double with up to 15 significant digits, fixed notation from 1E-4 to below 1E15.
std::string FormatGeneral(double value);
