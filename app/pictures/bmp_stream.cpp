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
int ReadRowWords(BmpSource *source, const BmpHeaders *h, const uint32_t *table, BYTE *row,
                 uint32_t rowBytes, int32_t fileRow, uint32_t *out) {
  const uint32_t offset = h->offBits + (uint32_t)fileRow * rowBytes;
  uint32_t got = 0;
  if (!ReadBmpAt(source, offset, row, rowBytes, &got)) return 0;
  int32_t count = BmpPixelsIn(got, h->bitCount);
  if (count > h->width) count = h->width;
  ConvertBmpRow(row, count, h->bitCount, table, out);
  memset(out + count, 0, (size_t)(h->width - count) * sizeof(uint32_t));
  SwapRedBlue(out, count * 4);
  return 1;
}

int StreamRows(BmpSource *source, const BmpHeaders *h, const uint32_t *table,
               const StreamTarget *target, StreamStats *stats) {
  const uint32_t rowBytes = BmpRowBytes(h);
  PictureStream *rows = OpenPictureStream(h->width, h->height, ROW_WORDS, target);
  BYTE *row = rows ? (BYTE *)GlobalAlloc(GMEM_FIXED, rowBytes) : NULL;
  int ok = row != NULL;
  for (int32_t y = 0; ok && y < h->height; ++y) {
    uint32_t *out = (uint32_t *)NextStreamRow(rows);
    ok = ReadRowWords(source, h, table, row, rowBytes, h->height - 1 - y, out);
    if (ok) CommitStreamRow(rows);
  }
  ok = ClosePictureStream(rows, ok, stats) && ok;
  if (row) GlobalFree(row);
  return ok;
}

int StreamBmp(BmpSource *source, const StreamTarget *target, StreamStats *stats) {
  BmpHeaders h;
  uint32_t table[BMP_COLOUR_TABLE_BYTES / 4];
  memset(table, 0, sizeof table);
  return ReadBmpHeaders(source, &h) && (h.bitCount > 8 || ReadBmpColourTable(source, &h, table)) &&
         StreamRows(source, &h, table, target, stats);
}

}  // namespace

int StreamBmpPicture(const char *path, const StreamTarget *target, StreamStats *stats) {
  BmpSource source;
  int ok = 0;
  if (OpenBmpFile(path, &source)) {
    ok = StreamBmp(&source, target, stats);
    CloseBmpSource(&source);
  }
  if (!ok) BlackenStreamTarget(target);
  return ok;
}

int StreamBmpMemory(const uint8_t *bytes, size_t size, const StreamTarget *target,
                    StreamStats *stats) {
  BmpSource source;
  OpenBmpMemory(bytes, size, &source);
  const int ok = StreamBmp(&source, target, stats);
  if (!ok) BlackenStreamTarget(target);
  return ok;
}
