// Any bytes as a bitmap file, read whole from memory: the reader must refuse or decode, never
// read or write astray.
#include <string.h>

#include "fuzz_sizes.h"
#include "picture.h"
#include "picture_check.h"

// Larger pictures are legal but slow every run down (the block is zeroed whatever the file
// holds); the size limits themselves are the unit tests'.
static const int64_t kMaxFuzzPixels = 1 << 18;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  int64_t width, height;
  BmpDeclaredSize(data, size, &width, &height);
  if (width > 0 && height > 0 && width * height > kMaxFuzzPixels) return 0;
  PictureBuffer picture;
  memset(&picture, 0, sizeof picture);
  const int read = ReadBmpMemory(data, size, &picture);
  CheckReadPicture(read, &picture);
  return 0;
}
