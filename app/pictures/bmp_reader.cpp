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
int ReadRows(HANDLE file, const BmpHeaders *h, const uint32_t *table, BYTE *row, DWORD rowBytes,
             PictureBuffer *picture) {
  if (SetFilePointer(file, (LONG)h->offBits, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return 0;
  for (int32_t y = picture->height - 1; y >= 0; --y) {
    DWORD got = 0;
    if (!ReadFile(file, row, rowBytes, &got, NULL)) return 0;
    int32_t count = BmpPixelsIn(got, h->bitCount);
    if (count > picture->width) count = picture->width;
    ConvertBmpRow(row, count, h->bitCount, table, picture->pixels + (size_t)y * picture->width);
    if (got < rowBytes) break;
  }
  return 1;
}

}  // namespace

int ReadBmpPicture(const char *path, PictureBuffer *picture) {
  HANDLE file =
      CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BmpHeaders h;
  if (!ReadBmpHeaders(file, &h)) {
    CloseHandle(file);
    return 0;
  }
  memset(picture, 0, sizeof *picture);

  uint32_t *table = NULL;
  if (h.bitCount <= 8) {
    table = (uint32_t *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, BMP_COLOUR_TABLE_BYTES);
    if (!table || !ReadBmpColourTable(file, &h, table)) {
      if (table) GlobalFree(table);
      CloseHandle(file);
      return 0;
    }
  }
  if (!AllocatePicture(picture, h.width, h.height)) {
    if (table) GlobalFree(table);
    CloseHandle(file);
    return 0;
  }
  // One file row, padding included: ((width * bits + 31) / 32) * 4 bytes; the block limit
  // keeps the width small enough for this to fit in 32 bits.
  DWORD rowBytes = (DWORD)((((uint64_t)h.width * h.bitCount + 31) / 32) * 4);
  BYTE *row = (BYTE *)GlobalAlloc(GMEM_FIXED, rowBytes);
  int ok = row && ReadRows(file, &h, table, row, rowBytes, picture);
  if (row) GlobalFree(row);
  if (table) GlobalFree(table);
  CloseHandle(file);
  if (!ok) {
    ReleasePicture(picture);
    memset(picture, 0, sizeof *picture);
    return 0;
  }
  SwapRedBlue(picture->pixels, picture->byteSize);
  return 1;
}
