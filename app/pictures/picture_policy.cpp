// The one rule for which picture files are read, asked by every reader before it allocates
// anything for the pixels, so that reading a whole picture and streaming it refuse alike.
#include "picture.h"

namespace {

int SizeAccepted(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= PICTURE_MAX_SIDE && height <= PICTURE_MAX_SIDE &&
         width * height <= PICTURE_MAX_PIXELS;
}

int BmpAccepted(const PictureFacts *f) {
  const uint32_t bits = f->kind;
  if (f->compression != 0 || !(bits == 1 || bits == 4 || bits == 8 || bits == 24)) return 0;
  if (f->headerBytes < 14 + 40 || f->dataOffset < f->headerBytes) return 0;
  if (f->dataOffset >= f->fileBytes) return 0;
  // One file row, padding included, is a whole number of 32-bit words.
  const uint64_t rowBytes = ((uint64_t)f->width * bits + 31) / 32 * 4;
  return f->dataOffset + rowBytes * (uint64_t)f->height <= PICTURE_MAX_OFFSET;
}

}  // namespace

int AcceptPicture(const PictureFacts *facts) {
  if (!SizeAccepted(facts->width, facts->height)) return 0;
  switch (facts->format) {
    case PICTURE_BMP:
      return BmpAccepted(facts);
    case PICTURE_JPEG:
      return facts->kind == PICTURE_JPEG_GREY || facts->kind == PICTURE_JPEG_RGB;
  }
  return 0;
}
