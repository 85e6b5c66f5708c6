// Picture costs the player waits for: decoding a camera-sized JPEG background and fitting
// pictures of several sizes to the 442 x 482 client area (the well over a 20-pixel block).
#include <benchmark/benchmark.h>

#include <chrono>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <jpeglib.h>

#include "picture.h"
#include "picture_stream.h"
#include "resample.h"

namespace {

const int kClientWidth = 442;
const int kClientHeight = 482;

// Photograph-like content: smooth gradients with fine texture, so neither the JPEG coder nor
// the sampler's flat-area shortcut has it easy.
uint32_t Texture(int x, int y) {
  uint32_t noise = (uint32_t)(x * 73856093u) ^ (uint32_t)(y * 19349663u);
  noise = (noise ^ (noise >> 13)) * 0x5bd1e995u;
  uint32_t r = (x / 24 + (noise & 15)) & 0xFF;
  uint32_t g = (y / 16 + ((noise >> 8) & 15)) & 0xFF;
  uint32_t b = ((x + y) / 40 + ((noise >> 16) & 31)) & 0xFF;
  return r | (g << 8) | (b << 16);
}

std::vector<uint32_t> MakeWords(int width, int height) {
  std::vector<uint32_t> words((size_t)width * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) words[(size_t)y * width + x] = Texture(x, y);
  return words;
}

// The texture with camera grain: each channel moved by up to +-`grain` per pixel, so that the
// file holds as much detail per pixel as a phone photograph (a 24-megapixel one of some 10 MB
// with grain 24) and decoding costs what it costs there.
uint32_t Grainy(int x, int y, int grain) {
  const uint32_t v = Texture(x, y);
  if (grain == 0) return v;
  uint32_t noise = (uint32_t)(x * 2654435761u) ^ (uint32_t)(y * 40503u + 0x9e3779b9u);
  noise = (noise ^ (noise >> 15)) * 0x2c1b3c6du;
  noise ^= noise >> 12;
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    int value = (int)((v >> (8 * c)) & 0xFF) +
                (int)((noise >> (8 * c)) % (uint32_t)(2 * grain + 1)) - grain;
    out |= (uint32_t)(value < 0 ? 0 : value > 255 ? 255 : value) << (8 * c);
  }
  return out;
}

