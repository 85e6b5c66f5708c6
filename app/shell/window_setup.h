// WM_CREATE and WM_DESTROY of the main window (Windows only): everything that lives as long as
// the window, made in one order and released in one clean-up that accepts any partial state.
#pragma once

#include <windows.h>

// Reads "block.bmp", sizes the window from it, creates the surfaces and the two game events,
// puts the settings defaults in place, reads "init.inf" and composes the background.
// Returns 1; on failure 0, after showing its message and releasing what was made.
int SetUpSurfaces(HWND window);

// Stops a running game (with its score script), then closes the events and deletes the DCs,
// surfaces and block picture, each only if present.
void ReleaseSurfaces(HWND window);

// Rebuilds the background from the current settings (after the settings dialog).
void ComposeBackgroundFromSettings(HWND window);
