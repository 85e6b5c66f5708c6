// Any bytes as a JPEG file, read whole from memory: the reader must fail or decode, and clean
// up either way.
#include <string.h>

#include "fuzz_sizes.h"
#include "picture.h"
#include "picture_check.h"

// Larger pictures decode legally but slowly (libjpeg fills a short file with grey); the size
// limits themselves are the unit tests'.
static const int64_t kMaxFuzzPixels = 1 << 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  int64_t width, height;
  JpegDeclaredSize(data, size, &width, &height);
  if (width * height > kMaxFuzzPixels) return 0;
  PictureBuffer picture;
  memset(&picture, 0, sizeof picture);
  const int read = ReadJpegMemory(data, size, &picture);
  CheckReadPicture(read, &picture);
  return 0;
}
