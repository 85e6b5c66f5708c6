#include "window_position.h"

// Screen coordinates of the main window's frame the last time it stood in its normal state.
// Window thread only.
static HWND rememberedWindow;
static POINT rememberedCorner;

void CenterWindow(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  MoveWindow(window, x, y, width, height, TRUE);
}

void RememberRestoredPosition(HWND window) {
  // A minimised window is parked somewhere of the system's choosing, and a maximised one fills
  // the screen; neither is where the player left it.
  if (IsIconic(window) || IsZoomed(window)) return;
  RECT frame;
  if (!GetWindowRect(window, &frame)) return;
  rememberedWindow = window;
  rememberedCorner.x = frame.left;
  rememberedCorner.y = frame.top;
}

POINT RestoredPosition(HWND window) {
  if (window == rememberedWindow) return rememberedCorner;
  RECT frame;
  POINT corner = {0, 0};
  if (GetWindowRect(window, &frame)) {
    corner.x = frame.left;
    corner.y = frame.top;
  }
  return corner;
}
