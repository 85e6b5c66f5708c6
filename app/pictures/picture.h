// Pictures in memory and the readers that make them from BMP and JPEG files.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// width x height pixel words, rows top-down; each word is laid out like a Win32 COLORREF:
// red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.  `pixels` is the locked address
// of one moveable, zero-initialised global memory block of `byteSize` bytes.  The record itself
// belongs to the caller; a picture is empty when `pixels` is null.
typedef struct PictureBuffer {
  uint32_t *pixels;
  int32_t byteSize;  // width * height * 4
  int32_t width;
  int32_t height;
} PictureBuffer;

// The largest pixel block a reader makes: 2^28 bytes (64 mega-pixels).  Anything larger is
// refused before allocation, so width * height * 4 never wraps.
#define PICTURE_MAX_BYTES 0x10000000

// Reads a Windows bitmap file (uncompressed, 1, 4, 8 or 24 bits per pixel, stored bottom-up,
// information header of 40 bytes or longer).  Returns 1 with a new pixel block in `picture`,
// or 0 with no pixel block allocated; no message.  The record is cleared once the headers have
// been accepted, so a record that came in empty is empty after any failure.
// A file cut short inside its pixel data still reads: pixels whose bytes are missing are black.
// Colour-table indices beyond the entries the file holds are black too.
int ReadBmpPicture(const char *path, PictureBuffer *picture);

// Reads a JPEG file through libjpeg (greyscale or RGB output; CMYK files fail).  Returns 1 or 0
// like ReadBmpPicture; the record is cleared as soon as the file is open.  libjpeg's own
// messages go to the standard error stream only; its warnings (a file ending early) do not
// fail the read.
int ReadJpegPicture(const char *path, PictureBuffer *picture);

// Gives `picture` a new zeroed, locked pixel block for width x height words and fills in all
// four fields.  Returns 0, leaving the record untouched, when either side is not positive, the
// block would exceed PICTURE_MAX_BYTES or the allocation fails.
int AllocatePicture(PictureBuffer *picture, int32_t width, int32_t height);

// Frees the pixel block if there is one.  The caller clears `pixels` where the record outlives
// the call.
void ReleasePicture(PictureBuffer *picture);

// Exchanges the low and third byte of each of byteCount / 4 words and clears the top byte.
void SwapRedBlue(uint32_t *words, int32_t byteCount);

#ifdef __cplusplus
}
#endif
