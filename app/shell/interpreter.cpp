#include "interpreter.h"

InterpreterBinding interpreter;

static const char *const kCandidates[] = {"Exprn40.dll", "Exprn35.dll", "Exprn34.dll"};

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
  if (interpreter.module) {
    FreeLibrary(interpreter.module);
    interpreter.module = NULL;
    interpreter.evaluate = NULL;
    interpreter.name = NULL;
  }
}
