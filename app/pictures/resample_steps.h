// The steps of the fit that every way of filling a surface shares, so that a picture streamed
// row by row lands on exactly the pixels of the whole-picture prefilter and resampler.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// A colour byte from its double value: truncated toward zero, then clamped to 0..255.  (Static:
// every file that rounds gets its own copy, built with that file's floating-point flags.)
static inline int ToByte(double value) {
  int v = (int)value;  // truncation toward zero
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

// Where destination pixel `index` of `destinationSize` falls along one axis of a source of
// `sourceSize` pixels stretched by `ratio` (destinationSize / sourceSize).  `inside` is 0 when
// the range guard turns the pixel black; otherwise it samples at `position` (source pixel
// units), whose four neighbours are the source pixels `first` ... `first` + 3 (some may lie
// beyond the edges), `fraction` past `first` + 1, in [0, 1).
typedef struct AxisSample {
  int32_t inside;
  int32_t first;
  double position;
  double fraction;
} AxisSample;

void MapDestinationAxis(int32_t index, int32_t destinationSize, int32_t sourceSize, double ratio,
                        AxisSample *sample);

// Cubic convolution kernel (a = -1) at distance t.
double CubicWeight(double t);

// The bicubic value of a 4 x 4 neighbourhood (rows top-down, words in the picture layout, black
// for neighbours beyond the picture) at the fractions fx, fy: the uniform shortcut, then the
// row weights, then the column weights.
uint32_t WeighNeighbours(const uint32_t near[4][4], double fx, double fy);

// The four weights of one axis at `fraction`, for the neighbours first .. first + 3.
void AxisWeights(double fraction, double weights[4]);

// WeighNeighbours with both axes' weights already worked out by AxisWeights.
uint32_t WeighNeighboursWith(const uint32_t near[4][4], const double wx[4], const double wy[4]);

#ifdef __cplusplus
}
#endif
