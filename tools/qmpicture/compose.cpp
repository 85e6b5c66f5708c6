#include "compose.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "resample.h"

int ReadPictureByExtension(const char *path, PictureBuffer *picture) {
  const char *dot = strrchr(path, '.');
  const char *slash = strrchr(path, '/');
  if (!dot || (slash && dot < slash)) return 0;
  if (strcasecmp(dot, ".jpg") == 0) return ReadJpegPicture(path, picture);
  if (strcasecmp(dot, ".bmp") == 0) return ReadBmpPicture(path, picture);
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
