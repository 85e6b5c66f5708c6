#include "picture.h"
#include "picture_stream.h"

#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "picture_fixtures.h"

namespace {

PictureFacts Bmp(int64_t width, int64_t height, uint64_t dataOffset, uint64_t fileBytes) {
  PictureFacts f = {};
  f.format = PICTURE_BMP;
  f.kind = 1;
  f.width = width;
  f.height = height;
  f.headerBytes = 54;
  f.dataOffset = dataOffset;
  f.fileBytes = fileBytes;
  return f;
}

PictureFacts Jpeg(int64_t width, int64_t height, uint32_t space) {
  PictureFacts f = {};
  f.format = PICTURE_JPEG;
  f.kind = space;
  f.width = width;
  f.height = height;
  return f;
}

TEST(PictureAcceptance, SizeLimitsAreTheSameForBothFormats) {
  const int64_t sizes[][3] = {// width, height, accepted
                              {1, 1, 1},
                              {PICTURE_MAX_SIDE, 1, 1},
                              {1, PICTURE_MAX_SIDE, 1},
                              {PICTURE_MAX_SIDE + 1, 1, 0},
                              {1, PICTURE_MAX_SIDE + 1, 0},
                              {16384, 16384, 1},  // PICTURE_MAX_PIXELS exactly
                              {16385, 16384, 0},
                              {PICTURE_MAX_SIDE, 16, 1},
                              {PICTURE_MAX_SIDE, 17, 0},
                              {0, 5, 0},
                              {5, -1, 0}};
  for (const auto &s : sizes) {
    SCOPED_TRACE(::testing::Message() << s[0] << " x " << s[1]);
    PictureFacts bmp = Bmp(s[0], s[1], 62, 63);
    EXPECT_EQ(AcceptPicture(&bmp), s[2]);
    PictureFacts jpeg = Jpeg(s[0], s[1], PICTURE_JPEG_RGB);
    EXPECT_EQ(AcceptPicture(&jpeg), s[2]);
  }
  PictureFacts cmyk = Jpeg(8, 8, 4), grey = Jpeg(8, 8, PICTURE_JPEG_GREY);
  EXPECT_EQ(AcceptPicture(&cmyk), 0);
  EXPECT_EQ(AcceptPicture(&grey), 1);
}

TEST(PictureAcceptance, BitmapPixelDataMustStartInTheFileAndEndWithinASignedOffset) {
  const struct {
    uint64_t headerBytes, dataOffset, fileBytes;
    int64_t width, height;
    int accepted;
  } cases[] = {
      {54, 62, 63, 8, 1, 1},   // one byte of pixel data is enough: the rest is black
      {54, 62, 62, 8, 1, 0},   // the data would start at the end
      {54, 53, 100, 8, 1, 0},  // inside the headers
      {50, 54, 100, 8, 1, 0},  // an information header shorter than 40 bytes
      {54, 0x7FFFFFFF - 4, 0x80000000u, 32, 1, 1},  // one 4-byte row ends at the limit
      {54, 0x7FFFFFFF - 3, 0x80000000u, 32, 1, 0},
      {54, 0x7FFFFFFF - 4, 0x80000000u, 32, 2, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dataOffset << " in " << c.fileBytes);
    PictureFacts f = Bmp(c.width, c.height, c.dataOffset, c.fileBytes);
    f.headerBytes = c.headerBytes;
    EXPECT_EQ(AcceptPicture(&f), c.accepted);
  }
}

// Reads one file every way, whole or streamed, from the file and (unless `fileOnly`, for the
// pictures too large to read four times in a test) from memory, and expects `result` of each.
void ExpectEveryWay(const char *what, const std::vector<uint8_t> &bytes, bool jpeg, int result,
                    bool fileOnly = false) {
  SCOPED_TRACE(what);
  TempFile file(jpeg ? ".jpg" : ".bmp");
  file.Write(bytes);
  PictureBuffer p = {};
  EXPECT_EQ(jpeg ? ReadJpegPicture(file.path(), &p) : ReadBmpPicture(file.path(), &p), result);
  ReleasePicture(&p);
  std::vector<uint8_t> surface(12 * 4, 0xA5);
  const StreamTarget target = {surface.data(), 4, 4, 12, 2, 0};
  EXPECT_EQ(jpeg ? StreamJpegPicture(file.path(), &target, NULL)
                 : StreamBmpPicture(file.path(), &target, NULL),
            result);
  if (fileOnly) return;
  p = PictureBuffer();
  EXPECT_EQ(jpeg ? ReadJpegMemory(bytes.data(), bytes.size(), &p)
                 : ReadBmpMemory(bytes.data(), bytes.size(), &p),
            result);
  ReleasePicture(&p);
  EXPECT_EQ(jpeg ? StreamJpegMemory(bytes.data(), bytes.size(), &target, NULL)
                 : StreamBmpMemory(bytes.data(), bytes.size(), &target, NULL),
            result);
}

TEST(PictureAcceptance, WholeAndStreamedReadsRefuseTheSameFiles) {
  // Once the plain reader refused this size (the stream took it); the limit is now the same.
  const std::vector<uint8_t> grey = MakeJpeg(8, 8, 1, std::vector<uint8_t>(64, 99), 90);
  ExpectEveryWay("8193 x 8193 JPEG", WithJpegFrameSize(grey, 8193, 8193), true, 1, true);
  ExpectEveryWay("16385 x 16384 JPEG", WithJpegFrameSize(grey, 16385, 16384), true, 0);

  // Once the stream refused a side this long (the plain reader took it).
  BmpLayout wide;
  wide.width = PICTURE_MAX_SIDE + 8;
  wide.bitCount = 1;
  wide.palette = {0, 0xFFFFFF};
  std::vector<uint8_t> bytes = MakeBmp(wide);
  bytes.resize(bytes.size() + 64, 0x5A);  // some pixel data, so that only the width is wrong
  ExpectEveryWay("16,777,224 x 1 BMP", bytes, false, 0);

  // Pixel data beyond the end of the file: once read as a black picture, or refused, depending
  // on how far beyond.
  BmpLayout small;
  small.width = small.height = 10;
  small.pixels.assign(100, 0x336699);
  for (uint32_t offset : {1000000u, 0x7FFFFF00u}) {
    bytes = MakeBmp(small);
    memcpy(&bytes[10], &offset, 4);  // little-endian, as the file stores it
    ExpectEveryWay("pixel offset past the end", bytes, false, 0);
  }
  ExpectEveryWay("the same file as written", MakeBmp(small), false, 1);
}

#ifndef _WIN32
// The stream keeps only the rows it needs: an 8-million-pixel-wide picture of two rows fits in
// an address space of 1 GB (32 ring rows of it would not), as the whole picture does.
TEST(PictureStream, WideShortPictureFitsInTheAddressSpaceOfTheWholeOne) {
  BmpLayout layout;
  layout.width = 8000000;
  layout.height = 2;
  layout.bitCount = 1;
  layout.palette = {0x102030, 0xF0E0D0};
  std::vector<uint8_t> bytes = MakeBmp(layout);
  const std::vector<uint8_t> noise = NoiseBytes((size_t)layout.width / 4, 1);
  bytes.insert(bytes.end(), noise.begin(), noise.end());
  std::vector<uint8_t> surface(64 * 3 * 48);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const struct rlimit limit = {1u << 30, 1u << 30};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
    for (int threads = 1; threads <= 2; ++threads) {
      const StreamTarget target = {surface.data(), 64, 48, 64 * 3, threads, 0};
      if (StreamBmpMemory(bytes.data(), bytes.size(), &target, NULL) != 1) _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
