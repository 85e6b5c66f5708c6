// The spin transforms against a plain double-precision reference, and frame 0 of each spin
// laid out as the panel shows it.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>

#include <algorithm>
#include <vector>

#include "spin_tiles.h"
#include "spin_transform.h"
#include "tile_colours.h"
#include "tile_drawing.h"

namespace {

// The reference: the tile's corner vectors rotated and projected in double precision, the
// homogeneous matrix written out and its adjugate taken entry by entry.  Each entry also
// carries the size of the two products it is the difference of, which bounds the rounding of
// the single-precision computation.
struct Reference {
  double entry[9];  // den row, u row, v row; already times 32768
  double size[9];
};

void RotateReference(double ax, double ay, double az, double p[3]) {
  double x = p[0] * cos(az) - p[1] * sin(az), y = p[0] * sin(az) + p[1] * cos(az), z = p[2];
  double y2 = y * cos(ax) - z * sin(ax), z2 = y * sin(ax) + z * cos(ax);
  p[0] = x * cos(ay) - z2 * sin(ay);
  p[1] = y2;
  p[2] = x * sin(ay) + z2 * cos(ay);
}

Reference ComputeReference(const SurfacePose &pose) {
  double hw = pose.width >> 1;
  double a[3] = {pose.scaleX / hw, 0, 0}, b[3] = {0, -pose.scaleY / hw, 0};
  double c[3] = {pose.offsetX, pose.offsetY, pose.offsetZ};
  for (double *p : {a, b, c}) RotateReference(pose.angleX, pose.angleY, pose.angleZ, p);
  double m[3][3] = {
      {hw * a[0], hw * b[0], hw * c[0]},
      {-hw * a[1], -hw * b[1], -hw * c[1]},
      {-a[2] / pose.divisor, -b[2] / pose.divisor, (pose.distance - c[2]) / pose.divisor}};
  // Row r of the adjugate is the cross product of columns... written as cofactors: entry
  // (r, k) = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1] with the rows and columns that
  // remain when row k and column r are struck out, in cyclic order.
  Reference ref;
  const int order[3] = {2, 0, 1};  // den, u, v rows of the adjugate
  for (int row = 0; row < 3; ++row) {
    int r = order[row];
    for (int k = 0; k < 3; ++k) {
      int i1 = (k + 1) % 3, i2 = (k + 2) % 3, j1 = (r + 1) % 3, j2 = (r + 2) % 3;
      double p1 = m[i1][j1] * m[i2][j2], p2 = m[i1][j2] * m[i2][j1];
      ref.entry[row * 3 + k] = (p1 - p2) * 32768.0;
      ref.size[row * 3 + k] = (fabs(p1) + fabs(p2)) * 32768.0;
    }
  }
  return ref;
}

void ExpectNearReference(const SurfacePose &pose, const FrameTransform &t) {
  Reference ref = ComputeReference(pose);
  const int32_t got[9] = {t.denX, t.denY, t.denC, t.uX, t.uY, t.uC, t.vX, t.vY, t.vC};
  for (int i = 0; i < 9; ++i) {
    // Truncation costs up to one unit; single precision a few parts in ten million of the
    // products.
    double tolerance = 1.0 + 4e-6 * ref.size[i];
    EXPECT_NEAR(got[i], ref.entry[i], tolerance) << "entry " << i;
  }
  int32_t hw = pose.width >> 1, hh = pose.height >> 1;
  EXPECT_EQ(t.denTop, -hh * t.denY);
  EXPECT_EQ(t.uTop, -hh * t.uY);
  EXPECT_EQ(t.vTop, -hh * t.vY);
  EXPECT_EQ(t.denLeft, -hw * t.denX);
  EXPECT_EQ(t.uLeft, -hw * t.uX);
  EXPECT_EQ(t.vLeft, -hw * t.vX);
}

TEST(FrameTransform, EveryTileOfEverySpinMatchesTheDoublePrecisionReference) {
  const int sizes[][2] = {{126, 126}, {125, 119}, {84, 90}};
  for (int mode = 1; mode <= 3; ++mode) {
    const SpinTile *tiles;
    int count = SpinTiles(mode, &tiles);
    ASSERT_EQ(count, mode == 1 ? 2 : mode == 2 ? 1 : 4);
    for (auto &size : sizes) {
      for (int i = 0; i < count; ++i) {
        std::vector<FrameTransform> table(kTurnFrames);
        BuildPoseTable(&tiles[i], size[0], size[1], table.data());
        volatile float angle = 0.0f;  // the running single-precision sum, as the panel turns
        for (int k = 0; k < kTurnFrames; ++k) {
          if (k % 15 == 0 || k == 360) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " tile " << i << " frame " << k
                                            << " size " << size[0] << "x" << size[1]);
            SurfacePose pose = {size[0],
                                size[1],
                                1.0f,
                                1.0f,
                                tiles[i].offsetX,
                                tiles[i].offsetY,
                                tiles[i].offsetZ,
                                tiles[i].turnX * angle,
                                tiles[i].turnY * angle,
                                tiles[i].turnZ * angle,
                                tiles[i].distance,
                                1.0f,
                                nullptr};
            ExpectNearReference(pose, table[k]);
          }
          angle = angle + 0.017453292f;
        }
      }
    }
  }
}

