// libjpeg's fatal errors, turned into a jump back into the reader that called it.
#pragma once

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

struct JpegErrorManager {
  struct jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is the whole record
  jmp_buf jump;
};

// The error-exit routine: the standard message goes to the error stream, then longjmp to
// `jump` with value 1.
void JpegExitToReader(j_common_ptr cinfo);
