#include "fuzz_sizes.h"

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

namespace {

int64_t Le32(const uint8_t *p) {
  return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 |
                   (uint32_t)p[3] << 24);
}

struct QuietErrors {
  jpeg_error_mgr pub;
  jmp_buf jump;
};

void JumpBack(j_common_ptr cinfo) {
  longjmp(((QuietErrors *)cinfo->err)->jump, 1);
}

void Silent(j_common_ptr) {}

}  // namespace

void BmpDeclaredSize(const uint8_t *data, size_t size, int64_t *width, int64_t *height) {
  *width = size >= 26 ? Le32(data + 18) : 0;
  *height = size >= 26 ? Le32(data + 22) : 0;
}

void JpegDeclaredSize(const uint8_t *data, size_t size, int64_t *width, int64_t *height) {
  *width = *height = 0;
  if (size == 0) return;
  jpeg_decompress_struct cinfo;
  QuietErrors err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JumpBack;
  err.pub.output_message = Silent;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, (unsigned long)size);
  if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
    *width = cinfo.image_width;
    *height = cinfo.image_height;
  }
  jpeg_destroy_decompress(&cinfo);
}
