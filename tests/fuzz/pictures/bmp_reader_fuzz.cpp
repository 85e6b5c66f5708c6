// Any bytes as a bitmap file: the reader must refuse or decode, never read or write astray.
#include <string.h>

#include "fuzz_input_file.h"
#include "picture.h"
#include "stream_check.h"

// Pictures of more than 4 mega-pixels are legal but make every run slow; the size limits
// themselves are covered by the unit tests.
static const int64_t kMaxFuzzPixels = 1 << 22;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  int64_t width = (int32_t)FuzzLe32(data, size, 18), height = (int32_t)FuzzLe32(data, size, 22);
  if (width > 0 && height > 0 && width * height > kMaxFuzzPixels) return 0;
  const char *path = WriteFuzzInput(data, size, ".bmp");
  if (!path) return 0;
  PictureBuffer picture;
  memset(&picture, 0, sizeof picture);
  const int read = ReadBmpPicture(path, &picture);
  CheckStreamedFit(path, 0, read, &picture, data, size);
  if (read) {
    if (picture.byteSize != picture.width * picture.height * 4) __builtin_trap();
    // Touch every pixel, so a block shorter than it claims shows under the address checker.
    uint32_t mix = 0;
    for (int32_t i = 0; i < picture.width * picture.height; ++i) mix ^= picture.pixels[i];
    if (mix >> 24) __builtin_trap();  // the top byte of every word is zero
    ReleasePicture(&picture);
  } else if (picture.pixels) {
    __builtin_trap();
  }
  return 0;
}
