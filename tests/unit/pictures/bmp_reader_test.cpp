#include "picture.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <string.h>

#include "picture_fixtures.h"

namespace {

// The picture word for a colour given as 0x00RRGGBB: red low, blue third, top byte zero.
uint32_t Word(uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

struct ReadResult {
  int ok = 0;
  PictureBuffer picture = {};
  std::vector<uint32_t> words;
};

ReadResult ReadBmpBytes(const std::vector<uint8_t> &bytes) {
  TempFile file(".bmp");
  file.Write(bytes);
  ReadResult r;
  r.ok = ReadBmpPicture(file.path(), &r.picture);
  if (r.ok) {
    r.words.assign(r.picture.pixels, r.picture.pixels + r.picture.width * r.picture.height);
    ReleasePicture(&r.picture);
  }
  return r;
}

void ExpectDecodesTo(const BmpLayout &layout, const std::vector<uint32_t> &expected) {
  ReadResult r = ReadBmpBytes(MakeBmp(layout));
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.picture.width, layout.width);
  EXPECT_EQ(r.picture.height, layout.height);
  EXPECT_EQ(r.picture.byteSize, layout.width * layout.height * 4);
  EXPECT_EQ(r.words, expected);
}

std::vector<uint32_t> Colours(const BmpLayout &layout) {
  std::vector<uint32_t> out;
  for (uint32_t p : layout.pixels)
    out.push_back(Word(layout.bitCount == 24 ? p : layout.palette[p]));
  return out;
}

// Distinct colours per pixel, so a row or column out of place shows.
BmpLayout TrueColour(int32_t width, int32_t height) {
  BmpLayout s;
  s.width = width;
  s.height = height;
  s.bitCount = 24;
  for (int32_t i = 0; i < width * height; ++i) s.pixels.push_back(0x102030u + 0x030507u * i);
  return s;
}

BmpLayout Indexed(uint16_t bits, int32_t width, int32_t height) {
  BmpLayout s;
  s.width = width;
  s.height = height;
  s.bitCount = bits;
  const uint32_t entries = 1u << bits;
  for (uint32_t i = 0; i < entries; ++i) s.palette.push_back(0x0A0B0Cu * (i + 1) ^ (i << 20));
  for (int32_t i = 0; i < width * height; ++i) s.pixels.push_back((7u * i + i / width) % entries);
  return s;
}

TEST(BmpReader, TrueColourPixelBecomesWordWithRedInTheLowByte) {
  BmpLayout s;
  s.pixels = {0x302010u};  // stored as blue 0x10, green 0x20, red 0x30
  ReadResult r = ReadBmpBytes(MakeBmp(s));
  ASSERT_EQ(r.ok, 1);
  ASSERT_EQ(r.words.size(), 1u);
  uint8_t bytes[4];
  memcpy(bytes, &r.words[0], 4);
  EXPECT_EQ(bytes[0], 0x30);
  EXPECT_EQ(bytes[1], 0x20);
  EXPECT_EQ(bytes[2], 0x10);
  EXPECT_EQ(bytes[3], 0);
}

TEST(BmpReader, EveryBitCountAndRowPaddingDecodesBottomUp) {
  // Widths chosen for each padding case: 24-bit width 1 (1 padding byte) and 4 (none) and 5;
  // 1-bit width 10 (2 bytes, 6 unused bits, 2 padding); 4-bit width 3 (unused low nibble);
  // 8-bit width 3 (1 padding byte).
  const BmpLayout cases[] = {TrueColour(1, 3),  TrueColour(4, 2),  TrueColour(5, 3),
                             Indexed(1, 10, 3), Indexed(1, 33, 2), Indexed(4, 3, 4),
                             Indexed(4, 8, 2),  Indexed(8, 3, 3),  Indexed(8, 4, 2)};
  for (const BmpLayout &s : cases) {
    SCOPED_TRACE(testing::Message() << s.bitCount << "-bit " << s.width << "x" << s.height);
    ExpectDecodesTo(s, Colours(s));
  }
}

TEST(BmpReader, ColourTableAfterALongerInformationHeaderIsFound) {
  for (uint32_t infoSize : {108u, 124u}) {
    SCOPED_TRACE(infoSize);
    BmpLayout s = Indexed(8, 3, 2);
    s.infoSize = infoSize;
    ExpectDecodesTo(s, Colours(s));
    BmpLayout t = TrueColour(3, 2);
    t.infoSize = infoSize;
    ExpectDecodesTo(t, Colours(t));
  }
}

TEST(BmpReader, IndexBeyondTheColourTableIsBlack) {
  BmpLayout s = Indexed(8, 4, 1);
  s.palette.resize(2);
  s.pixels = {0, 1, 2, 255};
  ExpectDecodesTo(s, {Word(s.palette[0]), Word(s.palette[1]), 0, 0});
}

TEST(BmpReader, TruncatedPixelDataLeavesTheMissingPixelsBlack) {
  BmpLayout s = TrueColour(4, 3);  // 12 bytes a row, no padding
  std::vector<uint8_t> bytes = MakeBmp(s);
  // Keep the bottom file row and 2 pixels and one byte of the next.
  bytes.resize(54 + 12 + 7);
  std::vector<uint32_t> expected(12, 0);
  std::vector<uint32_t> full = Colours(s);
  for (int x = 0; x < 4; ++x) expected[8 + x] = full[8 + x];
  for (int x = 0; x < 2; ++x) expected[4 + x] = full[4 + x];
  ReadResult r = ReadBmpBytes(bytes);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.words, expected);

