#include "jpeg_input.h"

#include "picture.h"

static_assert(PICTURE_JPEG_GREY == JCS_GRAYSCALE && PICTURE_JPEG_RGB == JCS_RGB,
              "the acceptance rule names libjpeg's colour spaces");

int ReadAcceptedJpegHeader(j_decompress_ptr cinfo, const JpegInput *input) {
  if (input->stream)
    jpeg_stdio_src(cinfo, input->stream);
  else
    jpeg_mem_src(cinfo, (const unsigned char *)input->bytes, (unsigned long)input->size);
  jpeg_read_header(cinfo, TRUE);
  // Before jpeg_start_decompress, which would already set aside room for the whole size.
  jpeg_calc_output_dimensions(cinfo);
  PictureFacts facts = {};
  facts.format = PICTURE_JPEG;
  facts.kind = (uint32_t)cinfo->out_color_space;
  facts.width = cinfo->output_width;
  facts.height = cinfo->output_height;
  return AcceptPicture(&facts);
}
