#include "background.h"

#include "cells.h"
#include "path_parts.h"
#include "picture.h"
#include "resample.h"
#include "stripes.h"
#include "surfaces.h"

static int ReadPictureByExtension(const char *imagePath, PictureBuffer *picture) {
  char extension[MAX_PATH];
  SplitPathParts(imagePath, NULL, NULL, NULL, extension);
  // The extension alone decides the reader; the contents are not sniffed.
  if (lstrcmpiA(extension, ".jpg") == 0) return ReadJpegPicture(imagePath, picture);
  if (lstrcmpiA(extension, ".bmp") == 0) return ReadBmpPicture(imagePath, picture);
  return 0;
}

int LoadBackgroundPicture(const RenderState *rs, const char *imagePath) {
  SetCursor(LoadCursorA(NULL, IDC_WAIT));
  PictureBuffer picture = {NULL, 0, 0, 0};
  int ok = ReadPictureByExtension(imagePath, &picture);
  if (ok) {
    double sx = (double)rs->clientWidth / (double)picture.width;
    double sy = (double)rs->clientHeight / (double)picture.height;
    ok = PrefilterPicture(&picture, sx, sy);
    if (ok)
      ResamplePicture(rs->backgroundPixels, &picture, rs->clientWidth, rs->clientHeight,
                      rs->rowStride);
    ReleasePicture(&picture);
  }
  SetCursor(LoadCursorA(NULL, IDC_ARROW));
  return ok;
}

void ComposeBackground(HWND window, RenderState *rs, BackgroundOptions *options) {
  if (!playField.backgroundDC) return;
  PatBlt(playField.backgroundDC, 0, 0, rs->clientWidth, rs->clientHeight, BLACKNESS);
  GdiFlush();
  if (*options->imageShown == 1)
    *options->imageShown = LoadBackgroundPicture(rs, options->imagePath);
  if (options->guideStripe != 0) {
    rs->stripeIntensity = options->stripeIntensity;
    DrawStripes(rs);
  }
  ResetDisplay(rs);
  InvalidateRect(window, NULL, FALSE);
}
