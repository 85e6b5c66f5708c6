// The version line of the about panel: the program's name and version, and the interpreter
// library it runs with, if any.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Room the version line is given, terminator included.
enum { VERSION_LINE_BYTES = 256 };

// "Quillomar Ver 1.0 (<library>)" with the name the interpreter library was loaded under, or
// "Quillomar Ver 1.0" alone when `library` is null (no interpreter).  Writes at most outSize
// bytes, always terminated when outSize > 0.  Returns 1, or 0 when the line was cut short.
int FormatVersionLine(char *out, size_t outSize, const char *library);

#ifdef __cplusplus
}
#endif
