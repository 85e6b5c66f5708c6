// Files named by a path in the program's own code page, 932: a background picture's path is
// kept so in the settings file, whatever code page the system runs in.  On Windows the path is
// opened through its UTF-16 form, so that it names the same file on a Windows whose ANSI code
// page is 1252 (where the ANSI calls would read its Japanese bytes as other letters); on Linux,
// where the tools and tests name files in the system's own encoding, it is opened as it is.
#pragma once

#include <stdio.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

// CreateFileW of the path, with no security attributes and no template.  A path that is not
// valid 932 names no file: INVALID_HANDLE_VALUE.
HANDLE CreateFile932(const char *path, DWORD access, DWORD share, DWORD disposition, DWORD flags);

// The file opened for reading in binary mode, or NULL.
FILE *OpenFile932ForReading(const char *path);

#ifdef __cplusplus
}
#endif
