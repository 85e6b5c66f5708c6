// A JPEG file straight into a surface: the same libjpeg calls as ReadJpegPicture, each
// scanline handed to the picture stream as it is decoded.  A fatal libjpeg error jumps back
// here; the stream then stops its filter and leaves the surface black, as for a file that
// cannot be read at all.
#include "picture_stream.h"

#include <stddef.h>
#include <string.h>

#include "file_932.h"
#include "jpeg_errors.h"
#include "jpeg_input.h"

namespace {

// Streams the picture from `input`; the caller closes any file and blackens the target when
// this fails.
int StreamJpeg(const JpegInput *input, const StreamTarget *target, StreamStats *stats) {
  struct jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegExitToReader;
  // Changed after the jump point, read after a jump: volatile.
  PictureStream *volatile rows = NULL;
  if (setjmp(err.jump)) {
    ClosePictureStream(rows, 0, stats);
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }

  jpeg_create_decompress(&cinfo);
  if (!ReadAcceptedJpegHeader(&cinfo, input)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_start_decompress(&cinfo);
  rows = OpenPictureStream((int32_t)cinfo.output_width, (int32_t)cinfo.output_height,
                           cinfo.out_color_space == JCS_RGB ? ROW_RGB : ROW_GREY, target);
  // A stream that could not be opened (no memory) reads no rows; finishing then reports too
  // few scanlines, which jumps back above.
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
  const int ok = ClosePictureStream(done, 1, stats);
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

}  // namespace

int StreamJpegPicture(const char *path, const StreamTarget *target, StreamStats *stats) {
  FILE *stream = OpenFile932ForReading(path);
  int ok = 0;
  if (stream) {
    const JpegInput input = {stream, NULL, 0};
    ok = StreamJpeg(&input, target, stats);
    fclose(stream);
  }
  if (!ok) BlackenStreamTarget(target);
  return ok;
}

int StreamJpegMemory(const uint8_t *bytes, size_t size, const StreamTarget *target,
                     StreamStats *stats) {
  const JpegInput input = {NULL, bytes, size};
  const int ok = StreamJpeg(&input, target, stats);
  if (!ok) BlackenStreamTarget(target);
  return ok;
}
