#include "background.h"

#include "cells.h"
#include "picture_stream.h"
#include "stripes.h"
#include "surfaces.h"

// Whether `path` ends in `extension` (a dot and ASCII letters), ignoring case.  A dot is never
// the second byte of a double-byte character in any ANSI code page, so an ending that starts
// with one is the name's own extension whatever code page the rest of the path is in.
static bool HasExtension(const char *path, const char *extension) {
  int length = lstrlenA(path), suffix = lstrlenA(extension);
  return length >= suffix && lstrcmpiA(path + length - suffix, extension) == 0;
}

// The picture is read, prefiltered and stretched into the background surface in one stream,
// a second thread filtering while the file is decoded; the pixels are those of reading the
// whole picture, prefiltering and resampling it.  A read that fails, even late, leaves the
// surface black.
int LoadBackgroundPicture(const RenderState *rs, const char *imagePath) {
  SetCursor(LoadCursorA(NULL, IDC_WAIT));
  StreamTarget target = {
      rs->backgroundPixels, rs->clientWidth, rs->clientHeight, rs->rowStride, 2, 0};
  // The extension alone decides the reader; the contents are not sniffed.
  int ok = 0;
  if (HasExtension(imagePath, ".jpg"))
    ok = StreamJpegPicture(imagePath, &target, NULL);
  else if (HasExtension(imagePath, ".bmp"))
    ok = StreamBmpPicture(imagePath, &target, NULL);
  SetCursor(LoadCursorA(NULL, IDC_ARROW));
  return ok;
}

int ComposeBackground(HWND window, RenderState *rs, const BackgroundOptions *options) {
  if (!playField.backgroundDC) return 1;
  PatBlt(playField.backgroundDC, 0, 0, rs->clientWidth, rs->clientHeight, BLACKNESS);
  GdiFlush();
  int shown = 1;
  if (options->imageShown == 1) shown = LoadBackgroundPicture(rs, options->imagePath);
  if (options->guideStripe != 0) {
    rs->stripeIntensity = options->stripeIntensity;
    DrawStripes(rs);
  }
  ResetDisplay(rs);
  InvalidateRect(window, NULL, FALSE);
  return shown;
}
