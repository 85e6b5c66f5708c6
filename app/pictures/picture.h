// Pictures in memory and the readers that make them from BMP and JPEG files.
#pragma once

#include <stddef.h>
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

// Which pictures are read at all.  Both ways of reading a file (the whole picture, or streamed
// into a surface) ask AcceptPicture, so they refuse exactly the same files.  The limits:
//   each side 1 .. PICTURE_MAX_SIDE pixels: the stream keeps a few dozen bytes per pixel of a
//     row, which must stay addressable in a 32-bit process;
//   at most PICTURE_MAX_PIXELS pixels: the whole-picture block (4 bytes a pixel) stays within
//     a signed 32-bit byte count, and a few hundred bytes of file cannot keep the program busy
//     for minutes;
//   BMP: uncompressed 1, 4, 8 or 24 bits per pixel, an information header of 40 bytes or more,
//     pixel data that starts after the headers and before the end of the file (a file that
//     holds no pixel data is no picture), and rows that all lie within PICTURE_MAX_OFFSET bytes
//     of the start, the furthest a 32-bit signed file position reaches;
//   JPEG: libjpeg's default output is greyscale or RGB (CMYK files are refused).
#define PICTURE_MAX_SIDE 0x1000000     // 2^24: 16,777,216
#define PICTURE_MAX_PIXELS 0x10000000  // 2^28: 268,435,456 (16,384 x 16,384)
#define PICTURE_MAX_OFFSET 0x7FFFFFFF

typedef enum PictureFormat { PICTURE_BMP = 1, PICTURE_JPEG = 2 } PictureFormat;

// libjpeg's numbers for the output colour spaces that are read (JCS_GRAYSCALE, JCS_RGB).
#define PICTURE_JPEG_GREY 1
#define PICTURE_JPEG_RGB 2

// What a file's headers say, as far as accepting it goes.
typedef struct PictureFacts {
  PictureFormat format;
  uint32_t kind;         // BMP: bits per pixel; JPEG: the output colour space (see above)
  uint32_t compression;  // BMP only
  int64_t width;
  int64_t height;
  // BMP only: 14 + the information header's length, the offset of the pixel data, the file's
  // length in bytes.
  uint64_t headerBytes;
  uint64_t dataOffset;
  uint64_t fileBytes;
} PictureFacts;

// 1 when the picture is read, 0 when it is refused (see the limits above).
int AcceptPicture(const PictureFacts *facts);

// Reads a Windows bitmap file (stored bottom-up, accepted by AcceptPicture).  Returns 1 with a
// new pixel block in `picture`, or 0 with no pixel block allocated; no message.  The record is
// cleared once the headers have been accepted, so a record that came in empty is empty after any
// failure. A file cut short inside its pixel data still reads: pixels whose bytes are missing are
// black. Colour-table indices beyond the entries the file holds are black too.
int ReadBmpPicture(const char *path, PictureBuffer *picture);

// The same for a file handle the caller has opened for reading (by a UTF-16 path, say); the file
// is closed before this returns, whatever the result.
int ReadBmpPictureFile(void *file, PictureBuffer *picture);

// The same for the `size` bytes of a bitmap file at `bytes`.
int ReadBmpMemory(const uint8_t *bytes, size_t size, PictureBuffer *picture);

// Reads a JPEG file through libjpeg (accepted by AcceptPicture: greyscale or RGB output).
// Returns 1 or 0 like ReadBmpPicture; the record is cleared as soon as the file is open.  libjpeg's
// own messages go to the standard error stream only; its warnings (a file ending early) do not fail
// the read.
int ReadJpegPicture(const char *path, PictureBuffer *picture);

// The same for the `size` bytes of a JPEG file at `bytes` (none: fails).
int ReadJpegMemory(const uint8_t *bytes, size_t size, PictureBuffer *picture);

// Gives `picture` a new zeroed, locked pixel block for width x height words and fills in all
// four fields.  Returns 0, leaving the record untouched, when either side is not positive, the
// picture has more than PICTURE_MAX_PIXELS pixels or the allocation fails.
int AllocatePicture(PictureBuffer *picture, int32_t width, int32_t height);

// Frees the pixel block if there is one.  The caller clears `pixels` where the record outlives
// the call.
void ReleasePicture(PictureBuffer *picture);

// Exchanges the low and third byte of each of byteCount / 4 words and clears the top byte.
void SwapRedBlue(uint32_t *words, int32_t byteCount);

#ifdef __cplusplus
}
#endif
