// Windows bitmap files: uncompressed 1-, 4-, 8- and 24-bit pictures, rows stored bottom-up.
// Pixels are first gathered as file colour words (blue low, as the colour table stores them)
// and turned into the picture layout by one SwapRedBlue over the whole block at the end.
#include "picture.h"

#include "bmp_format.h"
#include "platform.h"

#include <string.h>

namespace {

// Reads the pixel rows into `picture`, bottom row first.  A failed read returns 0.  A short read
// ends the picture there: the pixels not covered stay as the zeroed block left them, black.
int ReadRows(BmpSource *source, const BmpHeaders *h, const uint32_t *table, BYTE *row,
             uint32_t rowBytes, PictureBuffer *picture) {
  uint32_t offset = h->offBits;
  for (int32_t y = picture->height - 1; y >= 0; --y, offset += rowBytes) {
    uint32_t got = 0;
    if (!ReadBmpAt(source, offset, row, rowBytes, &got)) return 0;
    int32_t count = BmpPixelsIn(got, h->bitCount);
    if (count > picture->width) count = picture->width;
    ConvertBmpRow(row, count, h->bitCount, table, picture->pixels + (size_t)y * picture->width);
    if (got < rowBytes) break;
  }
  return 1;
}

int ReadBmp(BmpSource *source, PictureBuffer *picture) {
  BmpHeaders h;
  if (!ReadBmpHeaders(source, &h)) return 0;
  memset(picture, 0, sizeof *picture);

  uint32_t *table = NULL;
  if (h.bitCount <= 8) {
    table = (uint32_t *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, BMP_COLOUR_TABLE_BYTES);
    if (!table || !ReadBmpColourTable(source, &h, table)) {
      if (table) GlobalFree(table);
      return 0;
    }
  }
  if (!AllocatePicture(picture, h.width, h.height)) {
    if (table) GlobalFree(table);
    return 0;
  }
  const uint32_t rowBytes = BmpRowBytes(&h);
  BYTE *row = (BYTE *)GlobalAlloc(GMEM_FIXED, rowBytes);
  int ok = row && ReadRows(source, &h, table, row, rowBytes, picture);
  if (row) GlobalFree(row);
  if (table) GlobalFree(table);
  if (!ok) {
    ReleasePicture(picture);
    memset(picture, 0, sizeof *picture);
    return 0;
  }
  SwapRedBlue(picture->pixels, picture->byteSize);
  return 1;
}

}  // namespace

int ReadBmpPicture(const char *path, PictureBuffer *picture) {
  BmpSource source;
  if (!OpenBmpFile(path, &source)) return 0;
  const int ok = ReadBmp(&source, picture);
  CloseBmpSource(&source);
  return ok;
}

int ReadBmpPictureFile(void *file, PictureBuffer *picture) {
  BmpSource source;
  if (!OpenBmpHandle(file, &source)) return 0;
  const int ok = ReadBmp(&source, picture);
  CloseBmpSource(&source);
  return ok;
}

int ReadBmpMemory(const uint8_t *bytes, size_t size, PictureBuffer *picture) {
  BmpSource source;
  OpenBmpMemory(bytes, size, &source);
  return ReadBmp(&source, picture);
}
