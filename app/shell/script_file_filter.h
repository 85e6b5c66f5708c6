// The score script's file access: confined to the program directory, and kept away from the
// program's own files there.  The interpreter library asks this filter about every file the
// script wants to use (open, kill, name: both names); qmbasic applies the same rule to the
// folder of the script it runs.
//
// The rule, stated once (docs/basic.md says the same to players):
//   - Only a bare name, or the program directory's own path (in any letter case) followed by a
//     name, is in the program directory; anything else is refused: another directory, a
//     subdirectory, a relative or parent step, a short (8.3) directory name, a path too long
//     to split.
//   - A ':' anywhere but after a drive letter is refused (a device, or a stream of a file such
//     as "init.inf::$DATA").
//   - Protected names are refused: the program's files "quillomar.exe", "quillcore.dll",
//     "InfoPanel.dll", the interpreter libraries "Exprn40.dll", "Exprn35.dll", "Exprn34.dll",
//     the block picture "block.bmp", the settings file "init.inf" and its scratch file
//     "init.in~"; and every name that Windows may load from the program's folder without the
//     player opening it: any name ending in ".dll", ".exe", ".manifest" or ".local" (a ".local"
//     folder redirects the program's libraries).
//   - Names are compared as Windows reads them: trailing dots and blanks dropped, letter case
//     ignored ("BLOCK.BMP ", "Init.Inf." are "block.bmp", "init.inf"), and a name that folds to
//     nothing (".", "..", ". .") is refused.  A name holding "~" may be a short alias of a long
//     name, so one whose extension is "dll", "exe", "man", "loc", "bmp" or "inf" (the first
//     three letters of a protected extension) is refused too ("QUILLO~1.MAN").
// Every other name in the program directory is the script's own, "qmscore.bas" included.
#pragma once

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

// The library's "file cannot be opened" code, the answer for a refused file.
enum { SCRIPT_FILE_REFUSED = -29 };

// 0 (allowed) when `path` names a file of `directory` (see the rule above) that is not
// protected; SCRIPT_FILE_REFUSED otherwise, and for a null argument.  The comparison with
// `directory` is textual.  The two arguments are removed by the callee: the library calls it
// through a pointer in the script's work area.
LONG WINAPI ScriptFileFilter(const char *path, const char *directory);

// 1 when `name`, the last part of a path, is one of the protected names above however it is
// spelt, or folds to nothing; 0 otherwise.  A name cut at a ':' is judged by what comes before.
int IsProtectedProgramFileName(const char *name);

#ifdef __cplusplus
}
#endif
