#include "cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field_fixture.h"

namespace {

// Reports the first differing pixel by its coordinates, not as a dump of two surfaces.
testing::AssertionResult SameSurface(const TestField &f, const std::vector<uint8_t> &expected) {
  for (size_t i = 0; i < expected.size(); ++i) {
    if (f.display[i] != expected[i]) {
      const size_t y = i / (size_t)f.rs.rowStride, x = (i % (size_t)f.rs.rowStride) / 3;
      return testing::AssertionFailure() << "byte " << i << " (pixel " << x << ", " << y << ") is "
                                         << int(f.display[i]) << ", expected " << int(expected[i]);
    }
  }
  return testing::AssertionSuccess();
}

// The plain loop: one pixel at a time, from the cell's top-left pixel (x0, y0).
void ReferenceCell(const TestField &f, std::vector<uint8_t> *out, int32_t x0, int32_t y0,
                   bool guide) {
  for (int32_t y = 0; y < f.rs.cellHeight; ++y)
    for (int32_t x = 0; x < f.rs.cellWidth; ++x)
      ExpectedPicturePixel(f, f.block[(size_t)(y * f.rs.cellWidth + x)], x0 + x, y0 + y, guide,
                           &(*out)[f.At(x0 + x, y0 + y)]);
}

void ReferenceRestore(const TestField &f, std::vector<uint8_t> *out, int32_t x0, int32_t y0) {
  for (int32_t y = y0; y < y0 + f.rs.cellHeight; ++y)
    for (int32_t x = x0; x < x0 + f.rs.cellWidth; ++x)
      for (int k = 0; k < 3; ++k) (*out)[f.At(x, y) + k] = f.Behind(x, y)[k];
}

bool IsFramePixel(const RenderState &rs, int32_t x, int32_t y) {
  const int32_t right = rs.wellWidth + 1, bottom = rs.wellHeight + 1;
  if (y < 0 || y > bottom || x < 0 || x > right) return false;
  return x == 0 || x == right || y == 0 || y == bottom;
}

void ReferenceFrame(const TestField &f, std::vector<uint8_t> *out) {
  for (int32_t y = 0; y < f.rs.clientHeight; ++y)
    for (int32_t x = 0; x < f.rs.clientWidth; ++x)
      if (IsFramePixel(f.rs, x, y))
        for (int k = 0; k < 3; ++k) (*out)[f.At(x, y) + k] = 255 - f.Behind(x, y)[k];
}

TEST(BlockCell, UnrolledRowsMatchAPlainPixelLoopForWidthsOneToNine) {
  for (int32_t cw = 1; cw <= 9; ++cw) {
    for (int32_t ch : {1, 2, 5}) {
      for (int keyed = 0; keyed <= 1; ++keyed) {
        for (bool guide : {false, true}) {
          SCOPED_TRACE(testing::Message()
                       << cw << "x" << ch << " keyed " << keyed << " guide " << guide);
          TestField f(cw, ch);
          // Every third picture pixel carries the transparent colour; the setting's top byte
          // is noise, as a hand-edited settings file may have it.
          for (size_t i = 0; i < f.block.size(); i += 3) f.block[i] = f.block[0];
          f.rs.transparentColour = f.block[0] | 0x5A000000u;
          f.rs.transparentEnabled = keyed;
          std::vector<uint8_t> expected = f.display;
          const int32_t x0 = 1 + 5 * cw, y0 = 1 + 3 * ch;
          ReferenceCell(f, &expected, x0, y0, guide);
          const int32_t offset = (int32_t)f.At(x0, y0);
          if (guide)
            DrawGuideCell(&f.rs, offset);
          else
            DrawBlockCell(&f.rs, offset);
          ASSERT_TRUE(SameSurface(f, expected));
        }
      }
    }
  }
}

TEST(BlockCell, TransparencyComparesAllColourBitsAndOnlyWhenSwitchedOn) {
  TestField f(4, 1);
  f.block = {0x00ABCDEF, 0x00ABCDEE, 0x00112233, 0x00ABCDEF};
  f.rs.blockPixels = f.block.data();
  f.rs.transparentColour = 0x7FABCDEF;  // top byte is not a colour bit
  const int32_t offset = f.rs.fieldOrigin;
  auto pixel = [&](int x) {
    return std::vector<uint8_t>(f.Shown(1 + x, 1), f.Shown(1 + x, 1) + 3);
  };
  auto behind = [&](int x) {
    return std::vector<uint8_t>(f.Behind(1 + x, 1), f.Behind(1 + x, 1) + 3);
  };
  using Bytes = std::vector<uint8_t>;

  f.rs.transparentEnabled = 0;
  DrawBlockCell(&f.rs, offset);
  EXPECT_EQ(pixel(0), (Bytes{0xAB, 0xCD, 0xEF})) << "switched off: drawn like any colour";
  EXPECT_EQ(pixel(2), (Bytes{0x11, 0x22, 0x33})) << "memory order is blue, green, red";

  f.rs.transparentEnabled = 1;
  DrawBlockCell(&f.rs, offset);
  EXPECT_EQ(pixel(0), behind(0));
  EXPECT_EQ(pixel(1), (Bytes{0xAB, 0xCD, 0xEE})) << "one bit off is not transparent";
  EXPECT_EQ(pixel(3), behind(3));

  DrawGuideCell(&f.rs, offset);
  EXPECT_EQ(pixel(0), behind(0)) << "a transparent guide pixel shows the background itself";
  EXPECT_EQ(pixel(1), (Bytes{0x54, 0x32, 0x11}));
  EXPECT_EQ(pixel(2), (Bytes{0xEE, 0xDD, 0xCC}));
  EXPECT_EQ(pixel(3), behind(3));
}

TEST(RestoreCell, CopiesExactlyTheCellFromTheBackground) {
  for (int32_t cw : {1, 2, 6}) {
    TestField f(cw, 3);
    std::vector<uint8_t> expected = f.display;
    const int32_t x0 = 1 + 15 * cw, y0 = 1 + 23 * 3;  // the last cell, beside frame and side area
    ReferenceRestore(f, &expected, x0, y0);
    RestoreCell(&f.rs, (int32_t)f.At(x0, y0));
    EXPECT_TRUE(SameSurface(f, expected)) << cw;
  }
}

TEST(Frame, IsTheInverseOfTheBackgroundAndTouchesNothingElse) {
  const int32_t sizes[][2] = {{1, 1}, {2, 3}, {5, 4}};
  for (const auto &size : sizes) {
    TestField f(size[0], size[1]);
    std::vector<uint8_t> expected = f.display;
    ReferenceFrame(f, &expected);
    DrawFrame(&f.rs);
    EXPECT_TRUE(SameSurface(f, expected)) << size[0] << "x" << size[1];
  }
}

TEST(Field, DrawsEachCodeAndGivesTheSamePixelsWhenRedrawn) {
  TestField f(3, 2);
  f.rs.transparentEnabled = 1;
  f.rs.transparentColour = f.block[4];
  const char codes[] = {'O', '#', '.', ' ', 'x', '\0', 'o'};
  std::string board(384, ' ');
  for (int i = 0; i < 384; ++i) board[(size_t)i] = codes[(i * 5 + i / 16) % 7];

  std::vector<uint8_t> expected = f.display;
  ReferenceFrame(f, &expected);
  for (int r = 0; r < 24; ++r) {
    for (int c = 0; c < 16; ++c) {
      const int32_t x0 = 1 + c * f.rs.cellWidth, y0 = 1 + r * f.rs.cellHeight;
      const char code = board[(size_t)(r * 16 + c)];
      if (code == 'O' || code == '#')
        ReferenceCell(f, &expected, x0, y0, false);
      else if (code == '.')
        ReferenceCell(f, &expected, x0, y0, true);
      else
        ReferenceRestore(f, &expected, x0, y0);
    }
  }
  DrawField(&f.rs, board.data());
  ASSERT_TRUE(SameSurface(f, expected));
  DrawField(&f.rs, board.data());
  EXPECT_TRUE(SameSurface(f, expected)) << "a second draw must not invert the frame back";
}

TEST(Preview, DrawsBlocksOnlyForOAndTheBackgroundInEveryOtherCell) {
  TestField f(2, 3);
  const char picture[] =
      "O#. "
      " OO "
      "x..O"
      "O  #";
  std::vector<uint8_t> expected = f.display;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      const int32_t x0 = (17 + j) * f.rs.cellWidth, y0 = (5 + i) * f.rs.cellHeight;
      if (picture[i * 4 + j] == 'O')
        ReferenceCell(f, &expected, x0, y0, false);
      else
        ReferenceRestore(f, &expected, x0, y0);
    }
  }
  DrawPreview(&f.rs, picture);
  EXPECT_TRUE(SameSurface(f, expected));
}

}  // namespace
