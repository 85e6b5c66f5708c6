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
} FilterPass;

// How often the fast value was not trusted: `exact` values went through the double sequence,
// `flat` ones (every value of the window the same) took the precomputed flat result.
typedef struct FallbackCounts {
  uint32_t exact;
  uint32_t flat;
} FallbackCounts;

// Prepares a pass for the ratio s (destination size / source size).
void SetUpFilterPass(FilterPass *pass, double s);

// Filters along a row the four pixels x .. x + 3.  `row` points at pixel 0 of a row of
// interleaved red, green, blue values (whole numbers 0..255 as floats) that carries at least
// taps + 3 repeated edge pixels beyond each end; runEnd[i] is the last pixel of the run of
// pixels equal to pixel i (same indices, edge pixels included).  Writes 12 values (whole
// numbers 0..255) to `out`; those of the first `keep` pixels are exact, the others are filler.
void FilterFourColumns(const FilterPass *pass, const float *row, const int32_t *runEnd, int32_t x,
                       int keep, float *out, FallbackCounts *counts);

// Filters across rows: rows[taps + k] is the row k below the one filtered (k = -taps .. taps,
// edge rows repeated by the caller), each `count` floats (a multiple of 8).  A value whose
// sameAbove[i] is at least `span` has the same value in every row of its window.  Writes
// `count` bytes to `out`.
void FilterAcrossRows(const FilterPass *pass, const float *const *rows, const int32_t *sameAbove,
                      int32_t span, int32_t count, uint8_t *out, FallbackCounts *counts);
