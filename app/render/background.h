// The background behind the well (Windows only): black, then optionally a picture file
// stretched over the whole client area, then optionally light stripes over every other well
// column.  Built into the background surface, then the display is reset from it.
#pragma once

#include <windows.h>

#include "render_state.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct BackgroundOptions {
  int32_t imageShown;       // picture switch: drawn only when 1
  const char *imagePath;    // ".jpg" or ".bmp" file, any letter case
  int32_t guideStripe;      // nonzero: stripes
  int32_t stripeIntensity;  // 0..255 added to each colour byte of a striped pixel
} BackgroundOptions;

// Window thread only, while no game runs.  Rebuilds the background, resets the display and
// invalidates the whole client area.  Returns 0 when the picture was asked for and could not
// be shown (the background is then black, with its stripes), else 1; what to do about such a
// picture is the caller's to decide.
int ComposeBackground(HWND window, RenderState *rs, const BackgroundOptions *options);

// Reads, prefilters and resamples the picture into the background surface, with the wait
// cursor shown meanwhile.  Returns 1, or 0 when the file cannot be read as a picture of its
// extension or the filter has no memory.
int LoadBackgroundPicture(const RenderState *rs, const char *imagePath);

#ifdef __cplusplus
}
#endif
