#include "picture_stream.h"

#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "filter_pass.h"
#include "picture.h"
#include "picture_fixtures.h"
#include "resample.h"

namespace {

// A surface of W x H pixels whose row padding and starting contents are visible to the tests.
struct Surface {
  int32_t width, height, rowLength;
  std::vector<uint8_t> bytes;
  Surface(int32_t w, int32_t h, uint8_t fill)
      : width(w),
        height(h),
        rowLength((w * 3 + 3) / 4 * 4 + 4),
        bytes((size_t)rowLength * h, fill) {}
  StreamTarget Target(int threads, int helpAfter = 0) {
    return StreamTarget{bytes.data(), width, height, rowLength, threads, helpAfter};
  }
};

// The plain way: the whole picture prefiltered, then stretched.
Surface Reference(std::vector<uint32_t> words, int32_t w, int32_t h, int32_t W, int32_t H) {
  Surface out(W, H, 0xA5);
  PictureBuffer picture = {words.data(), w * h * 4, w, h};
  EXPECT_EQ(PrefilterPicture(&picture, (double)W / w, (double)H / h), 1);
  ResamplePicture(out.bytes.data(), &picture, W, H, out.rowLength);
  return out;
}

void AddStats(StreamStats *total, const StreamStats &s) {
  total->alongExact += s.alongExact;
  total->alongFlat += s.alongFlat;
  total->alongRefined += s.alongRefined;
  total->downExact += s.downExact;
  total->downFlat += s.downFlat;
  total->downRefined += s.downRefined;
  total->rowsHelped += s.rowsHelped;
}

enum Content { kNoise, kFlat, kRamps, kHalfFlat };

std::vector<uint32_t> Make(Content content, int32_t w, int32_t h, uint32_t seed) {
  std::vector<uint8_t> noise = NoiseBytes((size_t)w * h * 4, seed);
  std::vector<uint32_t> words((size_t)w * h);
  // Flat colours are whole numbers that the double sum lands on, or just below.
  const uint32_t flat = seed % 2 ? 0xFFFFFFu : 0x01807Fu;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      size_t i = (size_t)y * w + x;
      uint32_t random = (noise[4 * i] | noise[4 * i + 1] << 8 | noise[4 * i + 2] << 16);
      switch (content) {
        case kNoise:
          words[i] = random;
          break;
        case kFlat:
          words[i] = flat;
          break;
        case kRamps:
          words[i] = (uint32_t)(x * 255 / w) | (uint32_t)(y * 255 / h) << 8 |
                     (uint32_t)((x + y) % 256) << 16;
          break;
        case kHalfFlat:
          words[i] = x < w / 2 ? flat : random;
          break;
      }
    }
  return words;
}

TEST(PictureStream, FitsEveryPictureExactlyAsTheWholePictureFit) {
  struct Case {
    int32_t w, h, W, H;
  } cases[] = {{173, 91, 40, 30}, {9, 7, 61, 45},   {1, 1, 5, 3},     {64, 48, 1, 1},
               {250, 17, 13, 60}, {37, 30, 37, 30}, {330, 290, 5, 4}, {3, 100, 61, 241}};
  StreamStats total = {};
  // With AVX2 sums where the processor has them, and with SSE2 ones.
  for (int wide = 1; wide >= 0; --wide)
    for (const Case &c : cases)
      for (Content content : {kNoise, kFlat, kRamps, kHalfFlat})
        for (int threads = 1; threads <= 2; ++threads) {
          AllowWideSums(wide);
          SCOPED_TRACE(::testing::Message()
                       << c.w << "x" << c.h << " -> " << c.W << "x" << c.H << " content " << content
                       << " threads " << threads << " wide " << wide);
          std::vector<uint32_t> words = Make(content, c.w, c.h, (uint32_t)(c.w + threads));
          Surface expected = Reference(words, c.w, c.h, c.W, c.H);
          Surface actual(c.W, c.H, 0xA5);
          // Half the two-thread runs with a reader that helps as soon as it can.
          StreamTarget target = actual.Target(threads, content % 2);
          PictureStream *stream = OpenPictureStream(c.w, c.h, ROW_WORDS, &target);
          ASSERT_NE(stream, nullptr);
          for (int32_t y = 0; y < c.h; ++y) {
            memcpy(NextStreamRow(stream), &words[(size_t)y * c.w], (size_t)c.w * 4);
            CommitStreamRow(stream);
          }
          StreamStats stats;
          ASSERT_EQ(ClosePictureStream(stream, 1, &stats), 1);
          AddStats(&total, stats);
          ASSERT_EQ(actual.bytes, expected.bytes);
        }
  AllowWideSums(1);
  // Each way of settling a value the fast sum could not decide was taken.
  EXPECT_GT(total.alongExact, 0u);
  EXPECT_GT(total.alongFlat, 0u);
  EXPECT_GT(total.alongRefined, 0u);
  EXPECT_GT(total.downExact, 0u);
  EXPECT_GT(total.downFlat, 0u);
  EXPECT_GT(total.downRefined, 0u);
  // And the reader took its share of filtering along.
  EXPECT_GT(total.rowsHelped, 0u);
}

}  // namespace

