// A value of an expression: a number or a string, told apart by `isString`.
#pragma once

#include <string>

struct Value {
  bool isString = false;
  double number = 0;
  std::string text;
};

// Longest string a script may build or read, in bytes; longer ones fail with kErrMemory.
const size_t kMaxStringLength = 32767;

// A number as print and str$ write it: integers without a point, others with up to 15
// significant digits, never a leading blank.
std::string FormatNumber(double number);
