#include "value.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

size_t ReadDecimal(const char *text, double *out) {
  *out = 0;
  size_t i = 0;
  while (text[i] == ' ' || text[i] == '\t') ++i;
  size_t start = i;
  if (text[i] == '+' || text[i] == '-') ++i;
  size_t digits = 0;
  for (; IsDigit(text[i]); ++i) ++digits;
  if (text[i] == '.' && (digits || IsDigit(text[i + 1])))
    for (++i; IsDigit(text[i]); ++i) ++digits;
  if (!digits) return 0;
  if (text[i] == 'e' || text[i] == 'E') {
    size_t j = i + 1;
    if (text[j] == '+' || text[j] == '-') ++j;
    if (IsDigit(text[j])) {
      while (IsDigit(text[j])) ++j;
      i = j;
    }
  }
  *out = strtod(std::string(text + start, i - start).c_str(), nullptr);
  return i;
}

std::string FormatNumber(double number) {
  char text[40];
  if (number == 0) number = 0;  // no "-0"
  if (number == trunc(number) && fabs(number) < 1e15)
    snprintf(text, sizeof text, "%.0f", number);
  else
    snprintf(text, sizeof text, "%.15g", number);
  return text;
}
