#include "picture_check.h"

void CheckReadPicture(int read, PictureBuffer *picture) {
  if (!read) {
    if (picture->pixels) __builtin_trap();
    return;
  }
  if (picture->width <= 0 || picture->height <= 0 ||
      (int64_t)picture->width * picture->height > PICTURE_MAX_PIXELS ||
      picture->byteSize != picture->width * picture->height * 4)
    __builtin_trap();
  // Every pixel read, so that a block shorter than it claims shows under the address checker.
  uint32_t mix = 0;
  for (int32_t i = 0; i < picture->width * picture->height; ++i) mix |= picture->pixels[i];
  if (mix >> 24) __builtin_trap();
  ReleasePicture(picture);
}
