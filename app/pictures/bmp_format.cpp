// The parts of a Windows bitmap file both ways of reading one share: where the bytes come from,
// headers, colour table and the conversion of one file row.
#include "bmp_format.h"

#include <string.h>

#include "file_932.h"
#include "picture.h"

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
int ReadWhole(BmpSource *source, uint32_t offset, void *buffer, uint32_t size) {
  uint32_t got = 0;
  return ReadBmpAt(source, offset, buffer, size, &got) && got == size;
}

}  // namespace

int OpenBmpFile(const char *path, BmpSource *source) {
  HANDLE file = CreateFile932(path, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) {
    memset(source, 0, sizeof *source);
    source->file = INVALID_HANDLE_VALUE;
    return 0;
  }
  return OpenBmpHandle(file, source);
}

int OpenBmpHandle(HANDLE file, BmpSource *source) {
  memset(source, 0, sizeof *source);
  source->file = file;
  // The length is where the end lies; the next read seeks back to where it reads.
  LONG high = 0;
  const DWORD low = SetFilePointer(source->file, 0, &high, FILE_END);
  if (low == INVALID_SET_FILE_POINTER || high < 0) {
    CloseBmpSource(source);
    return 0;
  }
  source->size = ((uint64_t)(uint32_t)high << 32) | low;
  source->position = source->size;
  return 1;
}

void OpenBmpMemory(const uint8_t *bytes, size_t size, BmpSource *source) {
  memset(source, 0, sizeof *source);
  source->file = INVALID_HANDLE_VALUE;
  source->bytes = bytes;
  source->size = size;
}

void CloseBmpSource(BmpSource *source) {
  if (source->file != INVALID_HANDLE_VALUE) CloseHandle(source->file);
  source->file = INVALID_HANDLE_VALUE;
}

int ReadBmpAt(BmpSource *source, uint32_t offset, void *buffer, uint32_t size, uint32_t *got) {
  *got = 0;
  if (source->file == INVALID_HANDLE_VALUE) {
    if (offset < source->size) {
      const uint64_t left = source->size - offset;
      *got = left < size ? (uint32_t)left : size;
      memcpy(buffer, source->bytes + offset, *got);
    }
    return 1;
  }
  if (offset != source->position) {
    source->position = ~(uint64_t)0;  // unknown until the seek has worked
    if (SetFilePointer(source->file, (LONG)offset, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
      return 0;
    source->position = offset;
  }
  DWORD read = 0;
  if (!ReadFile(source->file, buffer, size, &read, NULL)) {
    source->position = ~(uint64_t)0;
    return 0;
  }
  source->position += read;
  *got = read;
  return 1;
}

// Reads both headers and lets the acceptance rule judge what they say.
int ReadBmpHeaders(BmpSource *source, BmpHeaders *h) {
  BYTE headers[kFileHeaderBytes + kInfoHeaderBytes];
  if (!ReadWhole(source, 0, headers, kFileHeaderBytes)) return 0;
  if (Le16(headers) != 0x4D42) return 0;
  if (!ReadWhole(source, kFileHeaderBytes, headers + kFileHeaderBytes, kInfoHeaderBytes)) return 0;
  const BYTE *info = headers + kFileHeaderBytes;
  h->offBits = Le32(headers + 10);
  h->infoSize = Le32(info);
  h->width = (int32_t)Le32(info + 4);
  h->height = (int32_t)Le32(info + 8);  // a negative height is a top-down file: refused
  h->bitCount = Le16(info + 14);
  h->compression = Le32(info + 16);
  PictureFacts facts;
  facts.format = PICTURE_BMP;
  facts.kind = h->bitCount;
  facts.compression = h->compression;
  facts.width = h->width;
  facts.height = h->height;
  facts.headerBytes = (uint64_t)kFileHeaderBytes + h->infoSize;
  facts.dataOffset = h->offBits;
  facts.fileBytes = source->size;
  return AcceptPicture(&facts);
}

uint32_t BmpRowBytes(const BmpHeaders *h) {
  // Accepted pictures keep every row within a 31-bit offset, so this fits.
  return (uint32_t)((((uint64_t)h->width * h->bitCount + 31) / 32) * 4);
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
int32_t BmpPixelsIn(uint32_t bytes, uint32_t bitCount) {
  return (int32_t)(((uint64_t)bytes * 8u) / bitCount);
}

// The colour table lies between the information header (whatever its length) and the pixel
// data.  It goes into a zeroed table of 256 entries, so any index beyond the entries the file
// holds is black.  A file ending inside the table simply holds fewer entries.
int ReadBmpColourTable(BmpSource *source, const BmpHeaders *h, uint32_t *table) {
  const uint32_t start = kFileHeaderBytes + h->infoSize;
  uint32_t bytes = h->offBits - start;
  if (bytes > BMP_COLOUR_TABLE_BYTES) bytes = BMP_COLOUR_TABLE_BYTES;
  if (bytes == 0) return 1;
  BYTE raw[BMP_COLOUR_TABLE_BYTES];
  uint32_t got = 0;
  if (!ReadBmpAt(source, start, raw, bytes, &got)) return 0;
  for (uint32_t i = 0; i + 4 <= got; i += 4) table[i / 4] = Le32(raw + i);
  return 1;
}
