// Drives the modal about panel from a second thread while the test's main thread sits in the
// InfoPanel call, as a user would: held modifiers at the call, keys and clicks into the open
// panel, and what its picture area shows.
#pragma once

#include <windows.h>

#include <functional>
#include <set>

struct PanelCall {
  int keys = 0;  // 1 Shift, 2 Ctrl, held (synthesised) while the call reads them
  const char *title = "";
  // Runs on the driver thread once the panel is visible; it is expected to close the panel.
  std::function<void(HWND panel)> drive;
  bool keysHeld = false;     // the synthesised key state was in place before the call
  bool found = false;        // the panel appeared
  bool forcedClose = false;  // drive() left it open and the driver had to close it
};

// Presses the keys, starts the driver, makes the call (`show` returns the export's result),
// and returns that result once the driver has finished.
int RunPanel(PanelCall &call, const std::function<int()> &show);

// The tile colours (0x00RRGGBB) seen in the picture area over `samples` looks `pause` ms
// apart, and how many different pictures the area showed in that time.
struct SpinSight {
  std::set<unsigned> colours;
  int distinctFrames = 0;
};
SpinSight WatchPictureArea(HWND area, int samples, DWORD pause);

// The screen colour of one picture-area pixel as 0x00RRGGBB.
unsigned AreaPixel(HWND area, int x, int y);

// Threads of this process now.
int ProcessThreads(void);

// True while `window` is still shown after `ms`.
bool StillOpenAfter(HWND window, DWORD ms);
