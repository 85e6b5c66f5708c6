#include "panel_driver.h"

#include <tlhelp32.h>

#include <string.h>

#include <string>

namespace {

struct Found {
  const char *title;
  HWND panel;
};

BOOL CALLBACK FindVisiblePanel(HWND window, LPARAM parameter) {
  Found *found = reinterpret_cast<Found *>(parameter);
  char className[32], title[256];
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (strcmp(className, "#32770") == 0 && strcmp(title, found->title) == 0 &&
      IsWindowVisible(window)) {
    found->panel = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForPanel(DWORD thread, const char *title, DWORD timeout) {
  for (DWORD waited = 0; waited < timeout; waited += 50) {
    Found found = {title, NULL};
    EnumThreadWindows(thread, FindVisiblePanel, reinterpret_cast<LPARAM>(&found));
    if (found.panel) return found.panel;
    Sleep(50);
  }
  return NULL;
}

void SendKey(WORD key, bool down) {
  INPUT input;
  ZeroMemory(&input, sizeof input);
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void SetKeys(int keys, bool down) {
  if (keys & 1) SendKey(VK_SHIFT, down);
  if (keys & 2) SendKey(VK_CONTROL, down);
}

bool KeysHeld(int keys) {
  bool shift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  bool control = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
  return shift == ((keys & 1) != 0) && control == ((keys & 2) != 0);
}

// Wine brings its key state in line with the X server's when a window gains the focus, which
// can undo a key pressed just before; press again until the state holds.
bool HoldKeys(int keys) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    SetKeys(keys, true);
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    Sleep(50);
    if (KeysHeld(keys)) return true;
  }
  return false;
}

struct DriverArgs {
  PanelCall *call;
  DWORD mainThread;
};

DWORD WINAPI Driver(LPVOID parameter) {
  DriverArgs *args = static_cast<DriverArgs *>(parameter);
  PanelCall &call = *args->call;
  HWND panel = WaitForPanel(args->mainThread, call.title, 60000);
  SetKeys(call.keys, false);
  if (!panel) return 0;
  call.found = true;
  if (call.drive) call.drive(panel);
  for (int i = 0; i < 100 && IsWindow(panel); ++i) Sleep(50);
  if (IsWindow(panel)) {
    call.forcedClose = true;
    PostMessageA(panel, WM_CLOSE, 0, 0);
  }
  return 0;
}

}  // namespace

int RunPanel(PanelCall &call, const std::function<int()> &show) {
  call.keysHeld = HoldKeys(call.keys);
  DriverArgs args = {&call, GetCurrentThreadId()};
  HANDLE driver = CreateThread(NULL, 0, Driver, &args, 0, NULL);
  int result = show();
  WaitForSingleObject(driver, INFINITE);
  CloseHandle(driver);
  SetKeys(call.keys, false);
  return result;
}

unsigned AreaPixel(HWND area, int x, int y) {
  HDC dc = GetDC(area);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(area, dc);
  return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

SpinSight WatchPictureArea(HWND area, int samples, DWORD pause) {
  const unsigned tiles[4] = {0x000080, 0x008000, 0x800000, 0x808000};
  RECT client;
  GetClientRect(area, &client);
  SpinSight sight;
  std::set<std::string> frames;
  for (int s = 0; s < samples; ++s) {
    std::string frame;
    HDC dc = GetDC(area);
    for (int y = 2; y < client.bottom; y += 6) {
      for (int x = 2; x < client.right; x += 6) {
        COLORREF c = GetPixel(dc, x, y);
        unsigned rgb = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        frame.append(reinterpret_cast<const char *>(&rgb), 3);
        for (unsigned tile : tiles)
          if (rgb == tile) sight.colours.insert(rgb);
      }
    }
    ReleaseDC(area, dc);
    frames.insert(frame);
    Sleep(pause);
  }
  sight.distinctFrames = (int)frames.size();
  return sight;
}

int ProcessThreads(void) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry;
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

bool StillOpenAfter(HWND window, DWORD ms) {
  Sleep(ms);
  return IsWindow(window) && IsWindowVisible(window);
}
