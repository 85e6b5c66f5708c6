#include "resample.h"

#include <gtest/gtest.h>

#include <math.h>

#include <vector>

#include "picture_fixtures.h"
#include "resample_steps.h"

namespace {

// ---- A plain reference of the filter and the sampler, written straight from their formulas.

int RefByte(double v, int *clamps) {
  int t = (int)v;
  if (t < 0 || t > 255) ++*clamps;
  return t < 0 ? 0 : t > 255 ? 255 : t;
}

int Channel(uint32_t word, int c) {
  return (word >> (8 * c)) & 0xFF;
}

std::vector<uint32_t> RefFilterPass(const std::vector<uint32_t> &in, int w, int h, double s,
                                    bool alongRows, int *clamps) {
  int n = (int)(4.0 / s);
  if (n > 63) n = 63;
  double weight[64];
  weight[0] = 1.0;
  double total = 0;
  for (int k = 1; k <= n; ++k) {
    double a = k * s * 3.141592653589793;
    weight[k] = 0.5 * (1 + cos(0.25 * a)) * sin(a) / a;
    total += weight[k];
  }
  double sum = 1 + 2 * total;
  auto at = [&](int x, int y) {
    x = x < 0 ? 0 : x > w - 1 ? w - 1 : x;
    y = y < 0 ? 0 : y > h - 1 ? h - 1 : y;
    return in[y * w + x];
  };
  std::vector<uint32_t> out(in.size());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t word = 0;
      for (int c = 0; c < 3; ++c) {
        double acc = Channel(at(x, y), c);
        for (int k = 1; k <= n; ++k) {
          uint32_t left = alongRows ? at(x - k, y) : at(x, y - k);
          uint32_t right = alongRows ? at(x + k, y) : at(x, y + k);
          acc += weight[k] * ((double)Channel(left, c) + (double)Channel(right, c));
        }
        word |= (uint32_t)RefByte(acc / sum, clamps) << (8 * c);
      }
      out[y * w + x] = word;
    }
  }
  return out;
}

double RefCubic(double t) {
  double u = fabs(t);
  if (u < 1) return (u - 1) * (u - 1.618033988749895) * (u + 0.6180339887498949);
  if (u < 2) return -((u - 2) * (u - 2)) * (u - 1);
  return 0;
}

uint32_t RefSample(const std::vector<uint32_t> &px, int w, int h, double x, double y, int *clamps) {
  int ix = (int)floor(x), iy = (int)floor(y);
  double fx = x - floor(x), fy = y - floor(y);
  auto at = [&](int col, int row) -> uint32_t {
    if (col < 0 || col >= w || row < 0 || row >= h) return 0;
    return px[row * w + col];
  };
  bool same = true;
  for (int r = -1; r <= 2; ++r)
    for (int c = -1; c <= 2; ++c) same = same && at(ix + c, iy + r) == at(ix - 1, iy - 1);
  if (same) return at(ix - 1, iy - 1);
  double wy[4] = {RefCubic(1 + fy), RefCubic(fy), RefCubic(1 - fy), RefCubic(2 - fy)};
  double wx[4] = {RefCubic(1 + fx), RefCubic(fx), RefCubic(1 - fx), RefCubic(2 - fx)};
  uint32_t word = 0;
  for (int ch = 0; ch < 3; ++ch) {
    double total = 0;
    for (int c = 0; c < 4; ++c) {
      double column = 0;
      for (int r = 0; r < 4; ++r) column += wy[r] * Channel(at(ix - 1 + c, iy - 1 + r), ch);
      total += wx[c] * column;
    }
    word |= (uint32_t)RefByte(total, clamps) << (8 * ch);
  }
  return word;
}

// Stretches into W x H, bytes blue, green, red, rows `stride` apart.
std::vector<uint8_t> RefResample(const std::vector<uint32_t> &px, int w, int h, int W, int H,
                                 int stride, int *clamps) {
  std::vector<uint8_t> out((size_t)stride * H, 0xCD);
  double rx = (double)W / w, ry = (double)H / h;
  for (int Y = 0; Y < H; ++Y) {
    for (int X = 0; X < W; ++X) {
      double u = (X - floor(W / 2.0)) / rx, v = (Y - floor(H / 2.0)) / ry;
      int bx = (int)(u <= 0 ? u - 1 : u), by = (int)(v <= 0 ? v - 1 : v);
      uint32_t word = 0;
      if (!(by < -floor(h / 2.0) - 1 || by >= ceil(h / 2.0) || bx < -floor(w / 2.0) - 1 ||
            bx >= ceil(w / 2.0)))
        word = RefSample(px, w, h, u + floor(w / 2.0), v + floor(h / 2.0), clamps);
      uint8_t *p = &out[(size_t)Y * stride + 3 * X];
      p[0] = Channel(word, 2);
      p[1] = Channel(word, 1);
      p[2] = Channel(word, 0);
    }
  }
  return out;
}

