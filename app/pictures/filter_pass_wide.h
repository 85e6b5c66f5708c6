// The fixed-point sums along a row with 256-bit AVX2 vectors, for processors that have them.
// Integer sums: the same numbers as the 128-bit SSE2 ones, so the bytes that follow from them
// are the same too.  Call only on a processor with AVX2 (the check lives in filter_pass.cpp,
// which is built without AVX2, so that it runs anywhere).
#pragma once

#include <emmintrin.h>
#include <stdint.h>

#include "filter_pass.h"

// Marks a group whose whole window holds one colour in its first sum: no sums are taken for it.
// No real sum comes near it (they stay within +-2^31 / 2).
#define FLAT_GROUP INT32_MIN

// The fixed-point sums of every group along the row, 12 per group in the order of
// FilterRowAlong's values, the centre's share (2^15 times its value) included; FLAT_GROUP
// first for a group whose window is flat (WindowIsFlat).
void SumRowAlongWide(const FilterPass *pass, const RowPlanes *row, const ColumnGroup *groups,
                     int32_t count, int32_t *sums);

// The four sums of a window along a row: window[j] is the value j places from x - taps, and
// weights[i] weighs the window for pixel x + i (16 x `blocks` values of each).
__m128i SumFourAlongWide(const int16_t (*weights)[ALONG_WINDOW], int blocks, const uint8_t *window);

// Finishes `count` sums (a multiple of 8) as FinishSums does.
void FinishSumsWide(const FilterPass *pass, const int32_t *sums, int32_t count, uint8_t *out,
                    uint32_t *ambiguous);

// The sums of sixteen neighbouring values across rows (four vectors of four) with the pair
// weights `pairs`: up[k] and down[k] are the rows k above and below.
void SumSixteenAcrossWide(const int32_t *pairs, int pairCount, const uint8_t *const *up,
                          const uint8_t *const *down, int32_t at, __m128i sums[4]);
