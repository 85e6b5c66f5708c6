#include "number_field.h"

#include <stdio.h>
#include <string.h>

#include "interpreter.h"
#include "interpreter_messages.h"
#include "number_text.h"
#include "screen_text.h"

namespace {

// The overflow codes of the two message tables.
const long kExprn40Overflow = -8;
const long kOtherOverflow = -10;

// 0 with *out set, or the code that names the failure.
long EvaluateToNumber(const char *text, uint32_t *out) {
  double value;
  long code = EvaluateExpression(text, &value);
  if (code != 0) return code;
  if (NumberFromResult(value, out)) return 0;
  return strcmp(interpreter.name, EXPRN40_NAME) == 0 ? kExprn40Overflow : kOtherOverflow;
}

}  // namespace

int EvaluateNumber(HWND dialog, int control, uint32_t *out) {
  // A field whose text has no 932 form holds no number in either way of reading it.
  char text[NUMBER_FIELD_TEXT_BYTES];
  if (!GetDlgItemText932(dialog, control, text, sizeof text) || !text[0]) return 0;
  if (!interpreter.module) return ParsePlainNumber(text, out);
  uint32_t value;
  if (EvaluateToNumber(text, &value) != 0) return 0;
  *out = value;
  return 1;
}

void DescribeExpression(const char *text, char *out, size_t outSize) {
  uint32_t value;
  long code = EvaluateToNumber(text, &value);
  if (code == 0)
    snprintf(out, outSize, "適用値：%lu", static_cast<unsigned long>(value));
  else
    FormatInterpreterError(out, outSize, interpreter.name, code);
}
