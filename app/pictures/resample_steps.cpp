// The steps of the bicubic stretch that the whole-picture resampler and the streaming fit
// share: where a destination pixel falls, the kernel and the weights of an axis, and the
// weighing of a 4 x 4 neighbourhood.
#include "resample_steps.h"

#include <math.h>

namespace {

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

void MapDestinationAxis(int32_t index, int32_t destinationSize, int32_t sourceSize, double ratio,
                        AxisSample *sample) {
  double offset = (index - destinationSize / 2) / ratio;
  int32_t cell = CellOf(offset);
  sample->inside = !(cell < -(sourceSize / 2) - 1 || cell >= (sourceSize + 1) / 2);
  double position = offset + sourceSize / 2;
  double whole = floor(position);
  sample->position = position;
  sample->first = (int32_t)whole - 1;
  sample->fraction = position - whole;
}

void AxisWeights(double fraction, double weights[4]) {
  weights[0] = CubicWeight(1 + fraction);
  weights[1] = CubicWeight(fraction);
  weights[2] = CubicWeight(1 - fraction);
  weights[3] = CubicWeight(2 - fraction);
}

uint32_t WeighNeighbours(const uint32_t near[4][4], double fx, double fy) {
  double wx[4], wy[4];
  AxisWeights(fx, wx);
  AxisWeights(fy, wy);
  return WeighNeighboursWith(near, wx, wy);
}

uint32_t WeighNeighboursWith(const uint32_t near[4][4], const double wx[4], const double wy[4]) {
  // Flat areas come back exactly; the weighting below would truncate them one lower.
  int uniform = 1;
  for (int r = 0; r < 4 && uniform; ++r)
    for (int c = 0; c < 4; ++c)
      if (near[r][c] != near[0][0]) {
        uniform = 0;
        break;
      }
  if (uniform) return near[0][0];

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
