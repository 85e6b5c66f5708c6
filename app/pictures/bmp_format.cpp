// The parts of a Windows bitmap file both ways of reading one share: headers, colour table and
// the conversion of one file row.
#include "bmp_format.h"

#include <string.h>

namespace {

const uint32_t kFileHeaderBytes = 14;
const uint32_t kInfoHeaderBytes = 40;

uint32_t Le16(const BYTE *p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8);
}

uint32_t Le32(const BYTE *p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// Reads exactly `size` bytes; a short read counts as failure (used for the headers only).
int ReadWhole(HANDLE file, void *buffer, DWORD size) {
  DWORD got = 0;
  return ReadFile(file, buffer, size, &got, NULL) && got == size;
}

}  // namespace

// Reads both headers and accepts only what the row decoding below handles.
int ReadBmpHeaders(HANDLE file, BmpHeaders *h) {
  BYTE fileHeader[kFileHeaderBytes];
  BYTE info[kInfoHeaderBytes];
  if (!ReadWhole(file, fileHeader, sizeof fileHeader)) return 0;
  if (Le16(fileHeader) != 0x4D42) return 0;
  if (!ReadWhole(file, info, sizeof info)) return 0;
  h->offBits = Le32(fileHeader + 10);
  h->infoSize = Le32(info);
  h->width = (int32_t)Le32(info + 4);
  h->height = (int32_t)Le32(info + 8);
  h->bitCount = Le16(info + 14);
  h->compression = Le32(info + 16);
  if (h->infoSize < kInfoHeaderBytes) return 0;
  // The pixel data must start after both headers, within a signed file offset.
  if (h->offBits > 0x7FFFFFFFu || h->offBits < kFileHeaderBytes ||
      h->infoSize > h->offBits - kFileHeaderBytes)
    return 0;
  if (h->width <= 0 || h->height <= 0) return 0;  // a negative height is a top-down file
  if (h->compression != 0) return 0;
  return h->bitCount == 1 || h->bitCount == 4 || h->bitCount == 8 || h->bitCount == 24;
}

// Converts the first `count` pixels of one file row into file colour words.
void ConvertBmpRow(const BYTE *row, int32_t count, uint32_t bitCount, const uint32_t *table,
                   uint32_t *out) {
  switch (bitCount) {
    case 1:
      for (int32_t x = 0; x < count; ++x) out[x] = table[(row[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int32_t x = 0; x < count; ++x)
        out[x] = table[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
      break;
    case 8:
      for (int32_t x = 0; x < count; ++x) out[x] = table[row[x]];
      break;
    default:
      for (int32_t x = 0; x < count; ++x) {
        const BYTE *p = row + 3 * x;
        out[x] = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16);
      }
      break;
  }
}

// How many whole pixels `bytes` bytes of a row hold.
int32_t BmpPixelsIn(DWORD bytes, uint32_t bitCount) {
  return (int32_t)(((uint64_t)bytes * 8u) / bitCount);
}

// The colour table lies between the information header (whatever its length) and the pixel
// data.  It goes into a zeroed table of 256 entries, so any index beyond the entries the file
// holds is black.  A file ending inside the table simply holds fewer entries.
int ReadBmpColourTable(HANDLE file, const BmpHeaders *h, uint32_t *table) {
  uint32_t start = kFileHeaderBytes + h->infoSize;
  uint32_t bytes = h->offBits - start;
  if (bytes > BMP_COLOUR_TABLE_BYTES) bytes = BMP_COLOUR_TABLE_BYTES;
  if (bytes == 0) return 1;
  if (SetFilePointer(file, (LONG)start, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
  BYTE raw[BMP_COLOUR_TABLE_BYTES];
  DWORD got = 0;
  if (!ReadFile(file, raw, bytes, &got, NULL)) return 0;
  for (DWORD i = 0; i + 4 <= got; i += 4) table[i / 4] = Le32(raw + i);
  return 1;
}
