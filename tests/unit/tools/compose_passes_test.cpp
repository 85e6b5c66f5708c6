// The picture tool's well passes, checked against rules written from pixel coordinates: which
// sizes are a client area's, where the stripes fall and what the frame shows.
#include "compose.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <vector>

namespace {

struct Size {
  int32_t width, height;
};

TEST(WellCellSize, AcceptsOnlyClientAreasOfWholeCells) {
  const struct {
    Size client;
    int32_t cellWidth, cellHeight;
  } accepted[] = {{{442, 482}, 20, 20}, {{24, 26}, 1, 1}, {{68, 50}, 3, 2}, {{46, 482}, 2, 20}};
  for (const auto &c : accepted) {
    int32_t cw = -1, ch = -1;
    ASSERT_EQ(WellCellSize(c.client.width, c.client.height, &cw, &ch), 1)
        << c.client.width << " x " << c.client.height;
    EXPECT_EQ(cw, c.cellWidth) << c.client.width;
    EXPECT_EQ(ch, c.cellHeight) << c.client.height;
  }
  // Off by one either way, cells of no width or height, and nothing at all.
  const Size refused[] = {{443, 482}, {441, 482}, {442, 483}, {442, 481},
                          {2, 26},    {24, 2},    {0, 0},     {-20, 26}};
  for (const Size &s : refused) {
    int32_t cw = -1, ch = -1;
    EXPECT_EQ(WellCellSize(s.width, s.height, &cw, &ch), 0) << s.width << " x " << s.height;
    EXPECT_EQ(cw, -1) << "outputs untouched on refusal";
    EXPECT_EQ(ch, -1);
  }
}

// A surface of the tool's own layout with varied bytes, padding included.
struct Surface {
  ComposeSurface s;
  explicit Surface(Size size) : s() {
    EXPECT_EQ(CreateComposeSurface(&s, size.width, size.height), 1);
    uint32_t seed = 99;
    for (int32_t i = 0; i < s.rowStride * s.height; ++i) {
      seed = seed * 1103515245u + 12345u;
      s.bits[i] = (uint8_t)(seed >> 16);
    }
  }
  ~Surface() { FreeComposeSurface(&s); }
  std::vector<uint8_t> Bytes() const {
    return std::vector<uint8_t>(s.bits, s.bits + (size_t)s.rowStride * s.height);
  }
};

// The surface as the window must show it, from the pixel rules: the even well columns lightened
// (saturating), then each frame pixel the inverse of what lies beneath it.
std::vector<uint8_t> Reference(const std::vector<uint8_t> &before, int32_t stride, int32_t cw,
                               int32_t ch, bool stripes, int intensity, bool frame) {
  std::vector<uint8_t> out = before;
  const int32_t wellRight = 16 * cw, wellBottom = 24 * ch;
  for (int32_t y = 0; y <= wellBottom + 1; ++y) {
    for (int32_t x = 0; x <= wellRight + 1; ++x) {
      const size_t at = (size_t)y * stride + 3 * (size_t)x;
      const bool inside = x >= 1 && x <= wellRight && y >= 1 && y <= wellBottom;
      const bool onFrame = x == 0 || x == wellRight + 1 || ((y == 0 || y == wellBottom + 1));
      for (int k = 0; k < 3; ++k) {
        if (inside && stripes && ((x - 1) / cw) % 2 == 0) {
          const int sum = before[at + k] + intensity;
          out[at + k] = (uint8_t)(sum > 255 ? 255 : sum);
        }
        if (!inside && onFrame && frame) out[at + k] = (uint8_t)(255 - before[at + k]);
      }
    }
  }
  return out;
}

TEST(WellPasses, StripeEvenColumnsAndFrameTheWellAsTheWindowShowsIt) {
  // Cell width 2 pads each row by 2 bytes; cell width 3 pads nothing.
  const struct { int32_t cw, ch; } cells[] = {{2, 3}, {3, 1}};
  for (const auto &cell : cells) {
    for (int stripes = 0; stripes <= 1; ++stripes) {
      for (int frame = 0; frame <= 1; ++frame) {
        Surface surface({22 * cell.cw + 2, 24 * cell.ch + 2});
        const std::vector<uint8_t> before = surface.Bytes();
        WellPasses passes = {stripes, 100, frame};
        ASSERT_EQ(ApplyWellPasses(&surface.s, &passes), 1);
        EXPECT_EQ(surface.Bytes(), Reference(before, surface.s.rowStride, cell.cw, cell.ch,
                                             stripes != 0, 100, frame != 0))
            << "cell " << cell.cw << " x " << cell.ch << ", stripes " << stripes << ", frame "
            << frame;
      }
    }
  }
}

TEST(WellPasses, ASurfaceThatIsNotAClientAreaIsRefusedAndLeftAlone) {
  for (Size size : {Size{45, 74}, Size{46, 75}, Size{20, 20}}) {
    Surface surface(size);
    const std::vector<uint8_t> before = surface.Bytes();
    WellPasses passes = {1, 255, 1};
    EXPECT_EQ(ApplyWellPasses(&surface.s, &passes), 0) << size.width << " x " << size.height;
    EXPECT_EQ(surface.Bytes(), before);
  }
}

}  // namespace
