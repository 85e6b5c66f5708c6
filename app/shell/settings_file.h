// "init.inf" beside the program (Windows only): the settings, the last game's statistics and
// the window position, read once at window creation and written once at its destruction.
#pragma once

#include <windows.h>

// Reads and applies the file; moves the window to the saved position while the block picture's
// checksum still matches, else centres it.  Returns 1, or 0 (nothing changed) when the file
// cannot be opened or is shorter than 444 bytes.
int LoadSettings(HWND window);

// Writes the whole record, with the window where it was last restored to (its place even
// while it is minimised).  Returns 1 when written, 0 otherwise, with the previous file left as
// it was.
int SaveSettings(HWND window);
