// The prefilter: a separable sinc low-pass under a raised-cosine window, first zero at the
// destination's pixel spacing (1 / s source pixels), window ending at 4 / s.  It keeps the
// bicubic step from aliasing when a large picture is reduced; on enlarging its few taps are
// close to zero.  Each pixel is its own weight 1 plus the taps on both sides, divided by the
// weight sum; edge pixels repeat beyond the picture.
#include "resample.h"
#include "resample_steps.h"

#include <math.h>
#include <stdlib.h>

namespace {

const double kPi = 3.141592653589793;

// Scratch of both passes: one row spread into channel planes with n repeated edge pixels on
// each side (the pass along rows), and one row of accumulators per channel.  Each pass adds the
// taps for a whole row at once, nearest taps first, so every pixel sums its taps in the order
// of the formula while the loops over a row stay simple enough to vectorise.
struct Scratch {
  double *planes;  // 3 x (width + 2 * PREFILTER_MAX_TAPS)
  double *acc;     // 3 x width
};

// acc[x] += weight x (left[x] + right[x]) for one channel of a row.  The arrays never overlap.
void AddTaps(double *__restrict acc, const double *__restrict left, const double *__restrict right,
             int32_t count, double weight) {
  for (int32_t x = 0; x < count; ++x) acc[x] += weight * (left[x] + right[x]);
}

void AddByteTaps(double *__restrict acc, const uint8_t *__restrict left,
                 const uint8_t *__restrict right, int32_t count, double weight) {
  for (int32_t x = 0; x < count; ++x) acc[x] += weight * ((double)left[x] + (double)right[x]);
}

// The pass along rows, from the picture's words into the work buffer, which holds the result
// as three byte planes (red, green, blue) so the pass down can read rows of one channel.
void FilterAlong(const uint32_t *from, uint8_t *planes, int32_t width, int32_t height, double s,
                 Scratch *scratch) {
  double w[PREFILTER_MAX_TAPS + 1];
  double sum;
  int n = BuildPrefilterWeights(s, w, &sum);
  const size_t planeSize = (size_t)width * height;
  int32_t span = width + 2 * n;
  double *red = scratch->planes, *green = red + span, *blue = green + span;
  double *accR = scratch->acc, *accG = accR + width, *accB = accG + width;
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t *src = from + (size_t)y * width;
    for (int32_t i = 0; i < span; ++i) {
      int32_t x = i - n;
      uint32_t v = src[x < 0 ? 0 : x >= width ? width - 1 : x];
      red[i] = (double)(v & 0xFF);
      green[i] = (double)((v >> 8) & 0xFF);
      blue[i] = (double)((v >> 16) & 0xFF);
    }
    for (int32_t x = 0; x < width; ++x) {
      accR[x] = red[x + n];
      accG[x] = green[x + n];
      accB[x] = blue[x + n];
    }
    for (int k = 1; k <= n; ++k) {
      AddTaps(accR, red + n - k, red + n + k, width, w[k]);
      AddTaps(accG, green + n - k, green + n + k, width, w[k]);
      AddTaps(accB, blue + n - k, blue + n + k, width, w[k]);
    }
    uint8_t *r = planes + (size_t)y * width, *g = r + planeSize, *b = g + planeSize;
    for (int32_t x = 0; x < width; ++x) {
      r[x] = (uint8_t)ToByte(accR[x] / sum);
      g[x] = (uint8_t)ToByte(accG[x] / sum);
      b[x] = (uint8_t)ToByte(accB[x] / sum);
    }
  }
}

// The pass down, from the work buffer's byte planes back into the picture's words.
void FilterDown(const uint8_t *planes, uint32_t *to, int32_t width, int32_t height, double s,
                Scratch *scratch) {
  double w[PREFILTER_MAX_TAPS + 1];
  double sum;
  int n = BuildPrefilterWeights(s, w, &sum);
  const size_t planeSize = (size_t)width * height;
  double *acc[3] = {scratch->acc, scratch->acc + width, scratch->acc + 2 * width};
  for (int32_t y = 0; y < height; ++y) {
    for (int c = 0; c < 3; ++c) {
      const uint8_t *plane = planes + c * planeSize;
      const uint8_t *centre = plane + (size_t)y * width;
      for (int32_t x = 0; x < width; ++x) acc[c][x] = (double)centre[x];
      for (int k = 1; k <= n; ++k) {
        int32_t up = y - k < 0 ? 0 : y - k;
        int32_t down = y + k >= height ? height - 1 : y + k;
        AddByteTaps(acc[c], plane + (size_t)up * width, plane + (size_t)down * width, width, w[k]);
      }
    }
    uint32_t *dst = to + (size_t)y * width;
    for (int32_t x = 0; x < width; ++x)
      dst[x] = (uint32_t)ToByte(acc[0][x] / sum) | ((uint32_t)ToByte(acc[1][x] / sum) << 8) |
               ((uint32_t)ToByte(acc[2][x] / sum) << 16);
  }
}

}  // namespace

int BuildPrefilterWeights(double s, double *weights, double *sum) {
  double taps = 4.0 / s;
  int n;
  if (!(s > 0.0) || !(taps < (double)(PREFILTER_MAX_TAPS + 1)))
    n = PREFILTER_MAX_TAPS;
  else
    n = (int)taps;
  weights[0] = 1.0;
  double total = 0.0;
  for (int k = 1; k <= n; ++k) {
    double a = k * s * kPi;
    weights[k] = 0.5 * (1 + cos(0.25 * a)) * sin(a) / a;
    total += weights[k];
  }
  *sum = 1 + 2 * total;
  return n;
}

int PrefilterPicture(PictureBuffer *picture, double sx, double sy) {
  int32_t width = picture->width, height = picture->height;
  size_t words = (size_t)width * (size_t)height;
  size_t planeDoubles = 3 * ((size_t)width + 2 * PREFILTER_MAX_TAPS);
  // width x height x 4 bytes, of which the three byte planes use three quarters.
  uint8_t *work = (uint8_t *)malloc(words * 4);
  double *scratchBlock = (double *)malloc((planeDoubles + 3 * (size_t)width) * sizeof(double));
  if (!work || !scratchBlock) {
    free(work);
    free(scratchBlock);
    return 0;
  }
  Scratch scratch = {scratchBlock, scratchBlock + planeDoubles};
  FilterAlong(picture->pixels, work, width, height, sx, &scratch);
  FilterDown(work, picture->pixels, width, height, sy, &scratch);
  free(scratchBlock);
  free(work);
  return 1;
}
