#include "window_position.h"

#include "window_placement.h"

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

// Monitors beyond this many are not looked at; the primary is always among those that are.
enum { kMostMonitors = 16 };

typedef struct WorkAreas {
  ScreenRect areas[kMostMonitors];
  int count;
} WorkAreas;

static BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  WorkAreas *list = reinterpret_cast<WorkAreas *>(data);
  MONITORINFO info;
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  ScreenRect area = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    // The primary goes first: it wins among equally near areas.
    if (list->count == kMostMonitors) list->count--;
    for (int i = list->count; i > 0; --i) list->areas[i] = list->areas[i - 1];
    list->areas[0] = area;
    list->count++;
  } else if (list->count < kMostMonitors) {
    list->areas[list->count++] = area;
  }
  return TRUE;
}

void MoveWindowToSavedPosition(HWND window, int x, int y) {
  RECT frame;
  WorkAreas list;
  list.count = 0;
  if (GetWindowRect(window, &frame)) {
    EnumDisplayMonitors(NULL, NULL, AddWorkArea, reinterpret_cast<LPARAM>(&list));
    int32_t left = x, top = y;
    PlaceSavedWindow(&left, &top, frame.right - frame.left, frame.bottom - frame.top, list.areas,
                     list.count);
    x = left, y = top;
  }
  SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
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
