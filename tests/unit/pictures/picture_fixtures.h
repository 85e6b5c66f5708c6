// Picture files made by the tests themselves: a small BMP writer, JPEGs through libjpeg's
// compressor, and a direct libjpeg decode to compare the reader with.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// A file in the working directory, named after the running test, removed again at the end.
class TempFile {
 public:
  explicit TempFile(const char *extension);
  ~TempFile();
  const char *path() const { return path_.c_str(); }
  void Write(const std::vector<uint8_t> &bytes) const;

 private:
  std::string path_;
};

// What a BMP file says about itself.  `pixels` are top-down: colour-table indices for 1, 4
// and 8 bits, 0x00RRGGBB for 24 bits.  Padding bytes and unused bits are filled with set bits,
// so a reader that decodes them shows it.
struct BmpLayout {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t infoSize = 40;
  std::vector<uint32_t> palette;  // 0x00RRGGBB entries
  std::vector<uint32_t> pixels;
};

std::vector<uint8_t> MakeBmp(const BmpLayout &layout);

// Encodes width x height samples of `components` per pixel (1: grey, 3: RGB, 4: CMYK).
std::vector<uint8_t> MakeJpeg(int width, int height, int components,
                              const std::vector<uint8_t> &samples, int quality);

// Decodes with libjpeg directly, library defaults, into the same layout as the samples above.
struct DecodedJpeg {
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<uint8_t> samples;
};
bool DecodeJpegDirectly(const std::vector<uint8_t> &file, DecodedJpeg *out);

// A repeatable pseudo-random byte sequence.
std::vector<uint8_t> NoiseBytes(size_t count, uint32_t seed);
