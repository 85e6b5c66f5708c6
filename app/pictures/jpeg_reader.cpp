// JPEG files through libjpeg's decompressor with every default left in place.  libjpeg reports
// fatal errors by calling the error manager's exit routine, which here jumps back into
// ReadJpegPicture; nothing between the jump point and libjpeg holds a destructor, and every
// local the reader changes after the jump point is volatile or lives behind a pointer.
#include "picture.h"

#include <string.h>

#include "jpeg_errors.h"

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

}  // namespace

int ReadJpegPicture(const char *path, PictureBuffer *picture) {
  FILE *stream = fopen(path, "rb");
  if (!stream) return 0;
  memset(picture, 0, sizeof *picture);

  struct jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegExitToReader;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    fclose(stream);
    ReleasePicture(picture);
    memset(picture, 0, sizeof *picture);
    return 0;
  }

  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, stream);
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE,
                                              cinfo.output_width * cinfo.output_components, 1);

  // libjpeg caps each side at 65500, so the sides fit; their product is the allocator's to judge.
  if (!AllocatePicture(picture, (int32_t)cinfo.output_width, (int32_t)cinfo.output_height)) {
    jpeg_destroy_decompress(&cinfo);
    fclose(stream);
    return 0;
  }

  // Other output spaces (CMYK files) read no rows; finishing then reports too few scanlines,
  // which ends in JpegExitToReader.
  if (cinfo.out_color_space == JCS_GRAYSCALE || cinfo.out_color_space == JCS_RGB) {
    while (cinfo.output_scanline < cinfo.output_height) {
      uint32_t *out = picture->pixels + (size_t)cinfo.output_scanline * picture->width;
      if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
      ConvertScanline(row[0], cinfo.out_color_space, picture->width, out);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  fclose(stream);
  return 1;
}
