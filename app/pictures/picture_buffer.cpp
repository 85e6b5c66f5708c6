// The pixel block of a picture: one moveable, zero-initialised global block locked once for
// its whole life, so that GlobalHandle finds it again from `pixels` at release.
#include "picture.h"

#include "platform.h"

int AllocatePicture(PictureBuffer *picture, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || (int64_t)width * height > PICTURE_MAX_PIXELS) return 0;
  const int64_t bytes = (int64_t)width * height * 4;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)bytes);
  if (!block) return 0;
  uint32_t *pixels = (uint32_t *)GlobalLock(block);
  if (!pixels) {
    GlobalFree(block);
    return 0;
  }
  picture->pixels = pixels;
  picture->byteSize = (int32_t)bytes;
  picture->width = width;
  picture->height = height;
  return 1;
}

void ReleasePicture(PictureBuffer *picture) {
  if (!picture || !picture->pixels) return;
  HGLOBAL block = GlobalHandle(picture->pixels);
  GlobalUnlock(block);
  GlobalFree(block);
}

void SwapRedBlue(uint32_t *words, int32_t byteCount) {
  int32_t count = byteCount / 4;
  for (int32_t i = 0; i < count; ++i) {
    uint32_t v = words[i];
    words[i] = ((v >> 16) & 0xFFu) | (v & 0xFF00u) | ((v & 0xFFu) << 16);
  }
}
