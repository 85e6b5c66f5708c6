// The score script's file access is confined to the program directory: the interpreter
// library asks this filter about every file the script wants to use.
#pragma once

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

// The library's "file cannot be opened" code, the answer for a refused file.
enum { SCRIPT_FILE_REFUSED = -29 };

// 0 (allowed) when `path` is a bare file name, or when its drive and directory are
// `directory` in any letter case; SCRIPT_FILE_REFUSED otherwise.  The comparison is textual,
// so a relative directory, a parent step or a short name that leads to the same place is
// refused too, as is a path too long to split, or a null argument.  The two arguments are
// removed by the callee: the library calls it through a pointer in the script's work area.
LONG WINAPI ScriptFileFilter(const char *path, const char *directory);

#ifdef __cplusplus
}
#endif
