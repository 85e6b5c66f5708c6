// Any text as a number field's contents, read the plain way (no interpreter), against a
// reference that reads it digit by digit in 64 bits; and any eight bytes as an interpreter's
// result turned into a field value (the undefined-behaviour checker watches the conversion).
#include <stdint.h>
#include <string.h>

#include <string>

#include "number_text.h"

namespace {

// Blanks, an optional sign, digits, nothing else; saturates at 2^32 - 1 whatever the sign.
int Reference(const std::string &text, uint32_t *out) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t first = i;
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (uint64_t)(text[i] - '0');
    if (value > UINT32_MAX) value = (uint64_t)UINT32_MAX + 1;
  }
  if (i == first || i != text.size()) return 0;
  if (value > UINT32_MAX)
    *out = UINT32_MAX;
  else
    *out = negative ? (uint32_t)(0 - (uint32_t)value) : (uint32_t)value;
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The field's text ends at its first NUL, as the edit control hands it over.
  std::string text((const char *)data, strnlen((const char *)data, size));
  uint32_t got = 0xDEADBEEF, expected = 0xDEADBEEF;
  const int ok = ParsePlainNumber(text.c_str(), &got);
  if (ok != Reference(text, &expected) || got != expected) __builtin_trap();

  if (size >= sizeof(double)) {
    double value;
    memcpy(&value, data, sizeof value);
    uint32_t field = 0;
    NumberFromResult(value, &field);
  }
  return 0;
}
