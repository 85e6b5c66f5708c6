// Cell drawing of the play field: the well's frame, its 384 cells and the next-piece preview,
// written byte by byte into the display surface of a RenderState.  The background surface is
// only read here; one byte offset names the same pixel in both surfaces.
//
// Every drawing call trusts the geometry: it may be called only after SetUpRenderGeometry (and,
// for DrawField and DrawPreview, SetGameDrawingOrigins) on a state whose displayPixels and
// backgroundPixels each hold rowStride * clientHeight bytes and whose blockPixels hold
// cellWidth * cellHeight words.  None of them allocates, fails or touches another surface.
#pragma once

#include <stdint.h>

#include "render_state.h"

#ifdef __cplusplus
extern "C" {
#endif

// Fills the geometry fields (cell and client size, well size, rowStride and padding, cell step,
// cell-row step, bottom-line and right-line offsets) for a block picture of cellWidth x
// cellHeight pixels.  Returns 0 and leaves `rs` unchanged when either size is below 1 or one
// surface would not fit in 2^31 - 1 bytes; 1 otherwise.  The pixel pointers are not touched.
int SetUpRenderGeometry(RenderState *rs, int32_t cellWidth, int32_t cellHeight);

// Sets fieldOrigin (pixel (1, 1)) and previewOrigin (the preview's top-left pixel) from the
// geometry.  The program calls it at each game start.
void SetGameDrawingOrigins(RenderState *rs);

// Redraws the frame around the well: each frame pixel becomes the bitwise inverse of the
// background pixel beneath it, so it is recomputed, never inverted twice.
void DrawFrame(const RenderState *rs);

// The frame, then all 384 cells of `board` (16 x 24 cell codes, row 0 first): 'O' and '#' as
// blocks, '.' as guide cells, any other code as the background.
void DrawField(const RenderState *rs, const char *board);

// The block picture at `offset` (byte offset of the cell's top-left pixel).  With
// transparentEnabled, picture pixels equal to transparentColour (24 colour bits) show the
// background instead.
void DrawBlockCell(const RenderState *rs, int32_t offset);

// As DrawBlockCell, with every non-transparent pixel in its negative colour.
void DrawGuideCell(const RenderState *rs, int32_t offset);

// Copies the cell at `offset` from the background into the display.
void RestoreCell(const RenderState *rs, int32_t offset);

// The 4 x 4 preview from `picture` (16 codes, row by row): 'O' as a block, anything else as the
// background, so the whole preview is redrawn.
void DrawPreview(const RenderState *rs, const char *picture);

#ifdef __cplusplus
}
#endif
