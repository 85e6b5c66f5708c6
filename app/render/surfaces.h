// The play field's two off-screen surfaces (Windows only): 24-bit top-down DIB sections of the
// client size, each selected into a memory DC.  The display surface is what the window shows;
// the background surface is what every restored cell and the frame are made from.
//
// Lock: the display surface is written by the game thread (field and preview drawing, the
// reset at a game's end) and copied to the screen by the window thread.  LockSurfaces guards
// both, so a paint never shows a half-drawn field.  It is the program's only lock around
// drawing and is never held while waiting for another thread.
#pragma once

#include <windows.h>

#include "render_state.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Surfaces {
  HDC displayDC;
  HDC backgroundDC;
  HBITMAP displaySurface;
  HBITMAP backgroundSurface;
} Surfaces;

// The one set of surfaces of the main window; empty (all null) outside WM_CREATE..WM_DESTROY.
extern Surfaces playField;

// Creates the DCs and DIB sections for `rs`'s client size, selects them (the display DC also
// gets the stock NULL_BRUSH and WHITE_PEN) and stores the pixel addresses in `rs`.  Returns 1;
// on failure 0, leaving whatever was created in `playField` for the three Delete calls below.
int CreateSurfaceObjects(HWND window, RenderState *rs);

// Deletes the DCs, then the bitmaps, each only if present, and empties `playField`.
// The block picture is not touched.
void DeleteSurfaceDCs(void);
void DeleteDisplayBitmap(void);
void DeleteBackgroundBitmap(void);

void LockSurfaces(void);
void UnlockSurfaces(void);

// Makes pending GDI work of the calling thread complete before its DIB memory is written.
void PrepareDirectDrawing(void);

// WM_PAINT: copies the invalid rectangle of the display surface to the window.
void PaintWindow(HWND window);

// Copies the whole background into the display surface and draws the frame.
void ResetDisplay(const RenderState *rs);

#ifdef __cplusplus
}
#endif