  // Indexed: missing bytes must not turn into colour-table entry 0.
  BmpLayout p = Indexed(8, 4, 2);
  p.palette[0] = 0xFFFFFF;
  p.pixels = {0, 0, 0, 0, 1, 0, 1, 0};
  bytes = MakeBmp(p);
  bytes.resize(bytes.size() - 4 - 2);  // the top row is missing, so is half the bottom one
  r = ReadBmpBytes(bytes);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.words, std::vector<uint32_t>({0, 0, 0, 0, Word(p.palette[1]), 0xFFFFFF, 0, 0}));
}

TEST(BmpReader, UnsupportedOrDamagedFilesAreRefused) {
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  BmpLayout s = TrueColour(2, 2);
  std::vector<uint8_t> good = MakeBmp(s);
  std::vector<uint8_t> b = good;
  b[0] = 'B';
  b[1] = 'N';
  cases.push_back({"not BM", b});
  cases.push_back({"empty", {}});
  cases.push_back(
      {"shorter than the file header", std::vector<uint8_t>(good.begin(), good.begin() + 10)});
  cases.push_back(
      {"shorter than the info header", std::vector<uint8_t>(good.begin(), good.begin() + 50)});
  BmpLayout t = s;
  t.height = -2;
  cases.push_back({"top-down", MakeBmp(t)});
  t = s;
  t.width = 0;
  t.pixels.clear();
  cases.push_back({"zero width", MakeBmp(t)});
  t = s;
  t.compression = 1;
  cases.push_back({"compressed", MakeBmp(t)});
  for (uint16_t bits : {16, 32, 2, 0}) {
    t = s;
    t.bitCount = bits;
    t.pixels.clear();
    cases.push_back({"bit count", MakeBmp(t)});
  }
  t = s;
  t.infoSize = 12;
  cases.push_back({"core header", MakeBmp(t)});
  b = good;
  b[10] = 20;  // pixel data inside the headers
  b[11] = b[12] = b[13] = 0;
  cases.push_back({"offset inside the headers", b});
  b[10] = 4;  // before the end of the file header
  cases.push_back({"offset inside the file header", b});
  // Sizes whose pixel block would wrap or pass the limits; headers and a few pixel bytes.
  const int32_t sizes[][2] = {{65536, 65536}, {0x40000000, 1}, {16385, 16384}, {0x7FFFFFFF, 2}};
  for (auto &wh : sizes) {
    t = BmpLayout();
    t.width = wh[0];
    t.height = wh[1];
    b = MakeBmp(t);
    b.resize(b.size() + 16, 0x55);
    cases.push_back({"oversized", b});
  }
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ReadResult r = ReadBmpBytes(c.bytes);
    EXPECT_EQ(r.ok, 0);
    EXPECT_EQ(r.picture.pixels, nullptr);
  }
  PictureBuffer none = {};
  EXPECT_EQ(ReadBmpPicture("qmtest_no_such_file.bmp", &none), 0);
}

#ifndef _WIN32
TEST(BmpReader, AllocationFailureAtAnyStepLeavesNoPicture) {
  BmpLayout s = Indexed(8, 3, 2);  // colour table, pixel block, row buffer
  TempFile file(".bmp");
  file.Write(MakeBmp(s));
  for (int step = 0; step < 3; ++step) {
    SCOPED_TRACE(step);
    PictureBuffer p = {};
    PlatformFailGlobalAllocAfter(step);
    EXPECT_EQ(ReadBmpPicture(file.path(), &p), 0);
    PlatformFailGlobalAllocAfter(-1);
    EXPECT_EQ(p.pixels, nullptr);
  }
}
#endif

TEST(PictureWords, SwapRedBlueExchangesOuterBytesAndClearsTheTop) {
  uint32_t words[3] = {0xAA112233u, 0x00FF0000u, 0xFFFFFFFFu};
  SwapRedBlue(words, 11);  // two whole words only
  EXPECT_EQ(words[0], 0x00332211u);
  EXPECT_EQ(words[1], 0x000000FFu);
  EXPECT_EQ(words[2], 0xFFFFFFFFu);
}

}  // namespace
