// Any bytes as a small picture file ("BM" at the start: a bitmap, else a JPEG), fitted to a
// small surface both ways: streamed (one or two threads, as the input's last byte says) and
// read whole, prefiltered and stretched.  Both must accept or refuse alike and, when they
// accept, leave the same bytes; a refusal leaves the surface black.
#include <stdlib.h>
#include <string.h>

#include "fuzz_sizes.h"
#include "picture.h"
#include "picture_check.h"
#include "picture_stream.h"
#include "resample.h"

namespace {

// Inputs are kept to small pictures, so that the plain prefilter (whose cost grows with the
// picture and the taps) keeps a run short; sizes near the limits are the unit tests'.
const int64_t kMaxSide = 256;
const int64_t kMaxPixels = 128 * 128;
const size_t kMaxBytes = 300 * 1024;

// The plain way into `surface`, black when the file is refused.
int FitPlain(const uint8_t *data, size_t size, int bmp, uint8_t *surface, int32_t W, int32_t H,
             int32_t stride) {
  PictureBuffer picture;
  memset(&picture, 0, sizeof picture);
  const int read = bmp ? ReadBmpMemory(data, size, &picture) : ReadJpegMemory(data, size, &picture);
  memset(surface, 0, (size_t)stride * H);
  if (read) {
    if (!PrefilterPicture(&picture, (double)W / picture.width, (double)H / picture.height)) abort();
    ResamplePicture(surface, &picture, W, H, stride);
  }
  CheckReadPicture(read, &picture);
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > kMaxBytes) return 0;
  const int bmp = size >= 2 && data[0] == 'B' && data[1] == 'M';
  int64_t width, height;
  if (bmp)
    BmpDeclaredSize(data, size, &width, &height);
  else
    JpegDeclaredSize(data, size, &width, &height);
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return 0;

  const uint8_t last = size ? data[size - 1] : 0, before = size > 1 ? data[size - 2] : 0;
  const int32_t W = 1 + last % 48, H = 1 + before % 48, threads = 1 + (last >> 7);
  const int32_t stride = (W * 3 + 3) / 4 * 4;
  uint8_t *streamed = (uint8_t *)malloc((size_t)stride * H);
  uint8_t *expected = (uint8_t *)malloc((size_t)stride * H);
  if (!streamed || !expected) abort();
  memset(streamed, 0xA5, (size_t)stride * H);
  StreamTarget target = {streamed, W, H, stride, threads, 0};
  const int ok = bmp ? StreamBmpMemory(data, size, &target, NULL)
                     : StreamJpegMemory(data, size, &target, NULL);
  if (ok != FitPlain(data, size, bmp, expected, W, H, stride)) __builtin_trap();
  for (int32_t y = 0; y < H; ++y)
    if (memcmp(streamed + (size_t)y * stride, expected + (size_t)y * stride, (size_t)W * 3))
      __builtin_trap();
  free(streamed);
  free(expected);
  return 0;
}
