// Where the main window stands (Windows only): centring it, and the place it is restored to,
// remembered as it moves so that it can be saved while the window is minimised.
#pragma once

#include <windows.h>

// Moves `window`, keeping its size, to the centre of the primary screen.
void CenterWindow(HWND window);

// Moves `window`, keeping its size and Z-order, and shows it: to (x, y) when that is on a
// monitor, otherwise into the nearest monitor's work area (window_placement.h).
void MoveWindowToSavedPosition(HWND window, int x, int y);

// Called whenever the window has moved: keeps its outer frame's top-left corner while it is
// neither minimised nor maximised.  The corner comes from GetWindowRect, in screen coordinates,
// so no conversion is needed to save it or to give it back to SetWindowPos.
void RememberRestoredPosition(HWND window);

// The last corner remembered for `window`; its current corner when none was remembered for it.
POINT RestoredPosition(HWND window);
