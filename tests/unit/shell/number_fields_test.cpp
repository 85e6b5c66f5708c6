#include "number_text.h"

#include <gtest/gtest.h>

#include <math.h>

namespace {

struct PlainCase {
  const char *text;
  int valid;
  uint32_t value;
};

TEST(NumberText, PlainNumbersFollowTheDecimalRules) {
  const PlainCase cases[] = {
      {"550", 1, 550},
      {"  \t 40", 1, 40},
      {"+7", 1, 7},
      {"-1", 1, 4294967295u},
      {"-0", 1, 0},
      {"- 5", 0, 0},
      {"007", 1, 7},
      {"4294967295", 1, 4294967295u},
      {"4294967296", 1, 4294967295u},
      {"99999999999999999999", 1, 4294967295u},
      {"-4294967295", 1, 1},
      {"-4294967296", 1, 4294967295u},
      {"", 0, 0},
      {"   ", 0, 0},
      {"+", 0, 0},
      {"12a", 0, 0},
      {"12 ", 0, 0},
      {"1+2", 0, 0},
      {"0x10", 0, 0},
      {"３", 0, 0},
  };
  for (const PlainCase &c : cases) {
    uint32_t out = 12345;
    EXPECT_EQ(ParsePlainNumber(c.text, &out), c.valid) << '"' << c.text << '"';
    EXPECT_EQ(out, c.valid ? c.value : 12345u) << '"' << c.text << '"';
  }
}

TEST(NumberText, ResultsAreTruncatedTowardZeroAndKeepTheirLow32Bits) {
  const struct {
    double value;
    uint32_t expected;
  } cases[] = {
      {12.7, 12},
      {2.9, 2},
      {3.5, 3},
      {-1.0, 4294967295u},
      {-2.9, 4294967294u},
      {-0.5, 0},
      {4294967296.0, 0},
      {4294967301.9, 5},
      {-9223372036854775808.0, 0},
  };
  for (const auto &c : cases) {
    uint32_t out = 777;
    EXPECT_EQ(NumberFromResult(c.value, &out), 1) << c.value;
    EXPECT_EQ(out, c.expected) << c.value;
  }
  for (double outside : {9223372036854775808.0, -1e300, double(INFINITY), double(NAN)}) {
    uint32_t out = 777;
    EXPECT_EQ(NumberFromResult(outside, &out), 0) << outside;
    EXPECT_EQ(out, 777u);
  }
}

}  // namespace
