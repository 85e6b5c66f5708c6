// The about panel's perspective mapping (portable): for one tile in one frame, the projective
// transform from a frame pixel back to the tile's picture, computed once in floating point and
// kept as scaled 32-bit integers so that the drawing threads need integer arithmetic only.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// One tile, one frame.  For a frame pixel at (xs, ys) from the area's centre (xs = column - hw,
// ys = row - hh): den = denX*xs + denY*ys + denC, and the picture position from the centre is
// u = (uX*xs + uY*ys + uC) / den, v = (vX*xs + vY*ys + vC) / den.  The last six fields are the
// row terms at the top row and the column terms at the left column.
typedef struct FrameTransform {
  int32_t denX, denY, denC;
  int32_t uX, uY, uC;
  int32_t vX, vY, vC;
  int32_t denTop, uTop, vTop;     // -hh * denY, -hh * uY, -hh * vY
  int32_t denLeft, uLeft, vLeft;  // -hw * denX, -hw * uX, -hw * vX
} FrameTransform;

// The 3D pose of one tile for one frame.  A picture pixel measures scaleX / hw across and
// scaleY / hw down; the tile's centre sits at the offsets before the rotation, which turns about
// z, then x, then y; the viewer stands at `distance` on the z axis.
typedef struct SurfacePose {
  int32_t width, height;
  float scaleX, scaleY;
  float offsetX, offsetY, offsetZ;
  float angleX, angleY, angleZ;
  float distance;
  float divisor;
  FrameTransform *out;
} SurfacePose;

// Fills pose->out.  The caller keeps width and height at 2 or more (hw and hh not 0); every
// coefficient is the adjugate entry times 32768, truncated toward zero (saturated at the 32-bit
// limits, which the panel's poses never reach).
void ComputeFrameTransform(const SurfacePose *pose);

#ifdef __cplusplus
}
#endif
