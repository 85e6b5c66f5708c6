#include "picture_fixtures.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

TempFile::TempFile(const char *extension) {
  const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
  path_ = std::string("qmtest_") + info->test_suite_name() + "_" + info->name() + extension;
}

TempFile::~TempFile() {
  remove(path_.c_str());
}

void TempFile::Write(const std::vector<uint8_t> &bytes) const {
  FILE *f = fopen(path_.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path_;
  size_t written = bytes.empty() ? 0 : fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  ASSERT_EQ(written, bytes.size()) << path_;
}

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> MakeBmp(const BmpLayout &layout) {
  const int bits = layout.bitCount;
  const size_t stride = ((size_t)layout.width * bits + 31) / 32 * 4;
  const uint32_t offBits = 14 + layout.infoSize + 4 * (uint32_t)layout.palette.size();
  std::vector<uint8_t> out;
  Put16(out, 0x4D42);
  Put32(out, 0);  // bfSize, unused by readers
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, layout.infoSize);
  Put32(out, (uint32_t)layout.width);
  Put32(out, (uint32_t)layout.height);
  Put16(out, 1);
  Put16(out, layout.bitCount);
  Put32(out, layout.compression);
  while (out.size() < 14 + layout.infoSize) out.push_back(0);
  for (uint32_t c : layout.palette) Put32(out, c | 0xEE000000u);  // reserved byte set on purpose
  if (layout.pixels.empty()) return out;
  for (int32_t fileRow = 0; fileRow < layout.height; ++fileRow) {
    const uint32_t *src = &layout.pixels[(size_t)(layout.height - 1 - fileRow) * layout.width];
    std::vector<uint8_t> row(stride, 0xFF);
    if (bits == 24) {
      for (int32_t x = 0; x < layout.width; ++x) {
        row[3 * x] = src[x] & 0xFF;
        row[3 * x + 1] = (src[x] >> 8) & 0xFF;
        row[3 * x + 2] = (src[x] >> 16) & 0xFF;
      }
    } else {
      const int perByte = 8 / bits;
      for (int32_t x = 0; x < layout.width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        uint8_t &b = row[x / perByte];
        b = (uint8_t)((b & ~(((1 << bits) - 1) << shift)) |
                      ((src[x] & ((1 << bits) - 1)) << shift));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<uint8_t> MakeJpeg(int width, int height, int components,
                              const std::vector<uint8_t> &samples, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char *buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&samples[(size_t)cinfo.next_scanline * width * components]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

bool DecodeJpegDirectly(const std::vector<uint8_t> &file, DecodedJpeg *out) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file.data(), (unsigned long)file.size());
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  jpeg_start_decompress(&cinfo);
  out->width = cinfo.output_width;
  out->height = cinfo.output_height;
  out->components = cinfo.output_components;
  out->samples.assign((size_t)out->width * out->height * out->components, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &out->samples[(size_t)cinfo.output_scanline * out->width * out->components];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

std::vector<uint8_t> NoiseBytes(size_t count, uint32_t seed) {
  std::vector<uint8_t> out(count);
  uint32_t state = seed;
  for (size_t i = 0; i < count; ++i) {
    state = state * 1664525u + 1013904223u;
    out[i] = (uint8_t)(state >> 24);
  }
  return out;
}
