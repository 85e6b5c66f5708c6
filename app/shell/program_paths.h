// Where the program's data files live: the directory of quillomar.exe (Windows only).
#pragma once

// Determines the program directory from the module path; window thread, once at start.
// When the module path cannot be obtained the directory is empty, so data files are looked for
// relative to the current directory.
void InitProgramDirectory(void);

// The program directory, always ending in a backslash, or empty.
const char *ProgramDirectory(void);

// The program directory followed by `name`, in one shared 260-byte buffer that the next call
// overwrites.  Window thread only.
const char *ProgramFilePath(const char *name);
