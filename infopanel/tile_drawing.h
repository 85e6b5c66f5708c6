// Drawing the about panel's tiles into its frame buffer (portable).  The frame is 24-bit,
// top-down, bytes blue, green, red, each row followed by rowPad bytes that are never written;
// pictures are width x height words 0x00RRGGBB, rows top-down.
#pragma once

#include <stdint.h>

#include "spin_transform.h"

#ifdef __cplusplus
extern "C" {
#endif

// What a drawing loop keeps per tile.
typedef struct SurfaceJob {
  uint8_t *frame;
  const uint32_t *picture;
  int32_t width, height;
  int32_t background;  // a 0x00RRGGBB colour for the pixels outside the tile, or -1: untouched
  int32_t hw, hh;
  int32_t lastColumn;               // width - 1
  int32_t rowBytes;                 // 3 * width
  int32_t lastRow;                  // height - 1
  int32_t frameBytes;               // height * (3 * width + rowPad)
  const FrameTransform *transform;  // the tile's current frame
} SurfaceJob;

// Bytes of padding after each frame row: (4 - (3 * width mod 4)) mod 4.
int32_t FrameRowPad(int32_t width);

// Fills the job's fixed fields; the caller sets `transform` before each drawing.
void InitSurfaceJob(SurfaceJob *job, uint8_t *frame, int32_t rowPad, const uint32_t *picture,
                    int32_t width, int32_t height, int32_t background);

// Draws the tile through job->transform into the frame, every pixel of the area, in 32-bit
// integer arithmetic.  width and height at least 1.
void DrawTile(const SurfaceJob *job);

// Every pixel of the frame in `colour` (0x00RRGGBB); the padding is skipped.
void FillFrame(uint8_t *frame, int32_t width, int32_t height, int32_t rowPad, uint32_t colour);

// The frame into `picture`, pixel by pixel, as blue | green << 8 | red << 16.
void CopyFrameToPicture(const uint8_t *frame, int32_t width, int32_t height, int32_t rowPad,
                        uint32_t *picture);

#ifdef __cplusplus
}
#endif
