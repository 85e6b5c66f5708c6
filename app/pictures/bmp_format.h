// Windows bitmap files: what both the whole-picture reader and the streaming reader need, for a
// file on disk or one already in memory.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "platform.h"

// A colour table never needs more than 256 entries: an 8-bit index cannot reach further.
#define BMP_COLOUR_TABLE_BYTES (256 * 4)

// Where a bitmap's bytes come from: an open file, or `bytes` when `file` is
// INVALID_HANDLE_VALUE.  `size` is the file's length; `position` where the file stands, so that
// reading on from there needs no seek.
typedef struct BmpSource {
  HANDLE file;
  const uint8_t *bytes;
  uint64_t size;
  uint64_t position;
} BmpSource;

// Opens the file at `path` (932 on Windows: file_932.h) for reading.  Returns 1, or 0 when it
// cannot be opened.
int OpenBmpFile(const char *path, BmpSource *source);
// Takes over `file`, open for reading (closed by CloseBmpSource, or here on failure).  Returns
// 1, or 0 when its length cannot be found.
int OpenBmpHandle(HANDLE file, BmpSource *source);
// Reads from `size` bytes in memory (which must outlive the source).
void OpenBmpMemory(const uint8_t *bytes, size_t size, BmpSource *source);
// Closes the file, if there is one.
void CloseBmpSource(BmpSource *source);

// Reads up to `size` bytes at `offset` (at most PICTURE_MAX_OFFSET) into `buffer`; *got is how
// many there were (fewer near the end, 0 past it).  Returns 0 when the file cannot be read.
int ReadBmpAt(BmpSource *source, uint32_t offset, void *buffer, uint32_t size, uint32_t *got);

typedef struct BmpHeaders {
  uint32_t offBits;
  uint32_t infoSize;
  int32_t width;
  int32_t height;
  uint32_t bitCount;
  uint32_t compression;
} BmpHeaders;

// Reads both headers from the start of the source.  Returns 1 when the file is a bitmap that
// AcceptPicture accepts, else 0.
int ReadBmpHeaders(BmpSource *source, BmpHeaders *h);

// Reads the colour table (between the information header and the pixel data) into `table`,
// 256 zeroed entries, blue in the low byte.  Returns 0 when the file cannot be read.
int ReadBmpColourTable(BmpSource *source, const BmpHeaders *h, uint32_t *table);

// The bytes of one file row, padding included.
uint32_t BmpRowBytes(const BmpHeaders *h);

// How many whole pixels `bytes` bytes of a row hold.
int32_t BmpPixelsIn(uint32_t bytes, uint32_t bitCount);

// Converts the first `count` pixels of one file row into file colour words (blue low).
void ConvertBmpRow(const BYTE *row, int32_t count, uint32_t bitCount, const uint32_t *table,
                   uint32_t *out);