// ---- Pictures for the tests.

struct OwnedPicture {
  std::vector<uint32_t> words;
  PictureBuffer picture;
  OwnedPicture(int w, int h, const std::vector<uint32_t> &px) : words(px) {
    picture.pixels = words.data();
    picture.width = w;
    picture.height = h;
    picture.byteSize = w * h * 4;
  }
};

// Noise with runs of the extremes, so the negative lobes push channels past 0 and 255.
std::vector<uint32_t> HarshNoise(int w, int h, uint32_t seed) {
  std::vector<uint8_t> bytes = NoiseBytes((size_t)w * h * 4, seed);
  std::vector<uint32_t> out;
  for (int i = 0; i < w * h; ++i) {
    const uint8_t *b = &bytes[4 * i];
    uint32_t word = b[0] | (b[1] << 8) | (b[2] << 16);
    if (b[3] < 64) word = 0;
    if (b[3] > 192) word = 0xFFFFFF;
    out.push_back(word);
  }
  return out;
}

// Flat 5 x 5 tiles of noise colours: most samples fall on a flat area, the rest on a sharp edge.
std::vector<uint32_t> Tiles(int w, int h, uint32_t seed) {
  std::vector<uint32_t> noise = HarshNoise(w / 5 + 1, h / 5 + 1, seed);
  std::vector<uint32_t> out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.push_back(noise[(y / 5) * (w / 5 + 1) + x / 5]);
  return out;
}

std::vector<uint32_t> Uniform(int w, int h, uint32_t word) {
  return std::vector<uint32_t>((size_t)w * h, word);
}

int Stride(int W) {
  return (3 * W + 3) / 4 * 4;
}

std::vector<uint8_t> Resample(const PictureBuffer &p, int W, int H) {
  std::vector<uint8_t> out((size_t)Stride(W) * H, 0xCD);
  ResamplePicture(out.data(), &p, W, H, Stride(W));
  return out;
}

// ---- Tests.

TEST(CubicWeight, MatchesTheKernelPolynomialsAndVanishesFromTwo) {
  EXPECT_NEAR(CubicWeight(0), 1.0, 1e-15);
  EXPECT_DOUBLE_EQ(CubicWeight(0.5), 0.625);
  EXPECT_NEAR(CubicWeight(1), 0.0, 1e-15);
  EXPECT_DOUBLE_EQ(CubicWeight(1.5), -0.125);
  EXPECT_EQ(CubicWeight(2), 0.0);
  EXPECT_EQ(CubicWeight(7.25), 0.0);
  for (double t = -2.5; t <= 2.5; t += 0.0625) {
    double u = fabs(t);
    double expected = u < 1   ? u * u * u - 2 * u * u + 1
                      : u < 2 ? -u * u * u + 5 * u * u - 8 * u + 4
                              : 0;
    EXPECT_NEAR(CubicWeight(t), expected, 1e-12) << t;
  }
}

TEST(PrefilterWeights, TapCountFollowsTheRatioAndIsCapped) {
  double w[PREFILTER_MAX_TAPS + 1], sum;
  EXPECT_EQ(BuildPrefilterWeights(5.0, w, &sum), 0);
  EXPECT_EQ(sum, 1.0);
  EXPECT_EQ(BuildPrefilterWeights(4.0, w, &sum), 1);
  EXPECT_EQ(BuildPrefilterWeights(1.0, w, &sum), 4);
  EXPECT_EQ(BuildPrefilterWeights(0.3, w, &sum), 13);
  EXPECT_EQ(BuildPrefilterWeights(0.05, w, &sum), 63);
  EXPECT_EQ(BuildPrefilterWeights(0.0, w, &sum), 63);
}

TEST(PrefilterWeights, HalfRatioGivesTheWindowedSincTaps) {
  double w[PREFILTER_MAX_TAPS + 1], sum;
  ASSERT_EQ(BuildPrefilterWeights(0.5, w, &sum), 8);
  EXPECT_EQ(w[0], 1.0);
  EXPECT_NEAR(w[1], 0.6124, 1e-4);
  EXPECT_NEAR(w[2], 0.0, 1e-12);
  EXPECT_NEAR(w[3], -0.1467, 1e-4);
  EXPECT_NEAR(w[5], 0.0393, 1e-4);
  EXPECT_NEAR(w[7], -0.0035, 1e-4);
  double taps = 0;
  for (int k = 1; k <= 8; ++k) taps += w[k];
  EXPECT_NEAR(sum, 1 + 2 * taps, 1e-15);
}

TEST(PrefilterPicture, FiveTimesEnlargingLeavesThePictureUnchanged) {
  std::vector<uint32_t> px = HarshNoise(9, 7, 5);
  OwnedPicture p(9, 7, px);
  ASSERT_EQ(PrefilterPicture(&p.picture, 5.0, 6.0), 1);
  EXPECT_EQ(p.words, px);
}

