#include "picture.h"
#include "platform.h"

#include <gtest/gtest.h>

#include "picture_fixtures.h"

namespace {

// A smooth picture with some detail, so lossy coding keeps it recognisable.
std::vector<uint8_t> Gradient(int width, int height, int components) {
  std::vector<uint8_t> out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < components; ++c)
        out.push_back((uint8_t)((x * 255 / width + y * 97 / height + c * 60) & 0xFF));
  return out;
}

int ReadJpegBytes(const std::vector<uint8_t> &bytes, PictureBuffer *picture, const char *ext) {
  TempFile file(ext);
  file.Write(bytes);
  return ReadJpegPicture(file.path(), picture);
}

TEST(JpegReader, RgbFileGivesLibjpegsPixelsRedLow) {
  const int w = 37, h = 21;
  std::vector<uint8_t> file = MakeJpeg(w, h, 3, Gradient(w, h, 3), 90);
  DecodedJpeg direct;
  ASSERT_TRUE(DecodeJpegDirectly(file, &direct));
  ASSERT_EQ(direct.components, 3);
  PictureBuffer p = {};
  ASSERT_EQ(ReadJpegBytes(file, &p, ".jpg"), 1);
  ASSERT_EQ(p.width, w);
  ASSERT_EQ(p.height, h);
  EXPECT_EQ(p.byteSize, w * h * 4);
  int mismatches = 0;
  for (int i = 0; i < w * h; ++i) {
    const uint8_t *s = &direct.samples[3 * i];
    uint32_t expected = s[0] | (s[1] << 8) | (s[2] << 16);
    if (p.pixels[i] != expected && mismatches++ < 5) ADD_FAILURE() << "pixel " << i;
  }
  EXPECT_EQ(mismatches, 0);
  ReleasePicture(&p);
}

TEST(JpegReader, GreyscaleFileGivesGreyWords) {
  const int w = 16, h = 9;
  std::vector<uint8_t> file = MakeJpeg(w, h, 1, Gradient(w, h, 1), 95);
  DecodedJpeg direct;
  ASSERT_TRUE(DecodeJpegDirectly(file, &direct));
  PictureBuffer p = {};
  ASSERT_EQ(ReadJpegBytes(file, &p, ".jpg"), 1);
  ASSERT_EQ(p.width * p.height, w * h);
  for (int i = 0; i < w * h; ++i) {
    uint32_t g = direct.samples[i];
    ASSERT_EQ(p.pixels[i], g | (g << 8) | (g << 16)) << i;
  }
  ReleasePicture(&p);
}

TEST(JpegReader, CmykFileFailsAndLeavesNoPicture) {
  const int w = 8, h = 8;
  std::vector<uint8_t> file = MakeJpeg(w, h, 4, Gradient(w, h, 4), 90);
  PictureBuffer p = {};
  EXPECT_EQ(ReadJpegBytes(file, &p, ".jpg"), 0);
  EXPECT_EQ(p.pixels, nullptr);
  EXPECT_EQ(p.width, 0);
}

TEST(JpegReader, FileEndingEarlyStillReads) {
  const int w = 64, h = 64;
  std::vector<uint8_t> file = MakeJpeg(w, h, 3, Gradient(w, h, 3), 90);
  DecodedJpeg direct;
  ASSERT_TRUE(DecodeJpegDirectly(file, &direct));
  file.resize(file.size() / 2);
  PictureBuffer p = {};
  ASSERT_EQ(ReadJpegBytes(file, &p, ".jpg"), 1);
  EXPECT_EQ(p.width, w);
  EXPECT_EQ(p.height, h);
  // The top row was in the part that survived.
  for (int x = 0; x < w; ++x) {
    const uint8_t *s = &direct.samples[3 * x];
    ASSERT_EQ(p.pixels[x], (uint32_t)(s[0] | (s[1] << 8) | (s[2] << 16))) << x;
  }
  ReleasePicture(&p);
}

TEST(JpegReader, NonJpegFilesFail) {
  // A bitmap named .jpg, an empty file, a header cut inside its markers.
  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  std::vector<uint8_t> jpeg = MakeJpeg(8, 8, 3, Gradient(8, 8, 3), 90);
  const std::vector<uint8_t> cases[] = {
      bmp, {}, std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 30)};
  for (const auto &bytes : cases) {
    PictureBuffer p = {};
    EXPECT_EQ(ReadJpegBytes(bytes, &p, ".jpg"), 0);
    EXPECT_EQ(p.pixels, nullptr);
  }
  PictureBuffer none = {};
  EXPECT_EQ(ReadJpegPicture("qmtest_no_such_file.jpg", &none), 0);
}

TEST(JpegReader, PictureTooLargeForOneBlockIsRefused) {
  std::vector<uint8_t> file = MakeJpeg(8, 8, 1, Gradient(8, 8, 1), 90);
  bool found;
  file = WithJpegFrameSize(file, 65000, 65000, &found);  // 16.9 G bytes of pixel words
  ASSERT_TRUE(found) << "no frame header";
  PictureBuffer p = {};
  EXPECT_EQ(ReadJpegBytes(file, &p, ".jpg"), 0);
  EXPECT_EQ(p.pixels, nullptr);
}

#ifndef _WIN32
TEST(JpegReader, PixelBlockAllocationFailureFailsCleanly) {
  std::vector<uint8_t> file = MakeJpeg(8, 8, 3, Gradient(8, 8, 3), 90);
  PictureBuffer p = {};
  PlatformFailGlobalAllocAfter(0);
  EXPECT_EQ(ReadJpegBytes(file, &p, ".jpg"), 0);
  PlatformFailGlobalAllocAfter(-1);
  EXPECT_EQ(p.pixels, nullptr);
}
#endif

}  // namespace
