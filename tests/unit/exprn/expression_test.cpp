// The single-expression evaluator as the settings dialog's number fields use it.
#include <gtest/gtest.h>

#include <math.h>

#include <string>

#include "error_codes.h"
#include "exprn.h"

namespace {

TEST(Expressions, FollowPrecedenceAndKnowTheCommonFunctions) {
  const double pi = 3.14159265358979323846;
  const struct {
    const char *text;
    double value;
  } cases[] = {
      {"1+2*3", 7},         {"(1+2)*3", 9},
      {"-2^2", -4},         {"2^3^2", 512},
      {"2^-1", 0.5},        {"7 mod 3", 1},
      {"7%3", 1},           {"-7 MOD 3", -1},
      {"1.5e3", 1500},      {".5", 0.5},
      {"2E-2", 0.02},       {" \t12 ", 12},
      {"10/4", 2.5},        {"abs(-3)", 3},
      {"int(-2.5)", -3},    {"sqr(16)", 4},
      {"sin(0)+cos(0)", 1}, {"atn(1)*4", pi},
      {"log(exp(2))", 2},   {"pi", pi},
      {"tan(0)", 0},        {"4294967295", 4294967295.0},
      {"--3", 3},           {"len(\"abc\")", 3},
      {"1<2", 1},           {"not 1=2", 1},
      {"3>2 and 2>3", 0},   {"val(\"12.5x\")", 12.5},
      {"val(\"0x1A\")", 0}, {"val(\"1e999\")+val(\"nan\")", 0},
      {"1<2<3", 1},         {"3>2>1", 0},
      {"12 ' comment", 12}, {"5 rem comment", 5},
  };
  for (const auto &c : cases) {
    double value = -12345;
    EXPECT_EQ(EvaluateExpressionText(c.text, &value), 0) << c.text;
    EXPECT_NEAR(value, c.value, 1e-12 * fabs(c.value) + 1e-12) << c.text;
  }
}

TEST(Expressions, FailWithTheCodeOfWhatWentWrongAndLeaveTheResult) {
  // 64 levels: the expression itself and 63 parentheses, signs or "not"s inside it.
  std::string deepest = std::string(63, '(') + "1" + std::string(63, ')');
  double value = 0;
  EXPECT_EQ(EvaluateExpressionText(
                ("-" + std::string(62, '(') + "1" + std::string(62, ')')).c_str(), &value),
            0);
  EXPECT_EQ(EvaluateExpressionText(deepest.c_str(), &value), 0);
  std::string deep = "(" + deepest + ")", power = "1";
  for (int i = 0; i < 64; ++i) power += "^1";
  std::string longNumber = "1" + std::string(45, '0');
  const struct {
    std::string text;
    int code;
  } cases[] = {
      {"", kErrSyntax},
      {"1+", kErrSyntax},
      {"1 2", kErrSyntax},
      {"@", kErrSyntax},
      {"\"abc", kErrSyntax},
      {"1/0", kErrDivideByZero},
      {"5 mod 0", kErrDivideByZero},
      {"0^-1", kErrDivideByZero},
      {"(1+2", kErrParenthesis},
      {"1+2)", kErrParenthesis},
      {")", kErrParenthesis},
      {"x+1", kErrVariableUse},
      {deep, kErrTooDeep},
      {"-" + deepest, kErrTooDeep},
      {"not " + deepest, kErrTooDeep},
      {power, kErrTooDeep},
      {"sqr 4", kErrArgument},
      {"left$(1,2)", kErrArgument},
      {"abs(1,2)", kErrArgument},
      {"sqr(-1)", kErrOutOfRange},
      {"log(0)", kErrOutOfRange},
      {"chr$(300)", kErrOutOfRange},
      {"sin(2^63)+cos(0)", kErrOutOfRange},
      {"cos(-1e22)", kErrOutOfRange},
      {"tan(1e300)", kErrOutOfRange},
      {"(-8)^0.5", kErrOutOfRange},
      {"10^400", kErrOverflow},
      {"1e400", kErrOverflow},
      {"exp(1000)", kErrOverflow},
      {longNumber, kErrNumberTooLong},
      {"\"a\"", kErrKind},
      {"\"a\"+1", kErrKind},
      {"eof(1)", kErrSingleLine},
  };
  for (const auto &c : cases) {
    double value = -12345;
    EXPECT_EQ(EvaluateExpressionText(c.text.c_str(), &value), c.code) << c.text;
    EXPECT_EQ(value, -12345) << c.text;
  }
}

}  // namespace
