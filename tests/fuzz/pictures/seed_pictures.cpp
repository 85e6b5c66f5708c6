// Writes the picture targets' seed corpora: small valid bitmaps of every bit count and header
// length, and small JPEGs (RGB, greyscale, progressive, CMYK, which is refused).  The streamed
// fit's corpus holds both kinds.
//   seed_pictures DIR    -> DIR/fuzz_bmp_reader/*, DIR/fuzz_jpeg_reader/*, DIR/fuzz_stream_fit/*
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint8_t> Bmp(int width, int height, int bits, uint32_t infoSize) {
  uint32_t entries = bits <= 8 ? 1u << bits : 0;
  uint32_t stride = ((uint32_t)width * bits + 31) / 32 * 4;
  std::vector<uint8_t> out;
  Put16(out, 0x4D42);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 14 + infoSize + 4 * entries);
  Put32(out, infoSize);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);
  while (out.size() < 14 + infoSize) out.push_back(0);
  for (uint32_t i = 0; i < entries; ++i) Put32(out, i * 0x010305u);
  for (uint32_t i = 0; i < stride * height; ++i) out.push_back((uint8_t)(i * 37 + 11));
  return out;
}

std::vector<uint8_t> Jpeg(int width, int height, int components, bool progressive) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char *buffer = NULL;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 75, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row((size_t)width * components);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = (JSAMPLE)(i * 5 + cinfo.next_scanline * 9);
    JSAMPROW rows = row.data();
    jpeg_write_scanlines(&cinfo, &rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
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
