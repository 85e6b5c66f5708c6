// Cell drawing straight into the 24-bit surfaces: bytes blue, green, red, rows rowStride apart.
#include "cells.h"

#include <string.h>

namespace {

const uint32_t kColourBits = 0x00FFFFFFu;

// One picture pixel: the background where it has the transparent colour, else the word's
// colour (after `invert`, which is 0 for blocks and all colour bits for guide cells).
inline void PutPixel(uint8_t *out, const uint8_t *behind, uint32_t v, int keyed, uint32_t key,
                     uint32_t invert) {
  if (keyed && (v & kColourBits) == key) {
    out[0] = behind[0];
    out[1] = behind[1];
    out[2] = behind[2];
    return;
  }
  v ^= invert;
  out[0] = (uint8_t)(v >> 16);
  out[1] = (uint8_t)(v >> 8);
  out[2] = (uint8_t)v;
}

// The block picture, once, row by row, into the cell at `offset`.  The game redraws the whole
// well on every move, so the rows go four pixels per step and then the remainder singly.
void DrawPictureCell(const RenderState *rs, int32_t offset, uint32_t invert) {
  uint8_t *outRow = rs->displayPixels + offset;
  const uint8_t *behindRow = rs->backgroundPixels + offset;
  const uint32_t *v = rs->blockPixels;
  const int keyed = rs->transparentEnabled != 0;
  const uint32_t key = rs->transparentColour & kColourBits;
  const int32_t width = rs->cellWidth;
  for (int32_t y = 0; y < rs->cellHeight; ++y) {
    uint8_t *out = outRow;
    const uint8_t *behind = behindRow;
    int32_t x = 0;
    for (; x + 4 <= width; x += 4) {
      PutPixel(out, behind, v[0], keyed, key, invert);
      PutPixel(out + 3, behind + 3, v[1], keyed, key, invert);
      PutPixel(out + 6, behind + 6, v[2], keyed, key, invert);
      PutPixel(out + 9, behind + 9, v[3], keyed, key, invert);
      out += 12;
      behind += 12;
      v += 4;
    }
    for (; x < width; ++x) {
      PutPixel(out, behind, *v++, keyed, key, invert);
      out += 3;
      behind += 3;
    }
    outRow += rs->rowStride;
    behindRow += rs->rowStride;
  }
}

inline void InvertPixel(const RenderState *rs, int32_t offset) {
  uint8_t *out = rs->displayPixels + offset;
  const uint8_t *behind = rs->backgroundPixels + offset;
  out[0] = (uint8_t)~behind[0];
  out[1] = (uint8_t)~behind[1];
  out[2] = (uint8_t)~behind[2];
}

}  // namespace

int SetUpRenderGeometry(RenderState *rs, int32_t cellWidth, int32_t cellHeight) {
  if (cellWidth < 1 || cellHeight < 1) return 0;
  // Checked in 64 bits: a hand-made block picture must not wrap the surface size.
  const int64_t clientWidth = CLIENT_COLUMNS * (int64_t)cellWidth + FRAME_PIXELS;
  const int64_t clientHeight = CLIENT_ROWS * (int64_t)cellHeight + FRAME_PIXELS;
  const int64_t padding = (4 - (3 * clientWidth) % 4) % 4;
  const int64_t rowStride = 3 * clientWidth + padding;
  if (rowStride * clientHeight > INT32_MAX) return 0;

  rs->cellWidth = cellWidth;
  rs->cellHeight = cellHeight;
  rs->clientWidth = (int32_t)clientWidth;
  rs->clientHeight = (int32_t)clientHeight;
  rs->wellWidth = BOARD_COLUMNS * cellWidth;
  rs->wellHeight = BOARD_ROWS * cellHeight;
  rs->padding = (int32_t)padding;
  rs->rowStride = (int32_t)rowStride;
  rs->cellStep = 3 * cellWidth;
  rs->cellRowStep = rs->rowStride * cellHeight;
  rs->bottomLineOffset = (rs->wellHeight + 1) * rs->rowStride;
  rs->rightLineOffset = 3 * (rs->wellWidth + 1);
  return 1;
}

void SetGameDrawingOrigins(RenderState *rs) {
  rs->fieldOrigin = rs->rowStride + 3;
  rs->previewOrigin =
      3 * PREVIEW_COLUMN * rs->cellWidth + PREVIEW_ROW * rs->cellHeight * rs->rowStride;
}

void DrawFrame(const RenderState *rs) {
  for (int32_t x = 1; x <= rs->wellWidth; ++x) {
    InvertPixel(rs, 3 * x);
    InvertPixel(rs, rs->bottomLineOffset + 3 * x);
  }
  const int32_t rows = rs->wellHeight + FRAME_PIXELS;
  for (int32_t y = 0; y < rows; ++y) {
    const int32_t row = y * rs->rowStride;
    InvertPixel(rs, row);
    InvertPixel(rs, row + rs->rightLineOffset);
  }
}

void DrawField(const RenderState *rs, const char *board) {
  DrawFrame(rs);
  for (int32_t r = 0; r < BOARD_ROWS; ++r) {
    const int32_t rowOffset = rs->fieldOrigin + r * rs->cellRowStep;
    for (int32_t c = 0; c < BOARD_COLUMNS; ++c) {
      const int32_t offset = rowOffset + c * rs->cellStep;
      switch (board[r * BOARD_COLUMNS + c]) {
        case CELL_FALLING:
        case CELL_SETTLED:
          DrawBlockCell(rs, offset);
          break;
        case CELL_GUIDE:
          DrawGuideCell(rs, offset);
          break;
        default:
          RestoreCell(rs, offset);
          break;
      }
    }
  }
}

void DrawBlockCell(const RenderState *rs, int32_t offset) {
  DrawPictureCell(rs, offset, 0);
}

void DrawGuideCell(const RenderState *rs, int32_t offset) {
  DrawPictureCell(rs, offset, kColourBits);
}

void RestoreCell(const RenderState *rs, int32_t offset) {
  const size_t bytes = (size_t)rs->cellStep;
  for (int32_t y = 0; y < rs->cellHeight; ++y) {
    const int32_t row = offset + y * rs->rowStride;
    memcpy(rs->displayPixels + row, rs->backgroundPixels + row, bytes);
  }
}

void DrawPreview(const RenderState *rs, const char *picture) {
  for (int32_t i = 0; i < PREVIEW_CELLS; ++i) {
    for (int32_t j = 0; j < PREVIEW_CELLS; ++j) {
      const int32_t offset = rs->previewOrigin + j * rs->cellStep + i * rs->cellRowStep;
      if (picture[i * PREVIEW_CELLS + j] == CELL_FALLING)
        DrawBlockCell(rs, offset);
      else
        RestoreCell(rs, offset);
    }
  }
}