TEST(Resample, PrefilterAndResampleMatchThePlainFormulasBitForBit) {
  struct Case {
    int w, h, W, H;
  } cases[] = {{37, 23, 11, 9}, {5, 4, 1, 1},   {7, 5, 30, 17}, {16, 16, 16, 16},
               {3, 40, 21, 6},  {60, 2, 7, 13}, {1, 1, 5, 4},   {64, 48, 442 / 10, 482 / 10}};
  int clamps = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " -> " << c.W << "x" << c.H);
    const uint32_t seed = (uint32_t)(c.w * 131 + c.h);
    for (int tiled = 0; tiled < 2; ++tiled) {
      std::vector<uint32_t> px = tiled ? Tiles(c.w, c.h, seed) : HarshNoise(c.w, c.h, seed);
      double sx = (double)c.W / c.w, sy = (double)c.H / c.h;
      std::vector<uint32_t> ref = RefFilterPass(px, c.w, c.h, sx, true, &clamps);
      ref = RefFilterPass(ref, c.w, c.h, sy, false, &clamps);
      OwnedPicture p(c.w, c.h, px);
      ASSERT_EQ(PrefilterPicture(&p.picture, sx, sy), 1);
      ASSERT_EQ(p.words, ref);
      std::vector<uint8_t> expected = RefResample(ref, c.w, c.h, c.W, c.H, Stride(c.W), &clamps);
      EXPECT_EQ(Resample(p.picture, c.W, c.H), expected);
    }
  }
  EXPECT_GT(clamps, 0) << "no case reached the clamping";
}

TEST(Resample, RatioOneCopiesEveryPixel) {
  std::vector<uint32_t> px = HarshNoise(13, 6, 9);
  OwnedPicture p(13, 6, px);
  std::vector<uint8_t> out = Resample(p.picture, 13, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 13; ++x) {
      const uint8_t *b = &out[(size_t)y * Stride(13) + 3 * x];
      uint32_t word = b[2] | (b[1] << 8) | (b[0] << 16);
      ASSERT_EQ(word, px[y * 13 + x]) << x << "," << y;
    }
  // Row padding is left alone.
  EXPECT_EQ(out[Stride(13) - 1], 0xCD);
}

TEST(Resample, UniformPictureIsExactWhereverAllNeighboursAreInside) {
  const int w = 12, h = 10, W = 31, H = 23;
  for (uint32_t colour : {0x506070u, 0xFFFFFFu, 0x8040C0u, 0xC8C8C8u, 0x030201u}) {
    SCOPED_TRACE(colour);
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = colour >> 16;
    OwnedPicture p(w, h, Uniform(w, h, colour));
    std::vector<uint8_t> out = Resample(p.picture, W, H);
    int inside = 0, darker = 0, brighter = 0;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        double x = (X - W / 2) / ((double)W / w) + w / 2;
        double y = (Y - H / 2) / ((double)H / h) + h / 2;
        const uint8_t *b = &out[(size_t)Y * Stride(W) + 3 * X];
        bool allInside =
            floor(x) >= 1 && floor(x) + 2 <= w - 1 && floor(y) >= 1 && floor(y) + 2 <= h - 1;
        if (allInside) {
          ++inside;
          ASSERT_EQ(b[0], blue) << X << "," << Y;
          ASSERT_EQ(b[1], green) << X << "," << Y;
          ASSERT_EQ(b[2], red) << X << "," << Y;
        } else {
          darker += b[1] < green;
          brighter += b[1] > green;
        }
      }
    EXPECT_GT(inside, 0);
    EXPECT_GT(darker, 0);  // beyond the outermost pixel centres, blending towards black
    // Just inside them a black neighbour weighs negative and brightens what is not yet white
    // (by a few percent: too little to show on a very dark colour).
    if (green >= 32 && green < 255) {
      EXPECT_GT(brighter, 0);
    }
  }
}

TEST(Resample, SinglePixelPictureFadesByTheKernelTowardsTheEdges) {
  OwnedPicture p(1, 1, {0x00C8C8C8u});  // 200 in every channel
  std::vector<uint8_t> out = Resample(p.picture, 4, 4);
  auto red = [&](int X, int Y) { return out[(size_t)Y * Stride(4) + 3 * X + 2]; };
  EXPECT_EQ(red(2, 2), 200);                         // the centre maps onto the pixel
  EXPECT_EQ(red(0, 2), (int)(200 * 0.625));          // half a pixel off in x
  EXPECT_EQ(red(0, 0), (int)(200 * 0.625 * 0.625));  // and in y
  EXPECT_EQ(red(1, 2), (int)(200 * (0.25 * 0.25 * 0.25 - 2 * 0.25 * 0.25 + 1)));
}

}  // namespace
