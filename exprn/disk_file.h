// Opening the files a script names.  Only ordinary disk files are ever opened: a device (a
// serial port, the console, "nul"), a pipe or a directory is refused before a byte is read
// or written, since reading one could wait for ever and writing one reaches outside the
// program directory.
#pragma once

#include <stdio.h>

// mode: 'i' input, 'o' text output (emptied once known to be a disk file), 'a' text append,
// 'b' binary input.  Input is read as bytes everywhere; its readers drop the CR of a CR LF. Returns
// the stream, or null when the file cannot be opened or is not a disk file.
FILE *OpenDiskFile(const char *name, char mode);

// True when something of that name exists (a file, a directory, anything).  Never opens it.
bool NameExists(const char *name);
