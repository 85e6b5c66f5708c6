// Windows bitmap files: what both the whole-picture reader and the streaming reader need.
#pragma once

#include <stdint.h>

#include "platform.h"

// A colour table never needs more than 256 entries: an 8-bit index cannot reach further.
#define BMP_COLOUR_TABLE_BYTES (256 * 4)

typedef struct BmpHeaders {
  uint32_t offBits;
  uint32_t infoSize;
  int32_t width;
  int32_t height;
  uint32_t bitCount;
  uint32_t compression;
} BmpHeaders;

// Reads both headers from the start of `file` and accepts only uncompressed bottom-up pictures
// of 1, 4, 8 or 24 bits whose pixel data starts after the headers.  Returns 1 or 0.
int ReadBmpHeaders(HANDLE file, BmpHeaders *h);

// Reads the colour table (between the information header and the pixel data) into `table`,
// 256 zeroed entries, blue in the low byte.  Returns 0 when the file cannot be read.
int ReadBmpColourTable(HANDLE file, const BmpHeaders *h, uint32_t *table);

// How many whole pixels `bytes` bytes of a row hold.
int32_t BmpPixelsIn(DWORD bytes, uint32_t bitCount);

// Converts the first `count` pixels of one file row into file colour words (blue low).
void ConvertBmpRow(const BYTE *row, int32_t count, uint32_t bitCount, const uint32_t *table,
                   uint32_t *out);
