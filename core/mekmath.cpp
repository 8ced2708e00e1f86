// The expression evaluator and the general number format.
//
// The evaluator keeps the expression flat: a list of numbers and a string of signs and
// parentheses, where the k-th operator stands between the k-th and (k+1)-th numbers.
// Groups are reduced in the order of their closing parentheses (innermost and leftmost
// first), each group and then the top level with "*" and "/" before "+" and "-", left to
// right. Each operator is applied once through linked lists, so the work grows linearly
// with the length of the expression.
#include "core/mekmath.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "core/mekerror.h"
#include "core/meknum.h"
#include "core/mekstr.h"

namespace {

bool IsMeaningful(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == '*' || c == '/' ||
         c == '(' || c == ')';
}
bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }
bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }

double ReadRun(const std::string& run) {
  size_t points = 0;
  for (char c : run) points += c == '.';
  if (points > 1) throw EConvertError("'" + run + "' is not a valid floating point value");
  if (run == ".") return 0.0;
  return StrToFloat(run);
}

struct FReducer {
  std::vector<double> value;     // the numbers
  std::vector<int> nextNumber;   // next remaining number, -1 at the end
  std::vector<char> sign;        // operator characters
  std::vector<int> left;         // each operator's left number
  std::vector<int> nextOp;       // next remaining operator, -1 at the end

  void Apply(int op) {
    const int l = left[op];
    const int r = nextNumber[l];
    const double a = value[l], b = value[r];
    double v;
    switch (sign[op]) {
      case '+': v = a + b; break;
      case '-': v = a - b; break;
      case '*': v = a * b; break;
      default:
        if (b == 0.0) throw EEvalError("被0除错误");
        v = a / b;
    }
    if (!std::isfinite(v)) throw EOverflowError("Floating point overflow");
    value[l] = v;
    nextNumber[l] = nextNumber[r];
    // The next operator stood after the number just removed; it now follows the result.
    if (nextOp[op] >= 0) left[nextOp[op]] = l;
  }
};

// The expression's meaningful characters in order. "×" and "÷", as the keypad and Chinese
// input methods show them, stand for "*" and "/". Everything else is dropped, but dropped
// characters must not glue two parts of a number together: between a digit or point on
// each side only blanks and commas (group separators such as 1,000 or 1 000) may be
// dropped, so 1e3, 2^10 and 7%3 are malformed instead of 13, 210 and 73.
std::string FilterExpression(const std::string& input) {
  static const std::string Times = "×", Divide = "÷", WideBlank = "　", WideComma = "，";
  std::string text;
  text.reserve(input.size() + 1);
  bool glueing = false;  // dropped since the last kept character: more than blanks and commas
  for (size_t i = 0; i < input.size();) {
    const unsigned char lead = static_cast<unsigned char>(input[i]);
    const size_t width = lead >= 0x81 && lead <= 0xFE && i + 1 < input.size() ? 2 : 1;
    const std::string_view ch(input.data() + i, width);
    i += width;
    char c = width == 1 ? ch[0] : '\0';
    if (ch == Times) c = '*';
    if (ch == Divide) c = '/';
    if (c != '\0' && IsMeaningful(c)) {
      if (glueing && IsNumberChar(c) && !text.empty() && IsNumberChar(text.back()))
        throw EEvalError("");
      text.push_back(c);
      glueing = false;
      continue;
    }
    const bool separator = ch == " " || ch == "," || ch == WideBlank || ch == WideComma;
    glueing = glueing || !separator;
  }
  return text;
}

}  // namespace

double EvaluateExpression(const std::string& input) {
  std::string text = FilterExpression(input);
  if (text.empty()) throw EEvalError("");
  if (text[0] == '-') text.insert(text.begin(), '0');
  text = ReplaceAll(text, "(-", "(0-");

  long long depth = 0, opens = 0, closes = 0;
  for (char c : text) {
    if (c == '(') ++depth, ++opens;
    if (c == ')') {
      ++closes;
      if (--depth < 0) break;
    }
  }
  if (depth < 0 || opens != closes) throw EEvalError("表达式中括号不匹配" + text);

  size_t runs = 0, operators = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsNumberChar(text[i]) && (i == 0 || !IsNumberChar(text[i - 1]))) ++runs;
    if (IsOperator(text[i])) ++operators;
  }
  if (runs != operators + 1) throw EEvalError("运算符过多或过少" + text);

  FReducer r;
  r.value.reserve(runs);
  r.sign.reserve(operators);
  // Each group's own operators, listed in the order the groups close; the top level last.
  std::vector<std::vector<int>> groups;
  std::vector<std::vector<int>> open{{}};
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (IsNumberChar(c)) {
      size_t j = i;
      while (j < text.size() && IsNumberChar(text[j])) ++j;
      r.value.push_back(ReadRun(text.substr(i, j - i)));
      i = j;
      continue;
    }
    if (c == '(') {
      open.emplace_back();
    } else if (c == ')') {
      groups.push_back(std::move(open.back()));
      open.pop_back();
    } else {
      const int op = static_cast<int>(r.sign.size());
      r.sign.push_back(c);
      r.left.push_back(op);
      open.back().push_back(op);
    }
    ++i;
  }
  groups.push_back(std::move(open.back()));

  const int n = static_cast<int>(r.value.size());
  r.nextNumber.resize(n);
  for (int k = 0; k < n; ++k) r.nextNumber[k] = k + 1 < n ? k + 1 : -1;
  const int m = static_cast<int>(r.sign.size());
  r.nextOp.resize(m);
  for (int k = 0; k < m; ++k) r.nextOp[k] = k + 1 < m ? k + 1 : -1;
  // Applying an operator removes it; its predecessor's successor becomes its successor.
  std::vector<int> prevOp(m);
  for (int k = 0; k < m; ++k) prevOp[k] = k - 1;
  auto applyAndUnlink = [&](const std::vector<int>& ops) {
    auto unlink = [&](int op) {
      const int p = prevOp[op], q = r.nextOp[op];
      if (p >= 0) r.nextOp[p] = q;
      if (q >= 0) prevOp[q] = p;
    };
    for (int pass = 0; pass < 2; ++pass)
      for (int op : ops) {
        const bool mul = r.sign[op] == '*' || r.sign[op] == '/';
        if (mul != (pass == 0)) continue;
        r.Apply(op);
        unlink(op);
      }
  };
  for (const auto& g : groups) applyAndUnlink(g);
  return r.value[0];
}

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) throw EOverflowError("Floating point overflow");
  if (value == 0) return "0";
  if (value < 0) return "-" + FormatGeneral(-value);
  // d.dddddddddddddde±x: the value rounded to 15 significant digits.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  const std::string s(buf, res.ptr);
  const size_t e = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exp10 = std::stoi(s.substr(e + 1));
  const int E = exp10 + 1;  // value = 0.d1d2...dn x 10^E
  const int nd = static_cast<int>(digits.size());
  std::string out;
  if (E >= -3 && E <= 15) {
    if (E <= 0) {
      out = "0." + std::string(-E, '0') + digits;
    } else if (nd <= E) {
      out = digits + std::string(E - nd, '0');
    } else {
      out = digits.substr(0, E) + "." + digits.substr(E);
    }
  } else {
    out = digits.substr(0, 1);
    if (nd > 1) out += "." + digits.substr(1);
    out += "E";
    const int x = E - 1;
    if (x < 0) out += "-";
    out += std::to_string(x < 0 ? -x : x);
  }
  return out;
}
