#include "stream_check.h"

#include <stdlib.h>
#include <string.h>

#include "picture_stream.h"
#include "resample.h"

// Above this the plain prefilter is too slow for a fuzzing run; the stream alone is checked.
static const int64_t kMaxComparedPixels = 1 << 16;
// Above this even the stream alone slows the run down too much; such sizes are the unit tests'.
static const int64_t kMaxStreamedPixels = 1 << 20;

void CheckStreamedFit(const char *path, int jpeg, int read, const PictureBuffer *picture,
                      const uint8_t *data, size_t size) {
  if (read && (int64_t)picture->width * picture->height > kMaxStreamedPixels) return;
  const uint8_t last = size ? data[size - 1] : 0, before = size > 1 ? data[size - 2] : 0;
  const int32_t W = 1 + last % 24, H = 1 + before % 24, threads = 1 + (last >> 7);
  const int32_t stride = (W * 3 + 3) / 4 * 4;
  uint8_t *streamed = (uint8_t *)malloc((size_t)stride * H);
  uint8_t *expected = (uint8_t *)calloc((size_t)stride * H, 1);
  if (!streamed || !expected) abort();
  memset(streamed, 0xA5, (size_t)stride * H);
  StreamTarget target = {streamed, W, H, stride, threads, 0};
  const int ok =
      jpeg ? StreamJpegPicture(path, &target, NULL) : StreamBmpPicture(path, &target, NULL);
  if (ok != read) __builtin_trap();
  int compare = !ok;
  if (ok && (int64_t)picture->width * picture->height <= kMaxComparedPixels) {
    PictureBuffer copy = *picture;
    copy.pixels = (uint32_t *)malloc((size_t)picture->byteSize);
    if (!copy.pixels) abort();
    memcpy(copy.pixels, picture->pixels, (size_t)picture->byteSize);
    if (!PrefilterPicture(&copy, (double)W / copy.width, (double)H / copy.height)) abort();
    ResamplePicture(expected, &copy, W, H, stride);
    free(copy.pixels);
    compare = 1;
  }
  if (compare) {
    for (int32_t y = 0; y < H; ++y)
      if (memcmp(streamed + (size_t)y * stride, expected + (size_t)y * stride, (size_t)W * 3))
        __builtin_trap();
  }
  free(streamed);
  free(expected);
}
