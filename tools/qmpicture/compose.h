// The background picture's road into a surface, as the program takes it: read by extension,
// prefilter, bicubic stretch into a 24-bit buffer with 4-byte row padding.
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

// Prefilters `picture` in place for the surface's size and stretches it into the surface.
// Returns 1, or 0 when the prefilter's work buffer cannot be had.  Further steps of the
// background (stripes) go after this one, on the same surface.
int ComposePicture(PictureBuffer *picture, ComposeSurface *surface);
