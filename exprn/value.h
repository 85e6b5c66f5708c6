// A value of an expression: a number or a string, told apart by `isString`.
#pragma once

#include <stddef.h>

#include <string>

struct Value {
  bool isString = false;
  double number = 0;
  std::string text;
};

// Longest string a script may build or read, in bytes; longer ones fail with kErrMemory.
const size_t kMaxStringLength = 32767;

// Reads the decimal number at the start of `text`, after blanks and TABs:
// [+|-]digits[.digits][e[+|-]digits] or [+|-].digits[...], and nothing else (no hexadecimal, no
// "inf" or "nan"), so that val and input # read the same on every system.  Returns the bytes
// read (0 when there is no number; *out is then 0) and the value in *out, infinite when the
// number is too large for a double.
size_t ReadDecimal(const char *text, double *out);

// A number as print and str$ write it: integers without a point, others with up to 15
// significant digits, never a leading blank.
std::string FormatNumber(double number);
