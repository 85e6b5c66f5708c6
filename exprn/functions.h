// The built-in functions of expressions: numeric (abs int sqr sin cos tan atn log exp sgn pi),
// string (len left$ right$ mid$ str$ val chr$ asc date$ time$) and eof(n).
#pragma once

#include <string>

#include "value.h"

struct BasicSession;

const int kMaxFunctionArguments = 3;

struct BuiltinFunction {
  const char *name;
  int minArguments, maxArguments;  // 0 and 0: written without parentheses (pi, date$)
  const char *kinds;               // 'n' or 's' for each argument position
  // Computes the result from checked arguments; returns 0 or a negative code.
  int (*call)(const Value *arguments, int count, BasicSession *session, Value *out);
};

// The function called `name` (lower case), or null.
const BuiltinFunction *FindFunction(const std::string &name);
