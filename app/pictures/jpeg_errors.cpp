#include "jpeg_errors.h"

void JpegExitToReader(j_common_ptr cinfo) {
  JpegErrorManager *err = (JpegErrorManager *)cinfo->err;
  (*cinfo->err->output_message)(cinfo);
  longjmp(err->jump, 1);
}
