// One prefilter pass computed the fast way: single-precision SSE2 arithmetic with a proven
// error bound, and the exact double-precision sequence for every value whose truncation the
// bound cannot settle.  The results are the bytes the whole-picture prefilter produces.
#pragma once

#include <stdint.h>

#include "resample.h"

// The weights of one pass (from BuildPrefilterWeights) in both precisions, the bound of the
// fast sum's error, and the exact result of a window whose values are all equal.
typedef struct FilterPass {
  int taps;
  double weights[PREFILTER_MAX_TAPS + 1];
  double sum;
  // Each fast weight four times over, ready for a whole vector.
  float fastWeights[PREFILTER_MAX_TAPS + 1][4];
  float fastInverse[4];  // 1 / sum
  float bound[4];        // |fast value - exact value| never exceeds this
  uint8_t flat[256];
  // The same weights in fixed point for filtering along a row: tap k (k = 0 .. taps, tap 0
  // the centre, whose pair is the centre value twice) as round(w[k] 2^15), blocks of eight
  // taps padded with zeros; `residual` holds what each misses, in units of 2^-30.
  int blocks;
  int16_t fixed[PREFILTER_MAX_TAPS + 1];
  int16_t residual[PREFILTER_MAX_TAPS + 1];
  float fixedInverse[4];  // 2^-15 / sum
  float fixedBound[4];    // |fixed-point value - exact value| never exceeds this
  double refinedDivisor;  // 2^30 x sum
  double refinedBound;    // the same for the value with the residual added
} FilterPass;

// How often the fast value was not trusted: `exact` values went through the double sequence,
// `flat` ones (every value of the window the same) took the precomputed flat result.
// `refined` ones (fixed point only) were decided by adding the residual weights' share.
typedef struct FallbackCounts {
  uint32_t exact;
  uint32_t flat;
  uint32_t refined;
} FallbackCounts;

// Prepares a pass for the ratio s (destination size / source size).
void SetUpFilterPass(FilterPass *pass, double s);

// One row split into channel planes of 16-bit values: forward[c][x] is channel c of pixel x,
// reversed[c][x] that of pixel width - 1 - x.  Each plane may be read from index -4 to
// width + 8 x blocks + 3, the pixels beyond the row repeating its edge pixels.
typedef struct RowPlanes {
  const int16_t *forward[3];
  const int16_t *reversed[3];
  const uint32_t *differs;  // bit i % 32 of word i / 32: pixel i differs from pixel i + 1
  int32_t width;
} RowPlanes;

// Filters along a row the four pixels x .. x + 3 (x + 3 at most width + 2), from the row's
// planes, in fixed-point arithmetic.  Writes 12 values (whole numbers 0..255, red, green, blue
// of each pixel in turn) to `out`; those of the first `keep` pixels are exact, the others are
// filler.
void FilterFourColumnsFixed(const FilterPass *pass, const RowPlanes *row, int32_t x, int keep,
                            float *out, FallbackCounts *counts);

// Filters across rows: rows[taps + k] is the row k below the one filtered (k = -taps .. taps,
// edge rows repeated by the caller), each `count` floats (a multiple of 8).  A value whose
// sameAbove[i] is at least `span` has the same value in every row of its window.  Writes
// `count` bytes to `out`.
void FilterAcrossRows(const FilterPass *pass, const float *const *rows, const int32_t *sameAbove,
                      int32_t span, int32_t count, uint8_t *out, FallbackCounts *counts);
