// The program's own texts for the interpreter library's error codes.  The library reports only
// a negative code; which table applies depends on the name under which it was loaded.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// The message for `code` from the table of the library loaded as `library`: codes -1 to -36
// for "Exprn40.dll", -1 to -11 for any other name; "unknown error." for every other code.
// Never null; the text is constant.
const char *InterpreterMessage(const char *library, long code);

// "<library> のｴﾗｰ : <message>" into out (outSize bytes, always terminated when outSize > 0).
// Returns 1, or 0 when the text had to be cut short.
int FormatInterpreterError(char *out, size_t outSize, const char *library, long code);

// The library name whose error codes follow the longer table.
#define EXPRN40_NAME "Exprn40.dll"

#ifdef __cplusplus
}
#endif
