// The main window (Windows only): its class, window procedure and command dispatch, and the
// program's module handle.
#pragma once

#include <windows.h>

#include "game_settings.h"

#ifdef __cplusplus
extern "C" {
#endif

extern HINSTANCE instance;

// Registers the "Quillomar" window class; 1 or 0.
int RegisterMainWindowClass(HINSTANCE module);

// Creates the fixed-size main window (its WM_CREATE sets up the play field); null on failure,
// after the set-up has shown its own message.
HWND CreateMainWindow(HINSTANCE module);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#ifdef __cplusplus
}
#endif
