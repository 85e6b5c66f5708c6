// The about panel's one process-wide record and the pieces of the library that share it
// (Windows only).  One panel at a time: the export resets the record at every call.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "spin_transform.h"

typedef struct PanelState {
  HINSTANCE module;          // this library, for dialog 101
  const char *const *texts;  // the caller's, borrowed for the call
  HICON icon;                // a shared resource icon: never destroyed
  int32_t faceColour;        // COLOR_BTNFACE as 0x00RRGGBB
  int32_t mode;              // 0 plain, 1 two faces, 2 one face, 3 four faces
  HWND pictureArea;          // control 1002
  int32_t width, height;     // its client size
  int32_t iconX, iconY;      // where the icon sits centred in it
  WNDPROC previousProc;      // the picture area's own procedure (plain panel)

  // The animated panel.  The pictures and pose tables are written only before the threads
  // start and freed only after both have ended.
  int32_t rowPad;
  HDC memoryDC;  // holds frameBitmap; used by the copy thread once the threads run
  HBITMAP frameBitmap;
  uint8_t *frameBits;
  uint32_t *pictures[4];
  FrameTransform *poseTables[4];
  HANDLE stopEvent, frameReadyEvent, drawDoneEvent, copyDoneEvent;
  HANDLE drawThread, copyThread;  // INVALID_HANDLE_VALUE while not running
  int32_t baseDelay;
  volatile LONG frameDelay;  // written by the dialog thread, read before every frame
  volatile LONG fastMode;
  // Held by the drawing thread while it draws a frame and by the copy thread while it copies
  // one, so the screen never shows a frame in part.  The only lock of the library.
  CRITICAL_SECTION frameLock;
  int frameLockReady;
} PanelState;

extern PanelState panelState;

// Where the animated panel's pictures and pose tables come from; a test may replace it to make
// the set-up fail.  Memory from it goes back through PanelFree.
extern void *(*PanelAllocate)(size_t bytes);
void PanelFree(void *memory);

// Set-up steps shared by both panels: the title and the two texts, the picture area and its
// client size, and the icon's centred position.  0 only when the icon's information was read
// but neither of its bitmaps could be measured.
int SetUpPanelTexts(HWND dialog);

// WM_PAINT and WM_COMMAND, which both panels answer alike: 1 when `message` was one of them.
int AnswerPanelMessage(HWND dialog, UINT message, WPARAM wParam);

INT_PTR CALLBACK PlainPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AnimatedPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The animated panel: set-up (1 or 0, leaving what it made to the clean-up), the click on the
// dialog, and the clean-up, safe on any partial set-up and a second time.
int SetUpAnimation(HWND dialog);
void ToggleFastModeAt(HWND dialog, LPARAM lParam);
void CleanUpAnimation(void);

// Thread procedures of the animated panel; the argument is the dialog, which they do not use.
DWORD WINAPI CopyThreadProc(LPVOID dialog);
DWORD WINAPI OneFaceLoop(LPVOID dialog);
DWORD WINAPI TwoFaceLoop(LPVOID dialog);
DWORD WINAPI FourFaceLoop(LPVOID dialog);
