#include "number_text.h"

namespace {

// The blanks that the C library's conversions skip: space, tab, line feed, vertical tab, form
// feed and carriage return.
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int ParsePlainNumber(const char *text, uint32_t *out) {
  const char *p = text;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return 0;
  uint32_t value = 0;
  bool tooLarge = false;
  for (; *p >= '0' && *p <= '9'; ++p) {
    const uint32_t digit = static_cast<uint32_t>(*p - '0');
    if (value > (UINT32_MAX - digit) / 10) tooLarge = true;
    value = value * 10 + digit;
  }
  if (*p) return 0;
  // A number too large for the field is its largest value, whatever its sign: negating the
  // saturated value would turn a huge negative entry into 1.
  if (tooLarge)
    *out = UINT32_MAX;
  else
    *out = negative ? 0u - value : value;
  return 1;
}

int NumberFromResult(double value, uint32_t *out) {
  // -2^63 converts exactly; 2^63 and beyond do not fit.  NaN fails both comparisons.
  if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) return 0;
  *out = static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(value)));
  return 1;
}
