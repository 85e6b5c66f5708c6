#include "stripes.h"

#include <gtest/gtest.h>

#include <vector>

#include "field_fixture.h"

namespace {

// The background as it must be after striping `before` with `intensity`.
std::vector<uint8_t> ReferenceStripes(const TestField &f, const std::vector<uint8_t> &before,
                                      int intensity) {
  std::vector<uint8_t> out = before;
  for (int32_t y = 1; y <= f.rs.wellHeight; ++y) {
    for (int32_t x = 1; x <= f.rs.wellWidth; ++x) {
      const int32_t column = (x - 1) / f.rs.cellWidth;
      if (column % 2 != 0) continue;
      for (int k = 0; k < 3; ++k) {
        const int sum = before[f.At(x, y) + k] + intensity;
        out[f.At(x, y) + k] = (uint8_t)(sum < 255 ? sum : 255);
      }
    }
  }
  return out;
}

TEST(Stripes, LightenOnlyTheEvenWellColumnsAndSaturate) {
  for (int32_t cw : {1, 2, 3}) {
    for (int intensity : {0, 1, 127, 255}) {
      TestField f(cw, 2);
      const std::vector<uint8_t> before = f.background;
      f.rs.stripeIntensity = intensity;
      DrawStripes(&f.rs);
      EXPECT_EQ(f.background, ReferenceStripes(f, before, intensity))
          << "cell width " << cw << ", intensity " << intensity;
    }
  }
}

TEST(Stripes, OnBlackAByteOf200SaturatesAndFullIntensityTurnsColumnsWhite) {
  TestField f(2, 2);
  std::fill(f.background.begin(), f.background.end(), 0);
  f.background[f.At(1, 1)] = 200;
  f.rs.stripeIntensity = 127;
  DrawStripes(&f.rs);
  EXPECT_EQ(f.background[f.At(1, 1)], 255) << "saturated, not wrapped to 71";
  EXPECT_EQ(f.background[f.At(1, 1) + 1], 127);
  EXPECT_EQ(f.background[f.At(3, 1)], 0) << "column 1 is not striped";
  EXPECT_EQ(f.background[f.At(0, 1)], 0) << "frame";
  EXPECT_EQ(f.background[f.At(40, 1)], 0) << "side area";

  f.rs.stripeIntensity = 255;
  DrawStripes(&f.rs);
  for (int32_t y = 1; y <= f.rs.wellHeight; ++y)
    for (int k = 0; k < 3; ++k) ASSERT_EQ(f.background[f.At(29, y) + k], 255) << y;
}

TEST(Stripes, IntensityOutsideTheSliderRangeIsClampedNotWrapped) {
  TestField f(2, 1);
  const std::vector<uint8_t> before = f.background;
  f.rs.stripeIntensity = -40;
  DrawStripes(&f.rs);
  EXPECT_EQ(f.background, before);
  f.rs.stripeIntensity = 1000;
  DrawStripes(&f.rs);
  EXPECT_EQ(f.background, ReferenceStripes(f, before, 255));
}

}  // namespace
