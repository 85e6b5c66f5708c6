// Any bytes as a number field's expression: a value or a negative code, never a crash, and
// never a value that is not a finite number.
#include <math.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "exprn.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 4096) return 0;
  std::string text(reinterpret_cast<const char *>(data), size);
  double value = 0.25;
  int code = EvaluateExpressionText(text.c_str(), &value);
  if (code > 0 || code < -36) __builtin_trap();
  if (code == 0 && !isfinite(value)) __builtin_trap();
  if (code != 0 && value != 0.25) __builtin_trap();  // a failure leaves the result alone
  return 0;
}
