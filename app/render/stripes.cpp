// Stripes work directly on the background surface's bytes, after any picture, so they lighten it.
#include "stripes.h"

namespace {

// Every byte of a striped cell gets the same saturated sum; one table serves the whole well.
void MakeLightenTable(uint8_t table[256], int32_t intensity) {
  if (intensity < 0) intensity = 0;
  if (intensity > 255) intensity = 255;
  for (int32_t b = 0; b < 256; ++b) {
    const int32_t sum = b + intensity;
    table[b] = (uint8_t)(sum > 255 ? 255 : sum);
  }
}

}  // namespace

void DrawStripes(const RenderState *rs) {
  uint8_t lighten[256];
  MakeLightenTable(lighten, rs->stripeIntensity);
  const int32_t cellBytes = 3 * rs->cellWidth;
  const int32_t fieldOrigin = rs->rowStride + 3;  // pixel (1, 1), whatever the game has set
  for (int32_t r = 0; r < BOARD_ROWS; ++r) {
    for (int32_t c = 0; c < BOARD_COLUMNS; c += 2) {
      uint8_t *cell = rs->backgroundPixels + fieldOrigin + r * rs->cellRowStep + c * rs->cellStep;
      for (int32_t y = 0; y < rs->cellHeight; ++y) {
        uint8_t *row = cell + y * rs->rowStride;
        for (int32_t i = 0; i < cellBytes; ++i) row[i] = lighten[row[i]];
      }
    }
  }
}
