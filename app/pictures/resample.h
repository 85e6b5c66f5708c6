// Fitting a picture to a surface of any size: a windowed-sinc low-pass filter whose width
// follows the scale ratio (PrefilterPicture), then bicubic interpolation of every destination
// pixel (ResamplePicture).  All arithmetic is double precision; every colour byte is the value
// truncated toward zero, then clamped to 0..255.
#pragma once

#include <stdint.h>

#include "picture.h"

#ifdef __cplusplus
extern "C" {
#endif

// The most taps a prefilter pass uses on each side of a pixel.
#define PREFILTER_MAX_TAPS 63

// One bicubic sample: the source words (PictureBuffer layout), the position in source pixel
// units (pixel centres at whole numbers) and the source size.
typedef struct SampleRequest {
  const uint32_t *pixels;
  double x;
  double y;
  int32_t width;
  int32_t height;
} SampleRequest;

// Builds one prefilter pass's weights for the ratio s (destination size / source size):
// weights[0] = 1 and weights[1..n] the taps, n = 4 / s truncated, at most PREFILTER_MAX_TAPS
// (a ratio that is not positive also gives the most taps).  Stores 1 + 2 * (sum of the taps) in
// *sum and returns n.  `weights` holds PREFILTER_MAX_TAPS + 1 entries.
int BuildPrefilterWeights(double s, double *weights, double *sum);

// Smooths `picture` in place, first along rows with ratio sx, then down columns with ratio sy
// (sx = W / width, sy = H / height of the surface it will fill).  Returns 1; 0 when the work
// buffer cannot be allocated, with the picture unchanged.  The picture must not be empty.
int PrefilterPicture(PictureBuffer *picture, double sx, double sy);

// Fills all W x H pixels of a 24-bit surface (bytes blue, green, red; rows `rowLength` bytes
// apart, first row at `destination`) with `picture` stretched to that size.  Cannot fail.
void ResamplePicture(uint8_t *destination, const PictureBuffer *picture, int32_t W, int32_t H,
                     int32_t rowLength);

// The bicubic value at the request's position as a pixel word (red low byte, top byte 0).
// Neighbours beyond the picture's edges count as black.
uint32_t SampleBicubic(const SampleRequest *request);

#ifdef __cplusplus
}
#endif
