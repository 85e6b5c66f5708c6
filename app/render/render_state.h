// The play field's geometry and the pixel memory it is drawn into: the part of the render
// state that the portable cell drawing needs.  The GDI objects behind the pixel memory belong
// to the surfaces module of the Windows program.
#pragma once

#include <stdint.h>

#include "quillcore.h"

#ifdef __cplusplus
extern "C" {
#endif

// The window's layout, in cells: the well is the engine's board (BOARD_COLUMNS x BOARD_ROWS,
// quillcore.h) inside a frame line one pixel wide; beside it, a side area of SIDE_COLUMNS whose
// preview of the next piece starts at PREVIEW_COLUMN, PREVIEW_ROW.
enum {
  SIDE_COLUMNS = 6,
  CLIENT_COLUMNS = BOARD_COLUMNS + SIDE_COLUMNS,
  CLIENT_ROWS = BOARD_ROWS,
  FRAME_PIXELS = 2,  // what the frame adds to each side of the client area: a pixel each end
  PREVIEW_COLUMN = BOARD_COLUMNS + 1,
  PREVIEW_ROW = 5,
  PREVIEW_CELLS = 4
};

typedef struct RenderState {
  int32_t cellWidth, cellHeight;      // the block picture's size
  int32_t clientWidth, clientHeight;  // CLIENT_COLUMNS, CLIENT_ROWS cells + FRAME_PIXELS
  int32_t wellWidth, wellHeight;      // BOARD_COLUMNS, BOARD_ROWS cells (pixels)
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
