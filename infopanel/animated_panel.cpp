// The animated panel's dialog side: set-up of the frame buffer, pictures, pose tables, events
// and threads; the click that switches the pace; the clean-up that stops the threads before
// anything they use is released.
#include "panel_state.h"
#include "spin_tiles.h"
#include "tile_colours.h"
#include "tile_drawing.h"

static int CreateFrameBuffer(void) {
  PanelState *s = &panelState;
  HDC areaDC = GetDC(s->pictureArea);
  if (!areaDC) return 0;
  s->memoryDC = CreateCompatibleDC(areaDC);
  if (!s->memoryDC) {
    ReleaseDC(s->pictureArea, areaDC);
    return 0;
  }
  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = s->width;
  info.bmiHeader.biHeight = -s->height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = NULL;
  s->frameBitmap = CreateDIBSection(areaDC, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  ReleaseDC(s->pictureArea, areaDC);
  if (!s->frameBitmap || !bits) return 0;
  s->frameBits = static_cast<uint8_t *>(bits);
  SelectObject(s->memoryDC, s->frameBitmap);
  return 1;
}

// Each picture is the area-sized square in one colour with the icon in its middle, drawn by
// the system into the frame buffer and read back from it.
static void BuildPictures(void) {
  PanelState *s = &panelState;
  SeedPanelRandom(GetTickCount());
  const uint32_t *placement = TileColours(NextPanelRandom());
  for (int c = 0; c < 4; ++c) {
    uint32_t colour = kTileColourOrder[c];
    FillFrame(s->frameBits, s->width, s->height, s->rowPad, colour);
    if (s->icon) DrawIcon(s->memoryDC, s->iconX, s->iconY, s->icon);
    GdiFlush();  // the icon must be in the bits before they are read
    for (int i = 0; i < 4; ++i) {
      if (placement[i] == colour) {
        CopyFrameToPicture(s->frameBits, s->width, s->height, s->rowPad, s->pictures[i]);
      }
    }
  }
}

static int BuildPoseTables(int mode) {
  PanelState *s = &panelState;
  const SpinTile *tiles;
  int count = SpinTiles(mode, &tiles);
  if (count == 0) return 0;
  for (int i = 0; i < count; ++i) {
    s->poseTables[tiles[i].table] =
        static_cast<FrameTransform *>(PanelAllocate(kTurnFrames * sizeof(FrameTransform)));
    if (!s->poseTables[tiles[i].table]) {
      for (int j = 0; j < 4; ++j) PanelFree(s->poseTables[j]), s->poseTables[j] = NULL;
      return 0;
    }
  }
  for (int i = 0; i < count; ++i) {
    BuildPoseTable(&tiles[i], s->width, s->height, s->poseTables[tiles[i].table]);
  }
  return 1;
}

static HANDLE StartThread(LPTHREAD_START_ROUTINE procedure, HWND dialog) {
  HANDLE thread = CreateThread(NULL, 0, procedure, dialog, 0, NULL);
  return thread ? thread : INVALID_HANDLE_VALUE;
}

int SetUpAnimation(HWND dialog) {
  PanelState *s = &panelState;
  if (!SetUpPanelTexts(dialog)) return 0;
  // The transforms divide by the half-width and half-height.
  if (s->width < 2 || s->height < 2) return 0;
  s->rowPad = FrameRowPad(s->width);
  if (!CreateFrameBuffer()) return 0;

  size_t pixels = (size_t)s->width * (size_t)s->height;
  for (int i = 0; i < 4; ++i) {
    s->pictures[i] = static_cast<uint32_t *>(PanelAllocate(pixels * sizeof(uint32_t)));
    if (!s->pictures[i]) return 0;
  }
  BuildPictures();

  HANDLE *events[4] = {&s->stopEvent, &s->frameReadyEvent, &s->drawDoneEvent, &s->copyDoneEvent};
  for (int i = 0; i < 4; ++i) {
    *events[i] = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!*events[i]) return 0;
  }
  InitializeCriticalSection(&s->frameLock);
  s->frameLockReady = 1;

  s->copyThread = StartThread(CopyThreadProc, dialog);
  if (s->copyThread == INVALID_HANDLE_VALUE) return 0;

  s->fastMode = 0;
  LPTHREAD_START_ROUTINE loop;
  switch (s->mode) {
    case kOneFaceSpin:
      s->baseDelay = 20, loop = OneFaceLoop;
      break;
    case kFourFaceSpin:
      s->baseDelay = 10, loop = FourFaceLoop;
      break;
    case kTwoFaceSpin:
      s->baseDelay = 10, loop = TwoFaceLoop;
      break;
    default:
      return 0;
  }
  s->frameDelay = s->baseDelay;
  if (!BuildPoseTables(s->mode)) return 0;
  s->drawThread = StartThread(loop, dialog);
  return s->drawThread != INVALID_HANDLE_VALUE;
}

