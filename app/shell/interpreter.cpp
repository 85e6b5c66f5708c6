#include "interpreter.h"

#include <string.h>

#include "interpreter_messages.h"

InterpreterBinding interpreter;

static_assert(sizeof(ExprionRequest) == 40 && offsetof(ExprionRequest, result) == 32,
              "the library reads the request as a fixed 40-byte record");

namespace {

const char *const kCandidates[] = {EXPRN40_NAME, "Exprn35.dll", "Exprn34.dll"};

typedef LONG(WINAPI *StandardEvaluate)(LONG reserved, const char *text, double *value);
typedef LONG(__cdecl *RequestEvaluate)(ExprionRequest *request);

template <typename Function>
Function AsFunction(FARPROC address) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(address));
}

}  // namespace

void LoadInterpreter(void) {
  for (const char *name : kCandidates) {
    HMODULE module = LoadLibraryA(name);
    if (!module) continue;
    FARPROC evaluate = GetProcAddress(module, "Exprion");
    if (!evaluate) evaluate = GetProcAddress(module, "_qvb_exprion@12");
    if (evaluate) {
      interpreter.module = module;
      interpreter.evaluate = evaluate;
      interpreter.name = name;
      return;
    }
    FreeLibrary(module);
  }
}

void FreeInterpreter(void) {
  if (interpreter.module) FreeLibrary(interpreter.module);
  interpreter.module = NULL;
  interpreter.evaluate = NULL;
  interpreter.name = NULL;
}

long EvaluateExpression(const char *text, double *value) {
  if (!interpreter.module || !interpreter.evaluate) return 1;
  // The form follows the name the library was loaded under, not the export that was found.
  if (strcmp(interpreter.name, EXPRN40_NAME) == 0) {
    double result = 0;
    LONG code = AsFunction<StandardEvaluate>(interpreter.evaluate)(0, text, &result);
    if (code == 0) *value = result;
    return code;
  }
  ExprionRequest request;
  memset(&request, 0, sizeof request);
  request.text = text;
  LONG code = AsFunction<RequestEvaluate>(interpreter.evaluate)(&request);
  if (code == 0) *value = request.result;
  return code;
}
