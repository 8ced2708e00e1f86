// The expression evaluator and the general number format.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/mekerror.h"
#include "core/mekmath.h"

namespace {
std::string Eval(const std::string& e) { return FormatGeneral(EvaluateExpression(e)); }
}  // namespace

TEST(Evaluate, Results) {
  struct {
    const char* expr;
    const char* result;
  } cases[] = {
      {"1+2*3", "7"}, {"(1+2)*3", "9"}, {"8-2-1", "5"}, {"8/2/2", "2"},
      {"((1+2+3)*4)", "24"}, {"(5)", "5"}, {"((5))", "5"},
      {"-5+3", "-2"}, {"(-5)*2", "-10"}, {"-(2+3)", "-5"},
      {"1/3", "0.333333333333333"}, {"2/3", "0.666666666666667"}, {"0.1+0.2", "0.3"},
      {"10/4", "2.5"}, {"100000*10000000000", "1E15"}, {"999999999999999", "999999999999999"},
      {"0.0001", "0.0001"}, {"1/100000", "1E-5"}, {"0-1/100000", "-1E-5"},
      {"1,000+1", "1001"}, {"1，000+1", "1001"}, {"1 000*2", "2000"}, {"1　000*2", "2000"},
      {"1, 000+1", "1001"}, {"1 + 2 =", "3"}, {"50%", "50"}, {"x2+3", "5"}, {".", "0"}, {"(1+)2", "3"},
      {".5+5.", "5.5"}, {"2*3+4*5-6/2", "23"}, {"2-3*4+5", "-5"}, {"1-(2-(3-4))", "-2"},
      {"(1+2)*(3+4)/(5-6)", "-21"}, {"1×2÷3", "0.666666666666667"},
      {"3×4", "12"}, {"8÷2", "4"}, {"(2+3)×7", "35"},
      {"(2+3)*7/19", "1.84210526315789"}, {"1.5*2", "3"}, {"0.1*3", "0.3"},
      {"123456789012345678", "1.23456789012346E17"}, {"1/3*3", "1"},
      {"2(+)3", "5"},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(c.expr), c.result) << c.expr;
}

TEST(Evaluate, FailuresAndTheirMessages) {
  struct {
    const char* expr;
    const char* message;  // nullptr: a conversion or overflow failure
  } cases[] = {
      {"(1+2", "表达式中括号不匹配(1+2"},
      {"1)+(2", "表达式中括号不匹配1)+(2"},
      {"-(1", "表达式中括号不匹配0-(1"},
      {"(-1", "表达式中括号不匹配(0-1"},
      {"2*-3", "运算符过多或过少2*-3"},
      {"3--2", "运算符过多或过少3--2"},
      {"+5", "运算符过多或过少+5"},
      {"2(3)", "运算符过多或过少2(3)"},
      {"()", "运算符过多或过少()"},
      {"1/0", "被0除错误"},
      {"1/(2-2)", "被0除错误"},
      {"0/0", "被0除错误"},
      {"abc", ""},
      {"中文", ""},
      // a removed character between two parts of a number glues nothing together
      {"1e3", ""}, {"2^10", ""}, {"7%3", ""}, {"2x3", ""}, {"1.5e.2", ""}, {"3乘4", ""},
      {"1 e3", ""},
  };
  for (const auto& c : cases) {
    try {
      EvaluateExpression(c.expr);
      ADD_FAILURE() << c.expr << " evaluated";
    } catch (const EEvalError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.expr;
    }
  }
  EXPECT_THROW(EvaluateExpression("1..2"), EConvertError);
  EXPECT_THROW(EvaluateExpression("1.2.3+1/0"), EConvertError);  // before the division
  EXPECT_THROW(EvaluateExpression(std::string(400, '9')), EConvertError);
  EXPECT_THROW(EvaluateExpression(std::string(300, '9') + "*" + std::string(300, '9')),
               EOverflowError);
  EXPECT_THROW(EvaluateExpression("1/0." + std::string(400, '0') + "1"), EEvalError);
}

TEST(Evaluate, ParenthesisGroupsAreReducedFirst) {
  // The group holding the division by zero is reduced before the overflowing product
  // that stands to its left at the top level.
  const std::string big = std::string(300, '9');
  try {
    EvaluateExpression(big + "*" + big + "+(1/0)");
    ADD_FAILURE();
  } catch (const EEvalError& e) {
    EXPECT_STREQ(e.what(), "被0除错误");
  }
}

TEST(Evaluate, TinyResultsUnderflowWithoutFailing) {
  const std::string tiny = "0." + std::string(200, '0') + "1";
  EXPECT_EQ(Eval(tiny + "*" + tiny), "0");
}

TEST(Evaluate, LongExpressionsStayLinear) {
  std::string e;
  for (int i = 0; i < 200000; ++i) e += "1+2*3-";
  e += "0";
  EXPECT_EQ(Eval(e), "1000002");  // 7 + 199999 × 5
  std::string nested(50000, '(');
  nested += "1";
  nested += std::string(50000, ')');
  EXPECT_EQ(Eval(nested), "1");
  std::string signs(100000, '-');
  EXPECT_THROW(EvaluateExpression(signs), EEvalError);
}

TEST(FormatGeneral, Layouts) {
  struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"}, {-0.0, "0"}, {1.0, "1"}, {-1.5, "-1.5"}, {1e15, "1E15"},
      {999999999999999.0, "999999999999999"}, {1e14, "100000000000000"}, {0.0001, "0.0001"},
      {0.00012345, "0.00012345"}, {0.00001, "1E-5"}, {1.5e-10, "1.5E-10"}, {1.5e300, "1.5E300"},
      {123.456, "123.456"}, {0.1 + 0.2, "0.3"}, {1234567890123456789.0, "1.23456789012346E18"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {9.999999999999999e14, "1E15"}, {0.5, "0.5"}, {100.0, "100"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
  EXPECT_THROW(FormatGeneral(std::numeric_limits<double>::infinity()), EOverflowError);
  EXPECT_THROW(FormatGeneral(std::nan("")), EOverflowError);
}
