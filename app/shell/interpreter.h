// The optional outside script-interpreter library (Windows only), bound by name at start: its
// evaluation call for number fields and, for the score script, its BASIC entry points.
#pragma once

#include <windows.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct InterpreterBinding {
  HMODULE module;    // null when no candidate library qualified
  FARPROC evaluate;  // the evaluation export that was found
  const char *name;  // the candidate file name it was loaded under, null without a library
} InterpreterBinding;

extern InterpreterBinding interpreter;

// The request of the one-argument evaluation form: zero-filled before each call, the text
// pointer set; the library writes the value into `result`.
typedef struct ExprionRequest {
  const char *text;
  uint8_t reserved[28];
  double result;
} ExprionRequest;

// Window thread, once at start: tries "Exprn40.dll", "Exprn35.dll", "Exprn34.dll" in turn
// (the system's normal library search) and keeps the first that exports "Exprion" or else
// "_qvb_exprion@12"; a candidate with neither is freed at once.  Its absence is not an error.
void LoadInterpreter(void);

// Frees the library if one was kept and empties the binding; safe to call more than once.
void FreeInterpreter(void);

// Evaluates `text` with the loaded library, in the form its file name calls for: as
// "Exprn40.dll" the three-argument standard call (0, text, &value); under any other name the
// one-argument C call with an ExprionRequest.  Returns 0 with *value set, or the library's
// non-zero code with *value untouched (1 when no library is loaded).  Window thread only.
long EvaluateExpression(const char *text, double *value);

#ifdef __cplusplus
}
#endif
