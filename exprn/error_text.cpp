#include "error_text.h"

const char *ExprnErrorText(int code) {
  static const char *const kTexts[] = {
      "syntax error",
      "division or remainder by zero",
      "parentheses reversed or unbalanced",
      "variable used wrongly",
      "too many terms in a numeric expression",
      "bad argument to a statement or function",
      "function argument out of range",
      "overflow",
      "number too long",
      "memory allocation failed",
      "bad line number",
      "bad variable kind or dimension",
      "variable already allocated",
      "jump target not found",
      "more than 16 in simultaneous use",
      "return misused",
      "no matching next",
      "next misused",
      "not enough data for read",
      "erase misused",
      "bad condition",
      "feature not supported by the application",
      "feature not allowed in single-line mode",
      "line numbers reversed or repeated",
      "read misused",
      "restore misused",
      "input data do not match the variables",
      "error during initialisation",
      "file cannot be opened",
      "file cannot be closed",
      "read error",
      "write error",
      "seek error",
      "delete failed",
      "rename failed",
      "interrupted from outside",
  };
  int index = -code - 1;
  if (index < 0 || index >= (int)(sizeof kTexts / sizeof kTexts[0])) return "unknown error";
  return kTexts[index];
}
