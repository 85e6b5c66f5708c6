// A JPEG file straight into a surface: the same libjpeg calls as ReadJpegPicture, each
// scanline handed to the picture stream as it is decoded.  A fatal libjpeg error jumps back
// here; the stream then stops its filter and leaves the surface black, as for a file that
// cannot be read at all.
#include "picture_stream.h"

#include <stddef.h>
#include <string.h>

#include "jpeg_errors.h"

int StreamJpegPicture(const char *path, const StreamTarget *target, StreamStats *stats) {
  FILE *stream = fopen(path, "rb");
  if (!stream) {
    BlackenStreamTarget(target);
    return 0;
  }
  struct jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegExitToReader;
  // Changed after the jump point, read after a jump: volatile.
  PictureStream *volatile rows = NULL;
  if (setjmp(err.jump)) {
    ClosePictureStream(rows, 0, stats);
    jpeg_destroy_decompress(&cinfo);
    fclose(stream);
    BlackenStreamTarget(target);
    return 0;
  }

  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, stream);
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  const J_COLOR_SPACE space = cinfo.out_color_space;
  if (space == JCS_GRAYSCALE || space == JCS_RGB)
    rows = OpenPictureStream((int32_t)cinfo.output_width, (int32_t)cinfo.output_height,
                             space == JCS_RGB ? ROW_RGB : ROW_GREY, target);
  // Other output spaces (CMYK files) read no rows; finishing then reports too few scanlines,
  // which jumps back above.  So does a stream that could not be opened (no memory).
  if (rows) {
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = NextStreamRow(rows);
      if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
      CommitStreamRow(rows);
    }
  }
  jpeg_finish_decompress(&cinfo);
  PictureStream *done = rows;
  rows = NULL;
  int ok = ClosePictureStream(done, 1, stats);
  jpeg_destroy_decompress(&cinfo);
  fclose(stream);
  if (!ok) BlackenStreamTarget(target);
  return ok;
}
