// A play field on plain byte buffers, and the plain per-pixel rules the drawing must follow,
// written from pixel coordinates rather than from the drawing code's offsets.
#pragma once

#include <stdint.h>

#include <vector>

#include "cells.h"

struct TestField {
  RenderState rs;
  std::vector<uint8_t> display, background;
  std::vector<uint32_t> block;

  // Background and block picture get varied bytes; the display gets `sentinel`, so any byte the
  // drawing should not touch shows.
  TestField(int32_t cellWidth, int32_t cellHeight, uint8_t sentinel = 0xA5) : rs() {
    SetUpRenderGeometry(&rs, cellWidth, cellHeight);
    SetGameDrawingOrigins(&rs);
    const size_t bytes = (size_t)rs.rowStride * (size_t)rs.clientHeight;
    display.assign(bytes, sentinel);
    background.resize(bytes);
    uint32_t seed = 12345u + (uint32_t)cellWidth * 31u + (uint32_t)cellHeight;
    for (uint8_t &b : background) b = (uint8_t)(Next(&seed) >> 8);
    block.resize((size_t)cellWidth * (size_t)cellHeight);
    for (uint32_t &v : block) v = Next(&seed) & 0x00FFFFFFu;
    rs.displayPixels = display.data();
    rs.backgroundPixels = background.data();
    rs.blockPixels = block.data();
  }

  static uint32_t Next(uint32_t *seed) {
    *seed = *seed * 1103515245u + 12345u;
    return (*seed >> 1) ^ (*seed << 13);
  }

  size_t At(int32_t x, int32_t y) const { return (size_t)y * rs.rowStride + 3 * (size_t)x; }
  const uint8_t *Shown(int32_t x, int32_t y) const { return &display[At(x, y)]; }
  const uint8_t *Behind(int32_t x, int32_t y) const { return &background[At(x, y)]; }
};

// What a block (or guide) cell shows at one pixel: memory order blue, green, red.
inline void ExpectedPicturePixel(const TestField &f, uint32_t word, int32_t x, int32_t y,
                                 bool guide, uint8_t out[3]) {
  const uint8_t *behind = f.Behind(x, y);
  if (f.rs.transparentEnabled && (word & 0xFFFFFFu) == (f.rs.transparentColour & 0xFFFFFFu)) {
    out[0] = behind[0], out[1] = behind[1], out[2] = behind[2];
    return;
  }
  const uint8_t red = word & 0xFF, green = (word >> 8) & 0xFF, blue = (word >> 16) & 0xFF;
  out[0] = guide ? 255 - blue : blue;
  out[1] = guide ? 255 - green : green;
  out[2] = guide ? 255 - red : red;
}
