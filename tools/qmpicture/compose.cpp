#include "compose.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "cells.h"
#include "picture_stream.h"
#include "resample.h"
#include "stripes.h"

int ReadPictureByExtension(const char *path, PictureBuffer *picture) {
  const char *dot = strrchr(path, '.');
  const char *slash = strrchr(path, '/');
  if (!dot || (slash && dot < slash)) return 0;
  if (strcasecmp(dot, ".jpg") == 0) return ReadJpegPicture(path, picture);
  if (strcasecmp(dot, ".bmp") == 0) return ReadBmpPicture(path, picture);
  return 0;
}

int ComposePictureFile(const char *path, ComposeSurface *surface, int threads) {
  StreamTarget target = {surface->bits,      surface->width, surface->height,
                         surface->rowStride, threads,        0};
  const char *dot = strrchr(path, '.');
  const char *slash = strrchr(path, '/');
  if (dot && (!slash || dot > slash)) {
    if (strcasecmp(dot, ".jpg") == 0) return StreamJpegPicture(path, &target, NULL);
    if (strcasecmp(dot, ".bmp") == 0) return StreamBmpPicture(path, &target, NULL);
  }
  return 0;
}

int CreateComposeSurface(ComposeSurface *surface, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > 0x8000 || height > 0x8000) return 0;
  int32_t stride = (width * 3 + 3) / 4 * 4;
  uint8_t *bits = (uint8_t *)calloc((size_t)stride, (size_t)height);
  if (!bits) return 0;
  surface->bits = bits;
  surface->width = width;
  surface->height = height;
  surface->rowStride = stride;
  return 1;
}

void FreeComposeSurface(ComposeSurface *surface) {
  free(surface->bits);
  surface->bits = NULL;
}

int ComposePicture(PictureBuffer *picture, ComposeSurface *surface) {
  double sx = (double)surface->width / picture->width;
  double sy = (double)surface->height / picture->height;
  if (!PrefilterPicture(picture, sx, sy)) return 0;
  ResamplePicture(surface->bits, picture, surface->width, surface->height, surface->rowStride);
  return 1;
}

int WellCellSize(int32_t width, int32_t height, int32_t *cellWidth, int32_t *cellHeight) {
  const int32_t innerWidth = width - FRAME_PIXELS, innerHeight = height - FRAME_PIXELS;
  if (innerWidth < CLIENT_COLUMNS || innerHeight < CLIENT_ROWS) return 0;
  if (innerWidth % CLIENT_COLUMNS != 0 || innerHeight % CLIENT_ROWS != 0) return 0;
  *cellWidth = innerWidth / CLIENT_COLUMNS;
  *cellHeight = innerHeight / CLIENT_ROWS;
  return 1;
}

int ApplyWellPasses(ComposeSurface *surface, const WellPasses *passes) {
  int32_t cellWidth, cellHeight;
  if (!WellCellSize(surface->width, surface->height, &cellWidth, &cellHeight)) return 0;
  RenderState rs = {};
  if (!SetUpRenderGeometry(&rs, cellWidth, cellHeight)) return 0;
  // Both pad rows to 4 bytes; a disagreement would put every stripe in the wrong place.
  if (rs.rowStride != surface->rowStride) return 0;
  const size_t bytes = (size_t)surface->rowStride * (size_t)surface->height;
  uint8_t *display = NULL;
  if (passes->frame) {
    display = (uint8_t *)malloc(bytes);
    if (!display) return 0;
  }
  rs.backgroundPixels = surface->bits;
  if (passes->stripes) {
    rs.stripeIntensity = passes->stripeIntensity;
    DrawStripes(&rs);
  }
  if (display) {
    // The frame is drawn into the display from the background, as after a reset of the window.
    memcpy(display, surface->bits, bytes);
    rs.displayPixels = display;
    DrawFrame(&rs);
    memcpy(surface->bits, display, bytes);
    free(display);
  }
  return 1;
}