// --- frame 0 as the panel draws it -------------------------------------------------------

const int kSide = 126, kHalf = kSide / 2;
const int32_t kFace = 0xC0C0C0;
const uint32_t kPictureColour[4] = {0x000080, 0x008000, 0x800000, 0x808000};

struct Frame0 {
  std::vector<uint8_t> frame = std::vector<uint8_t>(kSide * kSide * 3);
  uint32_t At(int x, int y) const {
    const uint8_t *p = &frame[(y * kSide + x) * 3];
    return p[0] | p[1] << 8 | p[2] << 16;
  }
};

// Draws frame 0 of `mode` with solid pictures, tiles in the loops' order for frames 0 to 180.
Frame0 DrawFrame0(int mode) {
  static std::vector<uint32_t> pictures[4];
  for (int i = 0; i < 4; ++i) pictures[i].assign(kSide * kSide, kPictureColour[i]);
  const SpinTile *tiles;
  int count = SpinTiles(mode, &tiles);
  std::vector<FrameTransform> tables[4];
  for (int i = 0; i < count; ++i) {
    tables[tiles[i].table].resize(kTurnFrames);
    BuildPoseTable(&tiles[i], kSide, kSide, tables[tiles[i].table].data());
  }
  // Picture and table of each tile in drawing order; the first gets the face colour.
  std::vector<int> order = mode == kTwoFaceSpin   ? std::vector<int>{1, 0}
                           : mode == kOneFaceSpin ? std::vector<int>{0}
                                                  : std::vector<int>{0, 1, 2, 3};
  Frame0 result;
  for (size_t n = 0; n < order.size(); ++n) {
    const SpinTile &tile = tiles[order[n]];
    SurfaceJob job;
    InitSurfaceJob(&job, result.frame.data(), 0, pictures[tile.picture].data(), kSide, kSide,
                   n == 0 ? kFace : -1);
    job.transform = &tables[tile.table][0];
    DrawTile(&job);
  }
  return result;
}

