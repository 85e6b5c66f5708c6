// One prefilter pass computed the fast way: 16-bit fixed-point weights, exact 32-bit sums and
// a proven error bound, and the exact double-precision sequence for every value whose
// truncation the bound cannot settle.  The results are the bytes the whole-picture prefilter
// produces.  A pass filters along a row (within it, pixel by pixel) or down (each value from
// the values of the rows above and below it).
#pragma once

#include <stdint.h>

#include "filter_kernels.h"
#include "resample.h"

// The weights of one pass (from BuildPrefilterWeights) in double precision and in fixed point,
// the bounds of the fixed-point values' error, and the exact result of a window whose values
// are all equal.  Tap 0 is the centre, whose pair is the centre value twice.
typedef struct FilterPass {
  int taps;
  double weights[PREFILTER_MAX_TAPS + 1];
  double sum;
  // round(w[k] 2^15) for k = 0 .. taps, zeros after; `residual` holds what each misses, in
  // units of 2^-30.
  int16_t fixed[PREFILTER_MAX_TAPS + 2];
  int16_t residual[PREFILTER_MAX_TAPS + 2];
  // Along a row, four pixels x .. x + 3 are filtered from the values at x - taps onwards:
  // along[i][j] weighs value j for pixel x + i (round(w[k] 2^15) for the value k away, 0 for the
  // centre, which is added as 2^15 times its value), alongResidual likewise with the
  // residuals.  Blocks of 16 values cover the window.
  int16_t along[4][ALONG_WINDOW];
  int16_t alongResidual[4][ALONG_WINDOW];
  int alongBlocks;  // (2 x taps + 4 + 15) / 16
  // Down, the same two by pairs of taps: word j holds taps 2 j (low half) and 2 j + 1.
  int pairCount;  // (taps + 2) / 2
  int32_t fixedPairs[(PREFILTER_MAX_TAPS + 2) / 2];
  int32_t residualPairs[(PREFILTER_MAX_TAPS + 2) / 2];
  FixedScale scale;              // the fixed-point sums' offset, 2^-15 / sum, and their error bound
  double refinedScale;           // 2^-30 / sum
  double refinedBound;           // the error bound of a value with the residual added
  const FilterKernels *kernels;  // the width of vectors the sums are taken with
  uint8_t flat[256];
} FilterPass;

// How often the fixed-point value was not trusted: `refined` values were decided once the
// residual weights' share was added; `exact` ones went through the double sequence; `flat`
// ones (every value of the window the same) took the precomputed flat result.
typedef struct FallbackCounts {
  uint32_t exact;
  uint32_t flat;
  uint32_t refined;
} FallbackCounts;

// Prepares a pass for the ratio s (destination size / source size).  Its sums use AVX2 when
// the processor has it and AllowWideSums has not turned that off.
void SetUpFilterPass(FilterPass *pass, double s);

// 0: passes set up from now on keep to SSE2 (for comparing both ways); 1: the default.
void AllowWideSums(int allowed);

// One row split into channel planes of bytes: plane[c][x] is channel c of pixel x.
// Each plane may be read from index -PREFILTER_MAX_TAPS to width + 16 x alongBlocks, the
// pixels beyond the row repeating its edge pixels.
typedef struct RowPlanes {
  const uint8_t *plane[3];
  const uint32_t *differs;  // bit i % 32 of word i / 32: pixel i differs from pixel i + 1
  int32_t width;
} RowPlanes;

// Working room for filtering a row of `count` groups along, in 32-bit words.
int32_t AlongScratchWords(int32_t count);

// Filters the row along at each group's pixels (x + 3 at most width + 2) into `out`, a compact
// row (see ColumnGroup in filter_kernels.h) of whole numbers 0..255, exact for the first `keep`
// pixels of each group; `out` has room for 12 x count values rounded up to a multiple of 8.  `sums`
// is AlongScratchWords(count) zeroed words, for this function's use only.
void FilterRowAlong(const FilterPass *pass, const RowPlanes *row, const ColumnGroup *groups,
                    int32_t count, int32_t *sums, uint8_t *out, FallbackCounts *counts);

// Working room for filtering `count` values down, in 32-bit words.
int32_t DownScratchWords(int32_t count);

// Filters one row down: rows[taps + k] is the row k below it (k = -taps .. taps, edge rows
// repeated by the caller), each `count` values 0..255 (a multiple of 16).  A value whose
// sameAbove[i] is at least `span` has the same value in every row of its window.  Writes
// `count` bytes to `out`.  `sums` is DownScratchWords(count) words, for this function's use
// only.
void FilterRowDown(const FilterPass *pass, const uint8_t *const *rows, const uint8_t *sameAbove,
                   int32_t span, int32_t count, int32_t *sums, uint8_t *out,
                   FallbackCounts *counts);