// Writes a width x height RGB JPEG of the texture (with `grain`) and returns its path.
std::string WriteJpeg(int width, int height, int grain = 0) {
  const char *dir = getenv("TMPDIR");
  std::string path = std::string(dir ? dir : "/tmp") + "/qmbench_" + std::to_string(getpid()) +
                     "_" + std::to_string(width) + "x" + std::to_string(height) + "_" +
                     std::to_string(grain) + ".jpg";
  FILE *f = fopen(path.c_str(), "wb");
  if (!f) return std::string();
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row((size_t)width * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < width; ++x) {
      uint32_t v = Grainy(x, (int)cinfo.next_scanline, grain);
      row[3 * x] = v & 0xFF;
      row[3 * x + 1] = (v >> 8) & 0xFF;
      row[3 * x + 2] = (v >> 16) & 0xFF;
    }
    JSAMPROW rows = row.data();
    jpeg_write_scanlines(&cinfo, &rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  fclose(f);
  return path;
}

void BM_DecodeJpeg24Megapixels(benchmark::State &state) {
  std::string path = WriteJpeg(6000, 4000);
  if (path.empty()) {
    state.SkipWithError("cannot write the JPEG");
    return;
  }
  for (auto _ : state) {
    PictureBuffer picture = {};
    if (!ReadJpegPicture(path.c_str(), &picture)) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(picture.pixels[0]);
    ReleasePicture(&picture);
  }
  remove(path.c_str());
  state.counters["Mpixel/s"] =
      benchmark::Counter(6000.0 * 4000.0 / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DecodeJpeg24Megapixels)->Unit(benchmark::kMillisecond)->UseRealTime();

// libjpeg alone, every scanline into one row buffer and dropped: what any program showing the
// picture pays at least.  Returns 1 when the file decoded.
int BareDecode(const char *path) {
  FILE *f = fopen(path, "rb");
  if (!f) return 0;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, f);
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  std::vector<JSAMPLE> row((size_t)cinfo.output_width * cinfo.output_components);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows = row.data();
    jpeg_read_scanlines(&cinfo, &rows, 1);
  }
  benchmark::DoNotOptimize(row.data());
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  fclose(f);
  return 1;
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Processor time of the whole process (all threads), in seconds.
double ProcessSeconds() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The whole background composition of a 24-megapixel JPEG as the program does it (decode,
// filter on a second thread, stretch into the client area), timed against the bare decode of
// the same file in the same iteration, so that the ratio holds however busy the machine is.
// Reported time: the composition; counters "vs_decode": composition time / bare decode time,
// "cpu_vs_decode": the same for processor time of all threads (what a busy machine still
// shows fairly).  Two pictures: the smooth texture, which decodes unusually fast (the hardest
// case for the ratio), and the same with camera grain, as a phone photograph decodes.
void BM_ComposeJpeg24MegapixelsVsBareDecode(benchmark::State &state) {
  std::string path = WriteJpeg(6000, 4000, (int)state.range(1));
  const int stride = (kClientWidth * 3 + 3) / 4 * 4;
  std::vector<uint8_t> surface((size_t)stride * kClientHeight);
  StreamTarget target = {
      surface.data(), kClientWidth, kClientHeight, stride, (int32_t)state.range(0), 0};
  double decoding = 0, composing = 0, decodingCpu = 0, composingCpu = 0;
  for (auto _ : state) {
    double cpu = ProcessSeconds();
    auto start = std::chrono::steady_clock::now();
    if (path.empty() || !BareDecode(path.c_str())) {
      state.SkipWithError("cannot write or decode the JPEG");
      break;
    }
    decoding += Seconds(start);
    decodingCpu += ProcessSeconds() - cpu;
    cpu = ProcessSeconds();
    start = std::chrono::steady_clock::now();
    if (!StreamJpegPicture(path.c_str(), &target, NULL)) {
      state.SkipWithError("composition failed");
      break;
    }
    const double took = Seconds(start);
    composingCpu += ProcessSeconds() - cpu;
    composing += took;
    state.SetIterationTime(took);
    benchmark::DoNotOptimize(surface.data());
  }
  if (!path.empty()) remove(path.c_str());
  state.counters["decode_ms"] =
      benchmark::Counter(decoding * 1000, benchmark::Counter::kAvgIterations);
  state.counters["vs_decode"] = decoding > 0 ? composing / decoding : 0;
  state.counters["cpu_vs_decode"] = decodingCpu > 0 ? composingCpu / decodingCpu : 0;
}
BENCHMARK(BM_ComposeJpeg24MegapixelsVsBareDecode)
    ->ArgNames({"threads", "grain"})
    ->Args({2, 0})
    ->Args({1, 0})
    ->Args({2, 24})
    ->Args({1, 24})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// Prefilter and resample into the client area; each iteration starts from the unfiltered
// picture (the copy is not timed).
void BM_FitToClientArea(benchmark::State &state) {
  const int width = (int)state.range(0), height = (int)state.range(1);
  const std::vector<uint32_t> original = MakeWords(width, height);
  std::vector<uint32_t> words(original.size());
  const int stride = (kClientWidth * 3 + 3) / 4 * 4;
  std::vector<uint8_t> surface((size_t)stride * kClientHeight);
  PictureBuffer picture = {words.data(), width * height * 4, width, height};
  const double sx = (double)kClientWidth / width, sy = (double)kClientHeight / height;
  for (auto _ : state) {
    state.PauseTiming();
    memcpy(words.data(), original.data(), original.size() * 4);
    state.ResumeTiming();
    if (!PrefilterPicture(&picture, sx, sy)) {
      state.SkipWithError("no memory for the prefilter");
      break;
    }
    ResamplePicture(surface.data(), &picture, kClientWidth, kClientHeight, stride);
    benchmark::DoNotOptimize(surface.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FitToClientArea)
    ->Args({6000, 4000})
    ->Args({640, 480})
    ->Args({160, 120})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The resampler alone, for comparison with the whole fit.
void BM_ResampleOnly(benchmark::State &state) {
  const int width = (int)state.range(0), height = (int)state.range(1);
  std::vector<uint32_t> words = MakeWords(width, height);
  const int stride = (kClientWidth * 3 + 3) / 4 * 4;
  std::vector<uint8_t> surface((size_t)stride * kClientHeight);
  PictureBuffer picture = {words.data(), width * height * 4, width, height};
  for (auto _ : state) {
    ResamplePicture(surface.data(), &picture, kClientWidth, kClientHeight, stride);
    benchmark::DoNotOptimize(surface.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ResampleOnly)->Args({640, 480})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
