// The optional outside script-interpreter library (Windows only), bound by name at start.
#pragma once

#include <windows.h>

typedef struct InterpreterBinding {
  HMODULE module;      // null when no candidate library qualified
  FARPROC evaluate;    // the evaluation export that was found
  const char *name;    // the candidate file name it was loaded under
} InterpreterBinding;

extern InterpreterBinding interpreter;

// Tries "Exprn40.dll", "Exprn35.dll", "Exprn34.dll" in turn and keeps the first that has
// "Exprion" or "_qvb_exprion@12".  Its absence is not an error.
void LoadInterpreter(void);
void FreeInterpreter(void);
