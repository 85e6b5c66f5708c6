// JPEG files through libjpeg's decompressor with every default left in place.  libjpeg reports
// fatal errors by calling the error manager's exit routine, which here jumps back into
// ReadJpeg; nothing between the jump point and libjpeg holds a destructor, and every local the
// reader changes after the jump point is volatile or lives behind a pointer.
#include "picture.h"

#include <string.h>

#include "file_932.h"
#include "jpeg_errors.h"
#include "jpeg_input.h"

namespace {

// One decoded scanline into one row of pixel words (red low byte).
void ConvertScanline(const JSAMPLE *samples, J_COLOR_SPACE space, int32_t width, uint32_t *out) {
  if (space == JCS_GRAYSCALE) {
    for (int32_t x = 0; x < width; ++x) {
      uint32_t g = samples[x];
      out[x] = g | (g << 8) | (g << 16);
    }
    return;
  }
  for (int32_t x = 0; x < width; ++x) {
    const JSAMPLE *p = samples + 3 * x;
    out[x] = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16);
  }
}

// Reads the picture from `input`; the caller has cleared the record and closes any file.
int ReadJpeg(const JpegInput *input, PictureBuffer *picture) {
  struct jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegExitToReader;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    ReleasePicture(picture);
    memset(picture, 0, sizeof *picture);
    return 0;
  }

  jpeg_create_decompress(&cinfo);
  // A refused picture ends here, before libjpeg sets aside anything for its size.
  if (!ReadAcceptedJpegHeader(&cinfo, input)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_start_decompress(&cinfo);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE,
                                              cinfo.output_width * cinfo.output_components, 1);
  if (!AllocatePicture(picture, (int32_t)cinfo.output_width, (int32_t)cinfo.output_height)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    uint32_t *out = picture->pixels + (size_t)cinfo.output_scanline * picture->width;
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
    ConvertScanline(row[0], cinfo.out_color_space, picture->width, out);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return 1;
}

}  // namespace

int ReadJpegPicture(const char *path, PictureBuffer *picture) {
  FILE *stream = OpenFile932ForReading(path);
  if (!stream) return 0;
  memset(picture, 0, sizeof *picture);
  const JpegInput input = {stream, NULL, 0};
  const int ok = ReadJpeg(&input, picture);
  fclose(stream);
  return ok;
}

int ReadJpegMemory(const uint8_t *bytes, size_t size, PictureBuffer *picture) {
  memset(picture, 0, sizeof *picture);
  const JpegInput input = {NULL, bytes, size};
  return ReadJpeg(&input, picture);
}