namespace {

// Reads a file the plain way: whole picture, prefilter, stretch.  Returns 0 when it cannot be
// read, leaving `out` black as the background is then.
int ReferenceFile(const char *path, bool jpeg, Surface *out) {
  PictureBuffer p = {};
  if (!(jpeg ? ReadJpegPicture(path, &p) : ReadBmpPicture(path, &p))) {
    for (int32_t y = 0; y < out->height; ++y)
      memset(&out->bytes[(size_t)y * out->rowLength], 0, (size_t)out->width * 3);
    return 0;
  }
  EXPECT_EQ(PrefilterPicture(&p, (double)out->width / p.width, (double)out->height / p.height), 1);
  ResamplePicture(out->bytes.data(), &p, out->width, out->height, out->rowLength);
  ReleasePicture(&p);
  return 1;
}

// Streams the file with one and with two threads and compares with the plain way, result and
// every surface byte (padding included).  Returns the plain way's result.
int ExpectSameAsReference(const std::vector<uint8_t> &file, bool jpeg, int32_t W, int32_t H) {
  TempFile temp(jpeg ? ".jpg" : ".bmp");
  temp.Write(file);
  Surface expected(W, H, 0xA5);
  int expectedResult = ReferenceFile(temp.path(), jpeg, &expected);
  for (int threads = 1; threads <= 2; ++threads) {
    Surface actual(W, H, 0xA5);
    StreamTarget target = actual.Target(threads);
    EXPECT_EQ(jpeg ? StreamJpegPicture(temp.path(), &target, NULL)
                   : StreamBmpPicture(temp.path(), &target, NULL),
              expectedResult)
        << "threads " << threads;
    EXPECT_EQ(actual.bytes, expected.bytes) << "threads " << threads;
  }
  return expectedResult;
}

std::vector<uint8_t> Samples(int w, int h, int components, uint32_t seed) {
  std::vector<uint8_t> noise = NoiseBytes((size_t)w * h * components, seed), out(noise.size());
  // Smooth enough to survive the coder, noisy enough to keep the filter honest.
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = (uint8_t)((i * 7 / components) % 200 + noise[i] % 50);
  return out;
}

// A baseline JPEG with a second start-of-scan marker inside its coded data: libjpeg decodes
// every row (the rest of the scan as grey) and only then stops with a fatal error.
std::vector<uint8_t> JpegFailingInItsMiddle() {
  std::vector<uint8_t> file = MakeJpeg(96, 80, 3, Samples(96, 80, 3, 7), 90);
  size_t sos = 2;
  while (sos + 3 < file.size() && !(file[sos] == 0xFF && file[sos + 1] == 0xDA)) ++sos;
  const size_t length = (size_t)file[sos + 2] << 8 | file[sos + 3];
  std::vector<uint8_t> marker(file.begin() + sos, file.begin() + sos + 2 + length);
  size_t middle = sos + 2 + length + (file.size() - sos - length) / 2;
  while (file[middle - 1] == 0xFF) ++middle;
  file.insert(file.begin() + middle, marker.begin(), marker.end());
  return file;
}

TEST(PictureStream, FilesComposeAsTheirWholePictureReadsDo) {
  EXPECT_EQ(ExpectSameAsReference(MakeJpeg(301, 203, 3, Samples(301, 203, 3, 1), 85), true, 44, 48),
            1);
  EXPECT_EQ(ExpectSameAsReference(MakeJpeg(57, 41, 1, Samples(57, 41, 1, 2), 85), true, 130, 70),
            1);
  std::vector<uint8_t> cut = MakeJpeg(200, 160, 3, Samples(200, 160, 3, 3), 90);
  cut.resize(cut.size() / 2);  // ends early: libjpeg completes it with grey, the read succeeds
  EXPECT_EQ(ExpectSameAsReference(cut, true, 31, 29), 1);

  BmpLayout bmp;
  bmp.width = 83;
  bmp.height = 61;
  std::vector<uint8_t> noise = NoiseBytes((size_t)bmp.width * bmp.height * 3, 4);
  for (int i = 0; i < bmp.width * bmp.height; ++i)
    bmp.pixels.push_back(noise[3 * i] | noise[3 * i + 1] << 8 | noise[3 * i + 2] << 16);
  EXPECT_EQ(ExpectSameAsReference(MakeBmp(bmp), false, 20, 90), 1);
  std::vector<uint8_t> shortBmp = MakeBmp(bmp);
  shortBmp.resize(shortBmp.size() - 1000);  // the top rows are missing, one row in part
  EXPECT_EQ(ExpectSameAsReference(shortBmp, false, 20, 90), 1);
  bmp.bitCount = 8;
  for (int i = 0; i < 256; ++i) bmp.palette.push_back((uint32_t)i * 0x010203u);
  for (uint32_t &p : bmp.pixels) p &= 0xFF;
  EXPECT_EQ(ExpectSameAsReference(MakeBmp(bmp), false, 120, 7), 1);
}

TEST(PictureStream, FailedReadsLeaveTheSurfaceBlack) {
  // Fails only after every row was filtered and drawn; the plain reader fails on it too.
  EXPECT_EQ(ExpectSameAsReference(JpegFailingInItsMiddle(), true, 40, 30), 0);
  EXPECT_EQ(ExpectSameAsReference(MakeJpeg(16, 16, 4, Samples(16, 16, 4, 5), 90), true, 10, 10),
            0);  // CMYK
  EXPECT_EQ(ExpectSameAsReference({'B', 'M', 1, 2, 3}, false, 10, 10), 0);
  BmpLayout wide;  // a one-row, 1-bit picture a thousand million pixels wide
  wide.width = 1 << 30;
  wide.bitCount = 1;
  wide.palette = {0, 0xFFFFFF};
  EXPECT_EQ(ExpectSameAsReference(MakeBmp(wide), false, 10, 10), 0);

  // A stream closed before its last row: the filter stops, the surface turns black.
  std::vector<uint32_t> words = Make(kNoise, 50, 300, 9);
  for (int threads = 1; threads <= 2; ++threads) {
    Surface surface(17, 13, 0xA5);
    StreamTarget target = surface.Target(threads);
    PictureStream *stream = OpenPictureStream(50, 300, ROW_WORDS, &target);
    ASSERT_NE(stream, nullptr);
    for (int32_t y = 0; y < 250; ++y) {
      memcpy(NextStreamRow(stream), &words[(size_t)y * 50], 50 * 4);
      CommitStreamRow(stream);
    }
    EXPECT_EQ(ClosePictureStream(stream, 1, NULL), 0);
    Surface black(17, 13, 0xA5);
    for (int32_t y = 0; y < 13; ++y) memset(&black.bytes[(size_t)y * black.rowLength], 0, 17 * 3);
    EXPECT_EQ(surface.bytes, black.bytes);
  }
}

}  // namespace
