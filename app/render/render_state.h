// The play field's geometry and the pixel memory it is drawn into: the part of the render
// state that the portable cell drawing needs.  The GDI objects behind the pixel memory belong
// to the surfaces module of the Windows program.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Well size in cells and the place of the side area's preview, in cells.
enum {
  WELL_COLUMNS = 16,
  WELL_ROWS = 24,
  SIDE_COLUMNS = 6,
  PREVIEW_COLUMN = 17,
  PREVIEW_ROW = 5,
  PREVIEW_CELLS = 4
};

typedef struct RenderState {
  int32_t cellWidth, cellHeight;      // the block picture's size
  int32_t clientWidth, clientHeight;  // 22 * cellWidth + 2, 24 * cellHeight + 2
  int32_t wellWidth, wellHeight;      // 16 * cellWidth, 24 * cellHeight (pixels)
  int32_t rowStride, padding;         // bytes per surface row; padding to a multiple of 4
  int32_t cellStep;                   // 3 * cellWidth
  int32_t cellRowStep;                // rowStride * cellHeight
  int32_t bottomLineOffset;           // first byte of the frame's bottom row
  int32_t rightLineOffset;            // byte offset of the frame's right column in a row
  int32_t fieldOrigin;                // byte offset of pixel (1, 1); set at each game start
  int32_t previewOrigin;              // byte offset of the preview's top-left pixel; ditto
  uint8_t *displayPixels;             // first byte of the display surface (blue, green, red)
  uint8_t *backgroundPixels;          // first byte of the background surface
  const uint32_t *blockPixels;        // the block picture's pixel words
  int32_t stripeIntensity;            // 0..255, added to the striped columns
  int32_t transparentEnabled;         // nonzero: transparentColour shows the background
  uint32_t transparentColour;         // COLORREF layout, compared with all 24 colour bits
} RenderState;

#ifdef __cplusplus
}
#endif
