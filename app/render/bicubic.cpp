// Bicubic interpolation (cubic convolution, a = -1) and the stretch of a whole picture onto a
// 24-bit surface, the destination's centre on the picture's centre.
#include "resample.h"

#include <math.h>
#include <stddef.h>

namespace {

int ToByte(double value) {
  int v = (int)value;  // truncation toward zero
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

// Whole source pixels from the centre: truncation toward zero after lowering by one when the
// offset is not positive.
int32_t CellOf(double offset) {
  return (int32_t)(offset <= 0 ? offset - 1 : offset);
}

}  // namespace

double CubicWeight(double t) {
  double u = fabs(t);
  if (u < 1) return (u - 1) * (u - 1.618033988749895) * (u + 0.6180339887498949);
  if (u < 2) return -(u - 2) * (u - 2) * (u - 1);
  return 0;
}

uint32_t SampleBicubic(const SampleRequest *request) {
  double fx0 = floor(request->x), fy0 = floor(request->y);
  double fx = request->x - fx0, fy = request->y - fy0;
  int32_t ix = (int32_t)fx0, iy = (int32_t)fy0;
  int32_t width = request->width, height = request->height;

  // The 4 x 4 neighbourhood, black beyond the picture.
  uint32_t near[4][4];
  for (int r = 0; r < 4; ++r) {
    int32_t row = iy - 1 + r;
    for (int c = 0; c < 4; ++c) {
      int32_t col = ix - 1 + c;
      near[r][c] = (row < 0 || row >= height || col < 0 || col >= width)
                       ? 0u
                       : request->pixels[(size_t)row * width + col] & 0xFFFFFFu;
    }
  }
  // Flat areas come back exactly; the weighting below would truncate them one lower.
  int uniform = 1;
  for (int r = 0; r < 4 && uniform; ++r)
    for (int c = 0; c < 4; ++c)
      if (near[r][c] != near[0][0]) {
        uniform = 0;
        break;
      }
  if (uniform) return near[0][0];

  double wy[4] = {CubicWeight(1 + fy), CubicWeight(fy), CubicWeight(1 - fy), CubicWeight(2 - fy)};
  double wx[4] = {CubicWeight(1 + fx), CubicWeight(fx), CubicWeight(1 - fx), CubicWeight(2 - fx)};
  double result[3] = {0, 0, 0};
  for (int ch = 0; ch < 3; ++ch) {
    int shift = 8 * ch;
    double total = 0;
    for (int c = 0; c < 4; ++c) {
      double column = 0;
      for (int r = 0; r < 4; ++r) column += wy[r] * (double)((near[r][c] >> shift) & 0xFF);
      total += wx[c] * column;
    }
    result[ch] = total;
  }
  return (uint32_t)ToByte(result[0]) | ((uint32_t)ToByte(result[1]) << 8) |
         ((uint32_t)ToByte(result[2]) << 16);
}

void ResamplePicture(uint8_t *destination, const PictureBuffer *picture, int32_t W, int32_t H,
                     int32_t rowLength) {
  int32_t w = picture->width, h = picture->height;
  double rx = (double)W / w, ry = (double)H / h;
  SampleRequest request = {picture->pixels, 0, 0, w, h};
  for (int32_t Y = 0; Y < H; ++Y) {
    uint8_t *row = destination + (ptrdiff_t)Y * rowLength;
    double v = (Y - H / 2) / ry;
    int32_t by = CellOf(v);
    int rowInside = !(by < -(h / 2) - 1 || by >= (h + 1) / 2);
    for (int32_t X = 0; X < W; ++X) {
      double u = (X - W / 2) / rx;
      int32_t bx = CellOf(u);
      uint8_t *out = row + 3 * X;
      if (!rowInside || bx < -(w / 2) - 1 || bx >= (w + 1) / 2) {
        out[0] = out[1] = out[2] = 0;
        continue;
      }
      request.x = u + w / 2;
      request.y = v + h / 2;
      uint32_t word = SampleBicubic(&request);
      out[0] = (uint8_t)(word >> 16);
      out[1] = (uint8_t)(word >> 8);
      out[2] = (uint8_t)word;
    }
  }
}
