// Bicubic interpolation (cubic convolution, a = -1) and the stretch of a whole picture onto a
// 24-bit surface, the destination's centre on the picture's centre (the steps it shares with
// the streaming fit are in resample_steps.cpp).
#include "resample.h"
#include "resample_steps.h"

#include <math.h>
#include <stddef.h>

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
  return WeighNeighbours(near, fx, fy);
}

void ResamplePicture(uint8_t *destination, const PictureBuffer *picture, int32_t W, int32_t H,
                     int32_t rowLength) {
  int32_t w = picture->width, h = picture->height;
  double rx = (double)W / w, ry = (double)H / h;
  SampleRequest request = {picture->pixels, 0, 0, w, h};
  for (int32_t Y = 0; Y < H; ++Y) {
    uint8_t *row = destination + (ptrdiff_t)Y * rowLength;
    AxisSample down;
    MapDestinationAxis(Y, H, h, ry, &down);
    for (int32_t X = 0; X < W; ++X) {
      AxisSample along;
      MapDestinationAxis(X, W, w, rx, &along);
      uint8_t *out = row + 3 * X;
      if (!down.inside || !along.inside) {
        out[0] = out[1] = out[2] = 0;
        continue;
      }
      request.x = along.position;
      request.y = down.position;
      uint32_t word = SampleBicubic(&request);
      out[0] = (uint8_t)(word >> 16);
      out[1] = (uint8_t)(word >> 8);
      out[2] = (uint8_t)word;
    }
  }
}
