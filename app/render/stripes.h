// The light vertical stripes of the background: every other column of the well lightened.
#pragma once

#include "render_state.h"

#ifdef __cplusplus
extern "C" {
#endif

// Lightens every pixel of the well's even columns (0, 2, ... 14) in the background surface:
// each byte becomes min(byte + stripeIntensity, 255).  Odd columns, the frame and the side
// area are left alone.  An intensity outside 0..255 (a hand-edited settings file) is taken as
// the nearer end of that range.  Needs the geometry of SetUpRenderGeometry and a background of
// rowStride * clientHeight bytes.
void DrawStripes(const RenderState *rs);

#ifdef __cplusplus
}
#endif
