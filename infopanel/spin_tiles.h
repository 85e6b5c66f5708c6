// The tiles of each spin (portable): which picture and pose table a tile uses, where it sits,
// which angles turn, and the 361-frame pose table of one tile.
#pragma once

#include <stdint.h>

#include "spin_transform.h"

#ifdef __cplusplus
extern "C" {
#endif

// Panel modes: the sum of Shift (1) and Ctrl (2) held at the call.
enum { kPlainPanel = 0, kTwoFaceSpin = 1, kOneFaceSpin = 2, kFourFaceSpin = 3 };

// Frames of one turn, 0 to 360; the last shows, within rounding, the pose of the first.
enum { kTurnFrames = 361 };

typedef struct SpinTile {
  int picture;  // index into the panel's four pictures
  int table;    // index into its pose tables
  float offsetX, offsetY, offsetZ;
  int8_t turnX, turnY, turnZ;  // each angle is turn * the frame's running angle (0, 1 or -1)
  float distance;
} SpinTile;

// The tiles of `mode` (1, 2 or 3) in table order; their count, or 0 (and null) for any other
// mode.  The two-face spin's tiles are A then B; the four-face spin's S0 to S3.
int SpinTiles(int mode, const SpinTile **tiles);

// Fills table[0..360] for a tile over a width x height area (both at least 2).  The angle of
// frame k is the single-precision running sum of k steps of pi/180, not k * pi/180.
void BuildPoseTable(const SpinTile *tile, int32_t width, int32_t height, FrameTransform *table);

#ifdef __cplusplus
}
#endif
