// A Windows bitmap file straight into a surface.  The file stores its rows bottom-up and the
// stream takes them top-down, so each row is read from its own place, counting from the end of
// the pixel data.  Rows the file does not reach are black and a row cut short keeps the pixels
// it has, as when the whole picture is read.
#include "picture_stream.h"

#include <stddef.h>
#include <string.h>

#include "bmp_format.h"
#include "picture.h"
#include "platform.h"

namespace {

// Reads file row `fileRow` (0 is the bottom picture row) into `out` as picture words.  Returns
// 0 when the file cannot be read.
int ReadRowWords(HANDLE file, const BmpHeaders *h, const uint32_t *table, BYTE *row, DWORD rowBytes,
                 int32_t fileRow, uint32_t *out) {
  const uint32_t offset = h->offBits + (uint32_t)fileRow * rowBytes;
  if (SetFilePointer(file, (LONG)offset, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
  DWORD got = 0;
  if (!ReadFile(file, row, rowBytes, &got, NULL)) return 0;
  int32_t count = BmpPixelsIn(got, h->bitCount);
  if (count > h->width) count = h->width;
  ConvertBmpRow(row, count, h->bitCount, table, out);
  memset(out + count, 0, (size_t)(h->width - count) * sizeof(uint32_t));
  SwapRedBlue(out, count * 4);
  return 1;
}

int StreamRows(HANDLE file, const BmpHeaders *h, const uint32_t *table, const StreamTarget *target,
               StreamStats *stats) {
  // One file row, padding included; every row must start within a 31-bit file offset.
  const uint64_t rowBytes = (((uint64_t)h->width * h->bitCount + 31) / 32) * 4;
  if (h->offBits + rowBytes * (uint64_t)h->height > 0x7FFFFFFFu) return 0;
  PictureStream *rows = OpenPictureStream(h->width, h->height, ROW_WORDS, target);
  BYTE *row = rows ? (BYTE *)GlobalAlloc(GMEM_FIXED, (SIZE_T)rowBytes) : NULL;
  int ok = row != NULL;
  for (int32_t y = 0; ok && y < h->height; ++y) {
    uint32_t *out = (uint32_t *)NextStreamRow(rows);
    ok = ReadRowWords(file, h, table, row, (DWORD)rowBytes, h->height - 1 - y, out);
    if (ok) CommitStreamRow(rows);
  }
  ok = ClosePictureStream(rows, ok, stats) && ok;
  if (row) GlobalFree(row);
  return ok;
}

}  // namespace

int StreamBmpPicture(const char *path, const StreamTarget *target, StreamStats *stats) {
  HANDLE file =
      CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  int ok = 0;
  if (file != INVALID_HANDLE_VALUE) {
    BmpHeaders h;
    uint32_t table[BMP_COLOUR_TABLE_BYTES / 4];
    memset(table, 0, sizeof table);
    ok = ReadBmpHeaders(file, &h) && (h.bitCount > 8 || ReadBmpColourTable(file, &h, table)) &&
         StreamRows(file, &h, table, target, stats);
    CloseHandle(file);
  }
  if (!ok) BlackenStreamTarget(target);
  return ok;
}
