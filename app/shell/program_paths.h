// Where the program's data files live: the directory of quillomar.exe (Windows only).  The
// folder may have any name: the data files are found through its UTF-16 path, which needs no
// code page.
#pragma once

#include <windows.h>

// Determines the program directory from the module path; window thread, once at start.
// When the module path cannot be obtained the directory is empty, so data files are looked for
// relative to the current directory.
void InitProgramDirectory(void);

// The program directory in the system's ANSI code page, always ending in a backslash, for the
// steps that can only be given an ANSI path (the score script's current directory and file
// filter).  Empty when the module path cannot be obtained, and also when the folder's name has
// characters that the ANSI code page cannot hold: those steps are then skipped.
const char *ProgramDirectory(void);

// The program directory followed by `name`, in one shared buffer of MAX_PATH units that the
// next call overwrites; empty when the result would not fit.  Window thread only.
const WCHAR *ProgramFilePath(const WCHAR *name);
