// Where the main window opens from a saved position: where it was, when that is still on a
// monitor; otherwise inside the nearest monitor's work area.  After a laptop is undocked or the
// monitors are rearranged a saved position can lie off every screen.  Portable: the Windows
// edge (window_position.h) gathers the monitors' work areas and moves the window.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// A rectangle in virtual-screen coordinates, right and bottom exclusive, as Win32's RECT.
typedef struct ScreenRect {
  int32_t left, top, right, bottom;
} ScreenRect;

// How much of the window must lie within one work area for a saved position to be kept: enough
// to see it and to take it by its caption (or all of it, for a window smaller than that).
enum { PLACEMENT_MIN_VISIBLE = 32 };

// The top-left corner for a window of `width` x `height` saved at (`x`, `y`), written back
// into `x` and `y`.  Any saved corner is taken, however far out.  `areas` are the monitors' work
// areas, the primary first.  The corner is kept when the window shares at least
// PLACEMENT_MIN_VISIBLE pixels (or its whole width or height, when smaller) both across and down
// with one work area.  Otherwise the window goes into the work area nearest to it (the first of
// equally near ones), moved only as far as needed; a window larger than the area is aligned with
// its top-left corner.  With no area the corner is kept.
void PlaceSavedWindow(int32_t *x, int32_t *y, int32_t width, int32_t height,
                      const ScreenRect *areas, int count);

#ifdef __cplusplus
}
#endif