void ToggleFastModeAt(HWND dialog, LPARAM lParam) {
  PanelState *s = &panelState;
  POINT click = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
  ClientToScreen(dialog, &click);
  RECT area;
  if (!s->pictureArea || !GetWindowRect(s->pictureArea, &area)) return;
  // All four edges count, the right and bottom ones included.
  if (click.x < area.left || click.x > area.right || click.y < area.top || click.y > area.bottom) {
    return;
  }
  if (s->fastMode == 0) {
    s->fastMode = 1;
    s->frameDelay = 0;
  } else {
    s->fastMode = 0;
    s->frameDelay = s->baseDelay;
  }
}

static void EndThread(HANDLE *thread, HANDLE doneEvent) {
  if (*thread == INVALID_HANDLE_VALUE) return;
  WaitForSingleObject(doneEvent, INFINITE);
  // The done event is the thread's last act but one: wait for the end itself too, so that no
  // code of this library is still running when the caller may unload it.
  WaitForSingleObject(*thread, INFINITE);
  CloseHandle(*thread);
  *thread = INVALID_HANDLE_VALUE;
}

static void CloseEvent(HANDLE *event) {
  if (*event) CloseHandle(*event);
  *event = NULL;
}

void CleanUpAnimation(void) {
  PanelState *s = &panelState;
  if (s->drawThread != INVALID_HANDLE_VALUE || s->copyThread != INVALID_HANDLE_VALUE) {
    SetEvent(s->stopEvent);  // threads only run once every event exists
    EndThread(&s->drawThread, s->drawDoneEvent);
    EndThread(&s->copyThread, s->copyDoneEvent);
  }
  CloseEvent(&s->stopEvent);
  CloseEvent(&s->frameReadyEvent);
  CloseEvent(&s->drawDoneEvent);
  CloseEvent(&s->copyDoneEvent);
  if (s->frameLockReady) DeleteCriticalSection(&s->frameLock);
  s->frameLockReady = 0;
  if (s->memoryDC) DeleteDC(s->memoryDC);
  s->memoryDC = NULL;
  if (s->frameBitmap) DeleteObject(s->frameBitmap);
  s->frameBitmap = NULL;
  s->frameBits = NULL;
  for (int i = 0; i < 4; ++i) {
    PanelFree(s->pictures[i]);
    s->pictures[i] = NULL;
    PanelFree(s->poseTables[i]);
    s->poseTables[i] = NULL;
  }
}

INT_PTR CALLBACK AnimatedPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (AnswerPanelMessage(dialog, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      if (!SetUpAnimation(dialog)) {
        CleanUpAnimation();
        EndDialog(dialog, 2);
      }
      return TRUE;
    case WM_CLOSE:
      CleanUpAnimation();
      EndDialog(dialog, 1);
      return TRUE;
    case WM_LBUTTONDOWN:
      ToggleFastModeAt(dialog, lParam);
      return TRUE;
    case WM_DESTROY:
      // Normally done at WM_CLOSE already; this covers a dialog destroyed any other way, so
      // that no thread outlives it.
      CleanUpAnimation();
      return FALSE;
    default:
      return FALSE;
  }
}
