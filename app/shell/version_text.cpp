#include "version_text.h"

#include <stdio.h>

static const char kProgramVersion[] = "Quillomar Ver 1.0";

int FormatVersionLine(char *out, size_t outSize, const char *library) {
  int length = library ? snprintf(out, outSize, "%s (%s)", kProgramVersion, library)
                       : snprintf(out, outSize, "%s", kProgramVersion);
  return length >= 0 && static_cast<size_t>(length) < outSize;
}
