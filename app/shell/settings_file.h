// "init.inf" beside the program (Windows only): the settings, the last game's statistics and
// the window position, read once at window creation and written once at its destruction.
#pragma once

#include <windows.h>

// Reads and applies the file; moves the window to the saved position while the block picture's
// checksum still matches, else centres it.  Returns 1, or 0 (nothing changed) when the file
// cannot be opened or is shorter than 444 bytes.
int LoadSettings(HWND window);

// Writes the whole record (replacing the old file only once the new one is complete).
// Returns 1 when written, 0 otherwise, with the previous file left as it was.
int SaveSettings(HWND window);

// The top-left corner of a restore rectangle as GetWindowPlacement gives it (workspace
// coordinates: relative to the work area of the window's monitor, which does not start at the
// monitor's corner when a taskbar sits at the top or on the left) in screen coordinates, which
// is what "init.inf" and SetWindowPos use.
POINT WorkspaceToScreen(RECT normal, RECT monitor, RECT work);
