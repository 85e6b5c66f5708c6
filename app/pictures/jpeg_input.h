// Where libjpeg reads a JPEG from (a file or bytes in memory), and its header read up to the
// decision whether the picture is read at all: the same steps for both JPEG readers.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <jpeglib.h>

// `stream` when it is not NULL, else the `size` bytes at `bytes`.
typedef struct JpegInput {
  FILE *stream;
  const uint8_t *bytes;
  size_t size;
} JpegInput;

// Sets libjpeg's source to `input`, reads the header (a picture is required) and works out the
// output size with the library's defaults.  Returns 1 when AcceptPicture accepts what it says,
// 0 when not.  libjpeg's fatal errors (no JPEG, nothing to read) end in the error manager's exit.
int ReadAcceptedJpegHeader(j_decompress_ptr cinfo, const JpegInput *input);
