// The background picture's road into a surface, as the program takes it: read by extension,
// prefilter, bicubic stretch into a 24-bit buffer with 4-byte row padding; then, on a surface
// the size of a client area, the well's stripes and frame.
#pragma once

#include <stdint.h>

#include "picture.h"

// A 24-bit surface in memory: bytes blue, green, red; rows `rowStride` bytes apart.
typedef struct ComposeSurface {
  uint8_t *bits;
  int32_t width;
  int32_t height;
  int32_t rowStride;
} ComposeSurface;

// Reads `path` with the reader its extension names (".jpg" JPEG, ".bmp" bitmap, any case);
// any other extension fails.  Returns 1 with `picture` filled, or 0.
int ReadPictureByExtension(const char *path, PictureBuffer *picture);

// Allocates a zeroed surface of width x height (both positive).  Returns 1, or 0 on failure.
int CreateComposeSurface(ComposeSurface *surface, int32_t width, int32_t height);
void FreeComposeSurface(ComposeSurface *surface);

// Prefilters `picture` in place for the surface's size and stretches it into the surface: the
// plain whole-picture way, kept as the reference.  Returns 1, or 0 when the prefilter's work
// buffer cannot be had.  Further steps of the background (stripes) go after this one, on the
// same surface.
int ComposePicture(PictureBuffer *picture, ComposeSurface *surface);

// Reads `path` (chosen by extension as ReadPictureByExtension does) straight into the surface
// the way the program does, filtering on `threads` threads (1 or 2).  The same pixels as
// ReadPictureByExtension followed by ComposePicture.  Returns 1, or 0 with the surface black.
int ComposePictureFile(const char *path, ComposeSurface *surface, int threads);

// The cell size of the client area `width` x `height`: 22 * cellWidth + 2 by
// 24 * cellHeight + 2 with both cell sizes at least 1.  Returns 1 with both set, or 0 (outputs
// unchanged) when the size is not of that form.
int WellCellSize(int32_t width, int32_t height, int32_t *cellWidth, int32_t *cellHeight);

// What goes over the picture, in the program's order: stripes (when `stripes` is nonzero, each
// byte of the even well columns raised by `stripeIntensity`, saturating; an intensity outside
// 0..255 counts as the nearer end, as a hand-edited settings file does in the program), then,
// when `frame` is nonzero, the frame around the well as the window shows it with no game
// running (each frame pixel the inverse of the background beneath it).
typedef struct WellPasses {
  int32_t stripes;
  int32_t stripeIntensity;
  int32_t frame;
} WellPasses;

// Applies `passes` to a composed surface.  Returns 1, or 0 with the surface unchanged when its
// size is not a client area's (see WellCellSize) or the frame's scratch copy cannot be had.
int ApplyWellPasses(ComposeSurface *surface, const WellPasses *passes);
