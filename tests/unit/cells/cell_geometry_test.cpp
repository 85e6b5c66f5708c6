#include "cells.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

int32_t PixelOffset(const RenderState &rs, int32_t x, int32_t y) {
  return y * rs.rowStride + 3 * x;
}

TEST(CellGeometry, ClientAreaAndRowPaddingFollowTheCellSize) {
  RenderState rs = {};
  ASSERT_EQ(SetUpRenderGeometry(&rs, 1, 1), 1);
  EXPECT_EQ(rs.clientWidth, 24);
  EXPECT_EQ(rs.clientHeight, 26);
  EXPECT_EQ(rs.wellWidth, 16);
  EXPECT_EQ(rs.wellHeight, 24);
  EXPECT_EQ(rs.rowStride, 72);
  EXPECT_EQ(rs.padding, 0);

  ASSERT_EQ(SetUpRenderGeometry(&rs, 2, 1), 1);
  EXPECT_EQ(rs.rowStride, 140);
  EXPECT_EQ(rs.padding, 2);

  ASSERT_EQ(SetUpRenderGeometry(&rs, 20, 20), 1);
  EXPECT_EQ(rs.clientWidth, 442);
  EXPECT_EQ(rs.clientHeight, 482);

  for (int32_t width = 1; width <= 9; ++width) {
    ASSERT_EQ(SetUpRenderGeometry(&rs, width, 3), 1);
    EXPECT_EQ(rs.rowStride % 4, 0) << width;
    EXPECT_EQ(rs.rowStride, 3 * rs.clientWidth + rs.padding) << width;
    EXPECT_LT(rs.padding, 4) << width;
    EXPECT_GE(rs.padding, 0) << width;
  }
}

TEST(CellGeometry, OffsetsNameThePixelsTheyStandFor) {
  const int32_t sizes[][2] = {{1, 1}, {2, 3}, {7, 5}, {20, 20}};
  for (const auto &size : sizes) {
    RenderState rs = {};
    ASSERT_EQ(SetUpRenderGeometry(&rs, size[0], size[1]), 1);
    SetGameDrawingOrigins(&rs);
    const int32_t cw = size[0], ch = size[1];
    SCOPED_TRACE(testing::Message() << cw << "x" << ch);
    EXPECT_EQ(rs.cellStep, PixelOffset(rs, cw, 0));
    EXPECT_EQ(rs.cellRowStep, PixelOffset(rs, 0, ch));
    EXPECT_EQ(rs.fieldOrigin, PixelOffset(rs, 1, 1));
    EXPECT_EQ(rs.previewOrigin, PixelOffset(rs, 17 * cw, 5 * ch));
    EXPECT_EQ(rs.bottomLineOffset, PixelOffset(rs, 0, 24 * ch + 1));
    EXPECT_EQ(rs.rightLineOffset, PixelOffset(rs, 16 * cw + 1, 0));
  }
}

TEST(CellGeometry, SizesThatCannotMakeASurfaceAreRefusedWithTheStateUnchanged) {
  RenderState rs = {};
  ASSERT_EQ(SetUpRenderGeometry(&rs, 4, 4), 1);
  RenderState before = rs;
  const int32_t bad[][2] = {{0, 4}, {4, 0}, {-3, 4}, {10000, 10000}, {2000000000, 1}};
  for (const auto &size : bad) {
    EXPECT_EQ(SetUpRenderGeometry(&rs, size[0], size[1]), 0) << size[0] << "x" << size[1];
    EXPECT_EQ(memcmp(&rs, &before, sizeof rs), 0);
  }
}

}  // namespace
