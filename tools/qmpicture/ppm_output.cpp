#include "ppm_output.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

// Writes the header and `height` rows, each converted into `row` (3 x width bytes) by `fill`.
template <typename Fill>
int WritePpm(const char *path, int32_t width, int32_t height, Fill fill) {
  FILE *out = fopen(path, "wb");
  if (!out) return 0;
  uint8_t *row = (uint8_t *)malloc((size_t)width * 3);
  int ok = row != NULL && fprintf(out, "P6\n%d %d\n255\n", (int)width, (int)height) > 0;
  for (int32_t y = 0; ok && y < height; ++y) {
    fill(y, row);
    ok = fwrite(row, 3, (size_t)width, out) == (size_t)width;
  }
  free(row);
  if (fclose(out) != 0) ok = 0;
  return ok;
}

}  // namespace

int WritePicturePpm(const char *path, const PictureBuffer *picture) {
  return WritePpm(path, picture->width, picture->height, [picture](int32_t y, uint8_t *row) {
    const uint32_t *src = picture->pixels + (size_t)y * picture->width;
    for (int32_t x = 0; x < picture->width; ++x) {
      row[3 * x] = (uint8_t)src[x];
      row[3 * x + 1] = (uint8_t)(src[x] >> 8);
      row[3 * x + 2] = (uint8_t)(src[x] >> 16);
    }
  });
}

int WriteSurfacePpm(const char *path, const ComposeSurface *surface) {
  return WritePpm(path, surface->width, surface->height, [surface](int32_t y, uint8_t *row) {
    const uint8_t *src = surface->bits + (size_t)y * surface->rowStride;
    for (int32_t x = 0; x < surface->width; ++x) {
      row[3 * x] = src[3 * x + 2];
      row[3 * x + 1] = src[3 * x + 1];
      row[3 * x + 2] = src[3 * x];
    }
  });
}
