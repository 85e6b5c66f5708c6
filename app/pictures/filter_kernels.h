// The fixed-point sums of the fast prefilter pass, in two widths: 128-bit SSE2 vectors, which
// every processor that runs the program has, and 256-bit AVX2 ones.  Integer sums: both
// widths give the same numbers, and the same bytes follow from them.  Each width is one table
// of kernels; the pass chooses one when it is set up and calls nothing else of either.
//
// Directions: "along" is within one row, "down" is from row to row (one column).
#pragma once

#include <stdint.h>

// Values of one window along a row, for four neighbouring pixels: a multiple of 16 that covers
// the 2 x 63 + 4 values the widest window of four pixels spans.
#define ALONG_WINDOW 144

// Up to four neighbouring pixels of a row filtered together: x .. x + keep - 1.
//
// The compact row: what the fast path keeps of a row filtered along, only the values of the
// columns the stretch reads.  Group g of a row's groups fills values 12 g .. 12 g + 11: the
// reds of its four pixels x .. x + 3, then their greens, then their blues (so a pixel's three
// values lie four apart); the values of pixels past `keep` are filler.  A row of `count` groups
// is padded with zeros to a multiple of 16 values, the width of the vectors that filter it down.
#define COMPACT_GROUP_VALUES 12
typedef struct ColumnGroup {
  int32_t x;
  int32_t keep;
} ColumnGroup;

// Turning fixed-point sums into values: value = (sum - offset) x inverse, in floats; a value
// within `bound` of one of the whole numbers 1..255 is ambiguous.
typedef struct FixedScale {
  int32_t offset;
  float inverse;
  float bound;
} FixedScale;

typedef struct FilterKernels {
  // Along a row: four pixels x .. x + 3 are filtered from the values at x - taps onwards;
  // weights[i][j] weighs value j for pixel x + i, 16 x `blocks` values of each.  Fills
  // sums[12 g .. 12 g + 11] with the sums of group g in the order of a compact row (see
  // ColumnGroup), the centre's share (2^15 times its value) included; zeros for a group whose
  // flat[g] is nonzero.  plane[c][x] is channel c of pixel x, readable from
  // x - taps to x - taps + 16 x blocks.
  void (*sumGroupsAlong)(const int16_t (*weights)[ALONG_WINDOW], int blocks, int taps,
                         const uint8_t *const plane[3], const ColumnGroup *groups,
                         const uint8_t *flat, int32_t count, int32_t *sums);
  // The four sums of one window along a row, without the centre: window[j] is the value j
  // places from x - taps, weights as above.
  void (*sumFourAlong)(const int16_t (*weights)[ALONG_WINDOW], int blocks, const uint8_t *window,
                       int32_t sums[4]);
  // Down: the sums of `count` values (a multiple of 16) from value `first` on, with the pair
  // weights `pairs` (word j: taps 2 j in the low half, 2 j + 1 in the high one), up[k] and
  // down[k] the rows k above and below (row 0 twice); value first + j's sum to sums[j].
  void (*sumDown)(const int32_t *pairs, int pairCount, const uint8_t *const *up,
                  const uint8_t *const *down, int32_t first, int32_t count, int32_t *sums);
  // Finishes `count` sums (a multiple of 8): whole numbers 0..255 to `out` (truncated and
  // clamped), and in ambiguous[i / 4] bit i % 4 for each ambiguous value i.
  void (*finishSums)(const FixedScale *scale, const int32_t *sums, int32_t count, uint8_t *out,
                     uint8_t *ambiguous);
} FilterKernels;

// SSE2; runs anywhere.
extern const FilterKernels kNarrowKernels;
// AVX2; only for a processor that has it.  Built with AVX2 enabled for its file alone.
extern const FilterKernels kWideKernels;
