// Tile drawing on small frames: the integer rules at the edges of the picture, and what the
// background does to the pixels outside a tile.
#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

#include "tile_drawing.h"

namespace {

const uint8_t kUntouched = 0xA5;

// A frame of w x h with padding, every byte preset; a picture whose pixel is its own index.
struct Canvas {
  int w, h, pad;
  std::vector<uint8_t> frame;
  std::vector<uint32_t> picture;
  Canvas(int width, int height) : w(width), h(height), pad(FrameRowPad(width)) {
    frame.assign(h * (3 * w + pad), kUntouched);
    for (int i = 0; i < w * h; ++i) picture.push_back(0x100000 + i);
  }
  uint32_t At(int x, int y) const {
    const uint8_t *p = &frame[y * (3 * w + pad) + 3 * x];
    return p[0] | p[1] << 8 | p[2] << 16;
  }
  // Draws with den = denC, u numerator = uX * xs + uC, v numerator = vY * ys + vC.
  void Draw(int32_t denC, int32_t uX, int32_t uC, int32_t vY, int32_t vC, int32_t background) {
    FrameTransform t = {};
    t.denC = denC, t.uX = uX, t.uC = uC, t.vY = vY, t.vC = vC;
    t.uLeft = -(w >> 1) * uX, t.vTop = -(h >> 1) * vY;
    SurfaceJob job;
    InitSurfaceJob(&job, frame.data(), pad, picture.data(), w, h, background);
    job.transform = &t;
    DrawTile(&job);
  }
  bool PaddingUntouched() const {
    for (int y = 0; y < h; ++y)
      for (int i = 0; i < pad; ++i)
        if (frame[y * (3 * w + pad) + 3 * w + i] != kUntouched) return false;
    return true;
  }
};

TEST(TileDrawing, ZeroDenominatorGoesToTheEdgeByTheSignOfTheNumerators) {
  // Odd sizes: u = hw and v = hh land on the last column and row.
  Canvas odd(5, 7);
  odd.Draw(0, 0, 3, 0, 0, 0x123456);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(odd.At(x, y), odd.picture[6 * 5 + 4]) << x << "," << y;
  EXPECT_TRUE(odd.PaddingUntouched());

  // Even sizes: the same u = hw falls just outside, so the background shows.
  Canvas even(6, 4);
  even.Draw(0, 0, 3, 0, 0, 0x123456);
  EXPECT_EQ(even.At(2, 1), 0x123456u);

  // Negative numerators: -hw and -hh, then one less again: outside on every size.
  odd.Draw(0, 0, -1, 0, -1, 0x654321);
  EXPECT_EQ(odd.At(2, 3), 0x654321u);
}

TEST(TileDrawing, ColumnAndRowHwAreNeverSampled) {
  // den 1, u = xs, v = ys: a quotient of 0 or less moves one further left or up.
  Canvas c(7, 6);  // hw 3, hh 3
  c.Draw(1, 1, 0, 1, 0, 0x010203);
  auto columnOf = [&](uint32_t pixel) { return (int)((pixel - 0x100000) % 7); };
  auto rowOf = [&](uint32_t pixel) { return (int)((pixel - 0x100000) / 7); };
  EXPECT_EQ(c.At(0, 4), 0x010203u) << "xs = -3 reads column -1: outside";
  for (int x = 1; x < 7; ++x) {
    int want = x <= 3 ? x - 1 : x;
    EXPECT_EQ(columnOf(c.At(x, 4)), want) << "frame column " << x;
    EXPECT_NE(columnOf(c.At(x, 4)), 3);
  }
  for (int y = 1; y < 6; ++y) EXPECT_EQ(rowOf(c.At(5, y)), y <= 3 ? y - 1 : y) << y;
}

TEST(TileDrawing, BackgroundMinusOneLeavesOutsidePixelsAloneAndAColourPaintsThem) {
  EXPECT_EQ(FrameRowPad(128), 0);
  EXPECT_EQ(FrameRowPad(126), 2);
  Canvas c(5, 3);  // 15 bytes a row: one byte of padding
  ASSERT_EQ(c.pad, 1);
  c.Draw(1, 0, 1000, 0, 0, -1);  // every pixel maps far to the right of the picture
  for (uint8_t byte : c.frame) ASSERT_EQ(byte, kUntouched);

  c.Draw(1, 0, 1000, 0, 0, 0x00ABCDEF);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(c.At(x, y), 0xABCDEFu);
  EXPECT_TRUE(c.PaddingUntouched());
  EXPECT_EQ(c.frame[0], 0xEF) << "blue first";
}

}  // namespace
