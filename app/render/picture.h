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

// Reads a Windows bitmap file (uncompressed, 1, 4, 8 or 24 bits per pixel, stored bottom-up).
// Returns 1 with a new pixel block in `picture`, or 0 with `picture` empty; no message.
int ReadBmpPicture(const char *path, PictureBuffer *picture);

// Reads a JPEG file through libjpeg (greyscale or RGB output).  Returns 1 or 0 like
// ReadBmpPicture; libjpeg's own messages go to the standard error stream only.
int ReadJpegPicture(const char *path, PictureBuffer *picture);

// Frees the pixel block if there is one.  The caller clears `pixels` where the record outlives
// the call.
void ReleasePicture(PictureBuffer *picture);

// Exchanges the low and third byte of each of byteCount / 4 words and clears the top byte.
void SwapRedBlue(uint32_t *words, int32_t byteCount);

#ifdef __cplusplus
}
#endif
