#include "surfaces.h"

#include "cells.h"

Surfaces playField;

static CRITICAL_SECTION surfaceLock;
static LONG surfaceLockReady;

static void EnsureSurfaceLock(void) {
  // First called on the window thread during WM_CREATE, before any game thread exists.
  if (!surfaceLockReady) {
    InitializeCriticalSection(&surfaceLock);
    surfaceLockReady = 1;
  }
}

void LockSurfaces(void) {
  EnsureSurfaceLock();
  EnterCriticalSection(&surfaceLock);
}

void UnlockSurfaces(void) {
  LeaveCriticalSection(&surfaceLock);
}

void PrepareDirectDrawing(void) {
  GdiFlush();
}

static HBITMAP CreatePlayFieldBitmap(HDC dc, const RenderState *rs, void **bits) {
  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = rs->clientWidth;
  info.bmiHeader.biHeight = -rs->clientHeight;  // top-down: row 0 is the top row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = NULL;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, NULL, 0);
}

int CreateSurfaceObjects(HWND window, RenderState *rs) {
  EnsureSurfaceLock();
  HDC windowDC = GetDC(window);
  if (!windowDC) return 0;
  void *displayBits = NULL;
  void *backgroundBits = NULL;
  int ok = 0;
  playField.displayDC = CreateCompatibleDC(windowDC);
  if (playField.displayDC) {
    playField.displaySurface = CreatePlayFieldBitmap(windowDC, rs, &displayBits);
    if (playField.displaySurface) {
      playField.backgroundDC = CreateCompatibleDC(windowDC);
      if (playField.backgroundDC) {
        playField.backgroundSurface = CreatePlayFieldBitmap(windowDC, rs, &backgroundBits);
        ok = playField.backgroundSurface != NULL;
      }
    }
  }
  ReleaseDC(window, windowDC);
  if (!ok) return 0;

  SelectObject(playField.backgroundDC, playField.backgroundSurface);
  SelectObject(playField.displayDC, playField.displaySurface);
  SelectObject(playField.displayDC, GetStockObject(NULL_BRUSH));
  SelectObject(playField.displayDC, GetStockObject(WHITE_PEN));
  rs->displayPixels = static_cast<uint8_t *>(displayBits);
  rs->backgroundPixels = static_cast<uint8_t *>(backgroundBits);
  return 1;
}

void DeleteSurfaceDCs(void) {
  if (playField.displayDC) {
    DeleteDC(playField.displayDC);
    playField.displayDC = NULL;
  }
  if (playField.backgroundDC) {
    DeleteDC(playField.backgroundDC);
    playField.backgroundDC = NULL;
  }
}

void DeleteDisplayBitmap(void) {
  if (playField.displaySurface) {
    DeleteObject(playField.displaySurface);
    playField.displaySurface = NULL;
  }
}

void DeleteBackgroundBitmap(void) {
  if (playField.backgroundSurface) {
    DeleteObject(playField.backgroundSurface);
    playField.backgroundSurface = NULL;
  }
}

void PaintWindow(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc && playField.displayDC) {
    const RECT &r = paint.rcPaint;
    LockSurfaces();
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, playField.displayDC, r.left,
           r.top, SRCCOPY);
    GdiFlush();
    UnlockSurfaces();
  }
  EndPaint(window, &paint);
}

void ResetDisplay(const RenderState *rs) {
  if (!playField.displayDC) return;
  LockSurfaces();
  BitBlt(playField.displayDC, 0, 0, rs->clientWidth, rs->clientHeight, playField.backgroundDC, 0, 0,
         SRCCOPY);
  GdiFlush();
  DrawFrame(rs);
  UnlockSurfaces();
}
