// qmpicture: looks at pictures through the program's own readers and resampler.
//   qmpicture decode FILE OUT.ppm          the picture as read
//   qmpicture compose FILE W H OUT.ppm [--stripes N] [--frame] [--reference]
//                                          what the background composition makes of it; with
//                                          the options on a client area's size, also the
//                                          well's stripes and frame, as the window shows it;
//                                          --reference: read the whole picture, then filter
//                                          and stretch it (the same pixels, slower)
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "compose.h"
#include "picture.h"
#include "ppm_output.h"
#include "render_state.h"

namespace {

void Usage(void) {
  fprintf(stderr,
          "usage: qmpicture decode FILE OUT.ppm\n"
          "       qmpicture compose FILE W H OUT.ppm [--stripes N] [--frame] [--reference]\n"
          "         (with --stripes or --frame, W x H must be a client area's size:\n"
          "          %d x cell width + %d by %d x cell height + %d, e.g. %d %d)\n",
          CLIENT_COLUMNS, FRAME_PIXELS, CLIENT_ROWS, FRAME_PIXELS,
          CLIENT_COLUMNS * 20 + FRAME_PIXELS, CLIENT_ROWS * 20 + FRAME_PIXELS);
}

// A positive size in pixels, at most 32768.
int ParseSize(const char *text, int32_t *value) {
  char *end = NULL;
  long v = strtol(text, &end, 10);
  if (end == text || *end != '\0' || v <= 0 || v > 0x8000) return 0;
  *value = (int32_t)v;
  return 1;
}

// A stripe intensity as the settings file may hold it: any 32-bit signed number.
int ParseIntensity(const char *text, int32_t *value) {
  char *end = NULL;
  long long v = strtoll(text, &end, 10);
  if (end == text || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return 0;
  *value = (int32_t)v;
  return 1;
}

// The options after OUT.ppm.  Returns 1, or 0 after saying what is wrong.
int ParseWellPasses(int count, char **args, WellPasses *passes, int *reference) {
  for (int i = 0; i < count; ++i) {
    if (strcmp(args[i], "--frame") == 0) {
      passes->frame = 1;
    } else if (strcmp(args[i], "--reference") == 0) {
      *reference = 1;
    } else if (strcmp(args[i], "--stripes") == 0) {
      if (i + 1 >= count || !ParseIntensity(args[++i], &passes->stripeIntensity)) {
        fprintf(stderr,
                "qmpicture: --stripes needs a whole number (0 to 255 are the visible "
                "range)\n");
        return 0;
      }
      passes->stripes = 1;
    } else {
      fprintf(stderr, "qmpicture: unknown option '%s'\n", args[i]);
      return 0;
    }
  }
  return 1;
}

int Decode(const char *path, const char *out) {
  PictureBuffer picture = {};
  if (!ReadPictureByExtension(path, &picture)) {
    fprintf(stderr, "qmpicture: cannot read picture '%s' (only .jpg and .bmp are read)\n", path);
    return 1;
  }
  int ok = WritePicturePpm(out, &picture);
  ReleasePicture(&picture);
  if (!ok) {
    fprintf(stderr, "qmpicture: cannot write '%s'\n", out);
    return 1;
  }
  return 0;
}

// The whole picture read first, then filtered and stretched: the plain way.
int ComposeReference(const char *path, ComposeSurface *surface) {
  PictureBuffer picture = {};
  if (!ReadPictureByExtension(path, &picture)) {
    fprintf(stderr, "qmpicture: cannot read picture '%s' (only .jpg and .bmp are read)\n", path);
    return 0;
  }
  int composed = ComposePicture(&picture, surface);
  ReleasePicture(&picture);
  if (!composed) fprintf(stderr, "qmpicture: not enough memory to resample '%s'\n", path);
  return composed;
}

int Compose(const char *path, int32_t width, int32_t height, const char *out,
            const WellPasses *passes, int reference) {
  ComposeSurface surface = {};
  if (!CreateComposeSurface(&surface, width, height)) {
    fprintf(stderr, "qmpicture: cannot allocate a %d x %d surface\n", (int)width, (int)height);
    return 1;
  }
  int composed =
      reference ? ComposeReference(path, &surface) : ComposePictureFile(path, &surface, 2);
  int status = 0;
  if (!composed) {
    if (!reference)
      fprintf(stderr,
              "qmpicture: cannot read picture '%s' (only .jpg and .bmp are read) or no memory\n",
              path);
    status = 1;
  } else if ((passes->stripes || passes->frame) && !ApplyWellPasses(&surface, passes)) {
    fprintf(stderr, "qmpicture: not enough memory for the frame\n");
    status = 1;
  } else if (!WriteSurfacePpm(out, &surface)) {
    fprintf(stderr, "qmpicture: cannot write '%s'\n", out);
    status = 1;
  }
  FreeComposeSurface(&surface);
  return status;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 4 && strcmp(argv[1], "decode") == 0) return Decode(argv[2], argv[3]);
  if (argc >= 6 && strcmp(argv[1], "compose") == 0) {
    int32_t width, height;
    if (!ParseSize(argv[3], &width) || !ParseSize(argv[4], &height)) {
      fprintf(stderr, "qmpicture: W and H must be whole numbers from 1 to 32768\n");
      return 2;
    }
    WellPasses passes = {};
    int reference = 0;
    if (!ParseWellPasses(argc - 6, argv + 6, &passes, &reference)) return 2;
    int32_t cellWidth, cellHeight;
    if ((passes.stripes || passes.frame) && !WellCellSize(width, height, &cellWidth, &cellHeight)) {
      fprintf(stderr,
              "qmpicture: stripes and frame need a client area's size, 22 x cell width + 2 by "
              "24 x cell height + 2 (e.g. 442 482); %d x %d is not one\n",
              (int)width, (int)height);
      return 2;
    }
    return Compose(argv[2], width, height, argv[5], &passes, reference);
  }
  Usage();
  return 2;
}
