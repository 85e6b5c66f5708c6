// Any bytes as a JPEG file: the reader must fail or decode, and clean up either way.
#include <string.h>

#include "fuzz_input_file.h"
#include "picture.h"
#include "stream_check.h"

// Pictures of more than a quarter mega-pixel decode legally but slowly (libjpeg fills a short
// file with grey); the size limit itself is covered by the unit tests.  Inputs with any
// frame-header-like bytes declaring more are skipped.
static const int64_t kMaxFuzzPixels = 1 << 18;

static int DeclaresLargeFrame(const uint8_t *data, size_t size) {
  for (size_t i = 0; i + 9 <= size; ++i) {
    if (data[i] != 0xFF || (data[i + 1] & 0xF0) != 0xC0) continue;
    uint8_t m = data[i + 1];
    if (m == 0xC4 || m == 0xC8 || m == 0xCC) continue;
    int64_t height = (data[i + 5] << 8) | data[i + 6];
    int64_t width = (data[i + 7] << 8) | data[i + 8];
    if (width * height > kMaxFuzzPixels) return 1;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (DeclaresLargeFrame(data, size)) return 0;
  const char *path = WriteFuzzInput(data, size, ".jpg");
  if (!path) return 0;
  PictureBuffer picture;
  memset(&picture, 0, sizeof picture);
  const int read = ReadJpegPicture(path, &picture);
  CheckStreamedFit(path, 1, read, &picture, data, size);
  if (read) {
    if (picture.byteSize != picture.width * picture.height * 4) __builtin_trap();
    uint32_t mix = 0;
    for (int32_t i = 0; i < picture.width * picture.height; ++i) mix |= picture.pixels[i];
    if (mix >> 24) __builtin_trap();
    ReleasePicture(&picture);
  } else if (picture.pixels) {
    __builtin_trap();
  }
  return 0;
}
