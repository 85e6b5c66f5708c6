// Writes the picture targets' seed corpora: small valid bitmaps of every bit count and header
// length, and small JPEGs (RGB, greyscale, progressive, CMYK, which is refused).  The streamed
// fit's corpus holds both kinds.
//   seed_pictures DIR    -> DIR/fuzz_bmp_reader/*, DIR/fuzz_jpeg_reader/*, DIR/fuzz_stream_fit/*
#include <stdio.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "picture_files.h"

namespace {

// A valid bitmap whose pixels (colour-table indices, or colours) run through a repeating
// pattern; the colour table, for 1, 4 and 8 bits, is a ramp.
std::vector<uint8_t> Bmp(int width, int height, int bits, uint32_t infoSize) {
  BmpLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = (uint16_t)bits;
  layout.infoSize = infoSize;
  if (bits <= 8)
    for (uint32_t i = 0; i < 1u << bits; ++i) layout.palette.push_back(i * 0x010305u);
  const uint32_t values = bits <= 8 ? 1u << bits : 1u << 24;
  for (uint32_t i = 0; i < (uint32_t)(width * height); ++i)
    layout.pixels.push_back((i * 0x9E3779B1u + 11) % values);
  return MakeBmp(layout);
}

// A JPEG of a diagonal ramp, baseline or progressive.
std::vector<uint8_t> Jpeg(int width, int height, int components, bool progressive) {
  std::vector<uint8_t> samples((size_t)width * height * components);
  const size_t rowLength = (size_t)width * components;
  for (size_t y = 0; y < (size_t)height; ++y)
    for (size_t i = 0; i < rowLength; ++i) samples[y * rowLength + i] = (uint8_t)(i * 5 + y * 9);
  return MakeJpeg(width, height, components, samples, 75, progressive);
}

bool Save(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: seed_pictures DIR\n");
    return 2;
  }
  const std::string bmpDir = std::string(argv[1]) + "/fuzz_bmp_reader";
  const std::string jpegDir = std::string(argv[1]) + "/fuzz_jpeg_reader";
  const std::string fitDir = std::string(argv[1]) + "/fuzz_stream_fit";
  mkdir(argv[1], 0755);
  for (const std::string &dir : {bmpDir, jpegDir, fitDir}) mkdir(dir.c_str(), 0755);
  bool ok = true;
  auto seed = [&](const std::string &dir, const std::string &name,
                  const std::vector<uint8_t> &bytes) {
    ok &= Save(dir + "/" + name, bytes);
    ok &= Save(fitDir + "/" + name, bytes);
  };
  const int bitCounts[] = {1, 4, 8, 24};
  const uint32_t infoSizes[] = {40, 108, 124};
  for (int bits : bitCounts)
    for (uint32_t info : infoSizes)
      seed(bmpDir, "bmp" + std::to_string(bits) + "_" + std::to_string(info) + ".bmp",
           Bmp(bits == 24 ? 5 : 11, 3, bits, info));
  seed(jpegDir, "rgb.jpg", Jpeg(24, 16, 3, false));
  seed(jpegDir, "grey.jpg", Jpeg(17, 9, 1, false));
  seed(jpegDir, "progressive.jpg", Jpeg(16, 16, 3, true));
  seed(jpegDir, "progressive_grey.jpg", Jpeg(9, 20, 1, true));
  seed(jpegDir, "cmyk.jpg", Jpeg(8, 8, 4, false));
  if (!ok) fprintf(stderr, "seed_pictures: cannot write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