TEST(SpinLayout, FourFacesStartSideBySideInTwoRows) {
  Frame0 f = DrawFrame0(kFourFaceSpin);
  int quarter = kHalf / 4;  // each tile is hw / 2 wide, centred a quarter of hw from the middle
  EXPECT_EQ(f.At(kHalf + quarter, kHalf - quarter), kPictureColour[0]) << "S0 top right";
  EXPECT_EQ(f.At(kHalf - quarter, kHalf - quarter), kPictureColour[1]) << "S1 top left";
  EXPECT_EQ(f.At(kHalf + quarter, kHalf + quarter), kPictureColour[2]) << "S2 bottom right";
  EXPECT_EQ(f.At(kHalf - quarter, kHalf + quarter), kPictureColour[3]) << "S3 bottom left";
  // The four tiles meet at the centre and leave the outer band in the face colour.
  for (int p : {3, kSide - 4}) {
    EXPECT_EQ(f.At(p, kHalf), (uint32_t)kFace);
    EXPECT_EQ(f.At(kHalf, p), (uint32_t)kFace);
  }
  EXPECT_EQ(f.At(kHalf + 2 * quarter - 3, kHalf - 2 * quarter + 3), kPictureColour[0]);
  EXPECT_EQ(f.At(kHalf + 2 * quarter + 3, kHalf - 2 * quarter - 3), (uint32_t)kFace);
}

TEST(SpinLayout, TwoFacesStartWithBFillingTheTopLeftQuarterAndASmallerInTheBottomRight) {
  Frame0 f = DrawFrame0(kTwoFaceSpin);
  for (int x : {0, kHalf / 2, kHalf - 2})
    for (int y : {0, kHalf / 2, kHalf - 2})
      EXPECT_EQ(f.At(x, y), kPictureColour[1]) << x << "," << y;
  EXPECT_EQ(f.At(kHalf + 3, kHalf - 3), (uint32_t)kFace) << "B stops at the vertical middle";
  int aCentre = kHalf + (int)(kHalf / 3.7);
  EXPECT_EQ(f.At(aCentre, aCentre), kPictureColour[0]) << "A in the bottom-right quarter";
  EXPECT_EQ(f.At(kSide - 3, kSide - 3), (uint32_t)kFace) << "A is smaller than the quarter";
  EXPECT_EQ(f.At(kSide - 3, 3), (uint32_t)kFace);
}

TEST(SpinLayout, OneFaceStartsAboutFourFifthsOfHwWideRightOfAndBelowTheCentre) {
  Frame0 f = DrawFrame0(kOneFaceSpin);
  int left = kSide, right = -1, top = kSide, bottom = -1;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      if (f.At(x, y) != kPictureColour[1]) {
        EXPECT_EQ(f.At(x, y), (uint32_t)kFace);
        continue;
      }
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  EXPECT_NEAR(right - left + 1, 0.8 * kHalf, 2.0);
  EXPECT_NEAR(bottom - top + 1, 0.8 * kHalf, 2.0);
  EXPECT_NEAR((left + right + 1) / 2.0, kHalf + 0.2 * kHalf, 1.5);
  EXPECT_NEAR((top + bottom + 1) / 2.0, kHalf + 0.2 * kHalf, 1.5);
}

TEST(TileColours, PlacementFollowsTheDrawnNumberModFiveAndTheGeneratorIsTheLibrarysOwn) {
  const uint32_t B = kDarkBlue, G = kDarkGreen, R = kDarkRed, O = kOlive;
  const uint32_t expected[5][4] = {
      {B, G, R, O}, {O, B, G, R}, {R, O, B, G}, {G, R, O, B}, {O, R, G, B}};
  for (int32_t r : {0, 1, 2, 3, 4, 5, 9, 32767}) {
    const uint32_t *got = TileColours(r);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], expected[r % 5][i]) << r << " picture " << i;
  }
  // The generator of the C library of the platform, state * 214013 + 2531011: seeded with 1
  // it gives the well-known 41, 18467, 6334.
  SeedPanelRandom(1);
  EXPECT_EQ(NextPanelRandom(), 41);
  EXPECT_EQ(NextPanelRandom(), 18467);
  EXPECT_EQ(NextPanelRandom(), 6334);
  SeedPanelRandom(0xFFFFFFFFu);  // the state wraps in 32 bits
  uint64_t state = (0xFFFFFFFFull * 214013u + 2531011u) & 0xFFFFFFFFu;
  EXPECT_EQ(NextPanelRandom(), (int32_t)((state >> 16) & 0x7FFF));
}

}  // namespace
