// The fast prefilter pass and why its results are exact.
//
// One value of a pass: c the centre value, pk (k = 1 .. n) the sum of the two values k away
// (whole numbers 0..510), wk and S the double weights and sum (S > 0: these filters pass a
// flat picture unchanged).  The whole-picture prefilter computes
//   D = fl(fl(... fl(c + fl(w1 p1)) + ... + fl(wn pn)) / S)
// in doubles, no operation fused with another, and the byte is D truncated, clamped to 0..255.
// So the byte only changes where D crosses one of the whole numbers 1..255: any value known to
// lie on the same side of each of them as D gives the same byte.  The exact value is
// T = X / S, X = c + w1 p1 + ... + wn pn; every partial sum of X is at most
// M = 255 (1 + 2 (|w1| + ... + |wn|)) in size.  With u = 2^-53, each of the n products and n
// sums rounds by at most u times its size (at most 510 |wk|, and M plus the error so far), and
// the division by u |D|, so
//   |D - T| <= (n + 2) u M (1 + 2^-46) / S   (n <= 63);
// the code takes the larger dD = (n + 8) 2^-52 M / S.
//
// The fast sum I = 2^15 c + q1 p1 + ... + qn pn has integer weights qk = round(wk 2^15) (at
// most 32767 in size) and is exact in 32 bits: it stays below
// 2^15 x 255 + 63 x 32767 x 510 < 2^31.  (Along a row the same whole number is summed value
// by value, each weight once on either side and the centre as 2^15 c, every partial sum within
// the same bound.)  With dk = qk 2^-15 - wk (exact doubles: qk 2^-15 and wk are within a
// factor of two of each other, or qk is 0),
//   I 2^-15 - X = d1 p1 + ... + dn pn = 255 (d1 + ... + dn) + the sum of dk (pk - 255).
// The offset O, the whole number nearest 255 2^15 (d1 + ... + dn), is taken off I, which
// leaves
//   |(I - O) 2^-15 - X| <= A = 255 (|d1| + ... + |dn|) + 2^-16.
// The fast value F is the float of I - O times the float of the double nearest 2^-15 / S:
// three roundings of relative size 2^-24 and one of 2^-53, less than 4 x 2^-24 in all (with
// their products), of a number at most M + A <= M + 510 (|d1| + ... + |dn|) + 2^-16 in size.
// So F lies within
//   EF = (A + 4 x 2^-24 (M + 510 (|d1| + ... + |dn|) + 2^-16)) / S + dD
// of D.  Where no whole number 1..255 lies within EF of F, F and D lie on the same side of each
// and F's byte is D's.  EF stays below 0.015 for every ratio (the most near s = 1, four taps),
// far below 1/2, so only the whole number nearest F can be that close: a lane is ambiguous when
// that one is in 1..255 and within EF (F minus it is exact in floats).
//
// An ambiguous lane is summed again with the residual weights rk = round((wk 2^15 - qk) 2^15):
// Y = 2^15 I + (r1 p1 + ... + rn pn) is a whole number below 2^47, exact in a double, and with
// ek = qk 2^-15 + rk 2^-30 - wk, |Y 2^-30 - X| <= B = 510 (|e1| + ... + |en|).  The refined
// value V is Y times the double nearest 2^-30 / S: two roundings of u, at most
// 2 u (1 + u) (M + B) / S <= 2^-51 M / S off (B is tiny beside M).  So V lies within
//   ER = (B + 2^-51 M) / S + dD
// of D, some 2^15 times less than EF, and settles nearly every ambiguous lane the same way.
// Only what is still too close goes to the double sequence.  A flat window (every value c)
// lies as close to c as rounding allows, so it always does; its byte depends on c alone and
// comes from a table made by the same double sequence.
//
// The bounds and O are computed in doubles from sums of up to 64 terms, each sum within a
// relative 2^-46 of its real value (which moves O by less than 2^-46 of A's first term), and
// the bounds are then enlarged by 2 %, far beyond that rounding; EF is then rounded up to a
// float.  ER also
// carries an absolute 1e-12 that the derivation above does not need: a margin of the first
// version, kept because removing it could only make the bound smaller.
#include "filter_pass.h"

#include <math.h>
#include <stddef.h>
#include <string.h>

#include "resample_steps.h"

namespace {

int wideAllowed = 1;

// What the bounds are enlarged by, for the rounding of their own arithmetic.
const double kBoundMargin = 1.02;

// The fixed-point scales (see the top of this file): a fixed weight qk is wk in units of
// 2^-15, a residual rk what qk misses in units of 2^-30.
const double kFixedScale = 32768.0;         // 2^15
const double kRefinedScale = 1073741824.0;  // 2^30

// Whether this processor (and its operating system) runs AVX2 code.  This file is built
// without AVX2, so the check itself runs anywhere.
int WideSumsAvailable() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? 1 : 0;
}

// The double sequence of the whole-picture prefilter for one value: centre, then each pair
// sum times its weight, nearest taps first, then the division by the sum.
int ExactValue(const FilterPass *pass, double centre, const double *pairs) {
  double acc = centre;
  for (int k = 1; k <= pass->taps; ++k) acc += pass->weights[k] * pairs[k];
  return ToByte(acc / pass->sum);
}

// The fixed-point and residual weights, laid out for both directions, and the bounds EF and
// ER (see the top of this file).  `limit` is M.
void SetUpFixedWeights(FilterPass *pass, double limit) {
  const int n = pass->taps;
  pass->pairCount = (n + 2) / 2;
  pass->fixed[0] = 16384;
  pass->residual[0] = 0;
  // The sums of dk, |dk| and |ek|.
  double drift = 0, fixedError = 0, refinedError = 0;
  for (int k = 1; k <= n; ++k) {
    const double scaled = pass->weights[k] * kFixedScale;  // exact
    double q = nearbyint(scaled);
    q = q > 32767 ? 32767 : q < -32767 ? -32767 : q;
    double r = nearbyint((scaled - q) * kFixedScale);
    r = r > 32767 ? 32767 : r < -32767 ? -32767 : r;
    pass->fixed[k] = (int16_t)q;
    pass->residual[k] = (int16_t)r;
    drift += q / kFixedScale - pass->weights[k];
    fixedError += fabs(q / kFixedScale - pass->weights[k]);
    refinedError += fabs(pass->weights[k] - (q * kFixedScale + r) / kRefinedScale);
  }
  pass->alongBlocks = (2 * n + 4 + 15) / 16;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < ALONG_WINDOW; ++j) {
      const int d = j - n - i, k = d < 0 ? -d : d;
      pass->along[i][j] = d != 0 && k <= n ? pass->fixed[k] : 0;
      pass->alongResidual[i][j] = d != 0 && k <= n ? pass->residual[k] : 0;
    }
  }
  for (int j = 0; j < pass->pairCount; ++j) {
    pass->fixedPairs[j] = (int32_t)((uint32_t)(uint16_t)pass->fixed[2 * j] |
                                    (uint32_t)(uint16_t)pass->fixed[2 * j + 1] << 16);
    pass->residualPairs[j] = (int32_t)((uint32_t)(uint16_t)pass->residual[2 * j] |
                                       (uint32_t)(uint16_t)pass->residual[2 * j + 1] << 16);
  }
  // dD S, then EF and ER.
  const double sum = fabs(pass->sum), doubleError = (n + 8) * ldexp(1, -52) * limit;
  const double fixedBound =
      kBoundMargin *
      (255 * fixedError + ldexp(1, -16) +
       4 * ldexp(1, -24) * (limit + 510 * fixedError + ldexp(1, -16)) + doubleError) /
      sum;
  const double refinedBound =
      kBoundMargin * (510 * refinedError + ldexp(1, -51) * limit + doubleError) / sum + 1e-12;
  pass->scale.offset = (int32_t)nearbyint(255 * drift * kFixedScale);
  pass->scale.inverse = (float)(1.0 / (kFixedScale * pass->sum));
  pass->scale.bound = nextafterf((float)fixedBound, 1.0f);
  pass->refinedScale = 1.0 / (kRefinedScale * pass->sum);
  pass->refinedBound = refinedBound;
}

}  // namespace

void AllowWideSums(int allowed) {
  wideAllowed = allowed;
}

void SetUpFilterPass(FilterPass *pass, double s) {
  memset(pass, 0, sizeof *pass);
  pass->kernels = wideAllowed && WideSumsAvailable() ? &kWideKernels : &kNarrowKernels;
  const int n = BuildPrefilterWeights(s, pass->weights, &pass->sum);
  pass->taps = n;
  double magnitude = 0;
  for (int k = 1; k <= n; ++k) magnitude += fabs(pass->weights[k]);
  SetUpFixedWeights(pass, 255.0 * (1 + 2 * magnitude));
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int c = 0; c < 256; ++c) {
    for (int k = 1; k <= n; ++k) pairs[k] = (double)c + (double)c;
    pass->flat[c] = (uint8_t)ExactValue(pass, (double)c, pairs);
  }
}

namespace {

// The ways of settling a value that the fast sum left ambiguous, each on its own: the refined
// value when ER allows, the flat table when the window is flat, the double sequence otherwise.

// The byte of a value from its fixed-point and residual sums, or -1 when ER cannot settle it.
int RefinedByte(const FilterPass *pass, int32_t sum, int32_t residual) {
  const double value = ((double)sum * kFixedScale + (double)residual) * pass->refinedScale;
  const int nearest = (int)(value + 0.5);
  if (nearest >= 1 && nearest <= 255 && fabs(value - nearest) <= pass->refinedBound) return -1;
  return ToByte(value);
}

// The double sequence for the value at `centre` of a plane along a row.
int ExactAlong(const FilterPass *pass, const uint8_t *centre) {
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int k = 1; k <= pass->taps; ++k) pairs[k] = (double)centre[k] + (double)centre[-k];
  return ExactValue(pass, (double)centre[0], pairs);
}

// The double sequence for value i of a row filtered down.
int ExactDown(const FilterPass *pass, const uint8_t *const *up, const uint8_t *const *down,
              int32_t i) {
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int k = 1; k <= pass->taps; ++k) pairs[k] = (double)up[k][i] + (double)down[k][i];
  return ExactValue(pass, (double)up[0][i], pairs);
}

// Whether the pixels first .. last of the row (clamped to the row: edge pixels repeat) are all
// equal.
int WindowIsFlat(const RowPlanes *row, int32_t first, int32_t last) {
  const int32_t lo = first < 0 ? 0 : first, hi = last > row->width - 1 ? row->width - 1 : last;
  if (lo >= hi) return 1;
  // Differences at pixels lo .. hi - 1.
  const int32_t a = lo >> 5, b = (hi - 1) >> 5;
  const uint32_t low = ~0u << (lo & 31), high = ~0u >> (31 - ((hi - 1) & 31));
  if (a == b) return (row->differs[a] & low & high) == 0;
  if (row->differs[a] & low) return 0;
  for (int32_t i = a + 1; i < b; ++i)
    if (row->differs[i]) return 0;
  return (row->differs[b] & high) == 0;
}

// Settles the ambiguous values `bits` (bit i: pixel x + i) of one channel plane of a group
// along a row; sums[i] and out[i] are pixel x + i's.
void SettleAlong(const FilterPass *pass, const RowPlanes *row, const uint8_t *plane, int32_t x,
                 unsigned bits, const int32_t *sums, uint8_t *out, FallbackCounts *counts) {
  const int n = pass->taps;
  int32_t residual[4];
  pass->kernels->sumFourAlong(pass->alongResidual, pass->alongBlocks, plane + x - n, residual);
  for (; bits; bits &= bits - 1) {
    const int i = __builtin_ctz(bits);
    int byte = RefinedByte(pass, sums[i], residual[i]);
    if (byte >= 0) {
      ++counts->refined;
    } else if (WindowIsFlat(row, x + i - n, x + i + n)) {
      ++counts->flat;
      byte = pass->flat[plane[x + i]];
    } else {
      ++counts->exact;
      byte = ExactAlong(pass, plane + x + i);
    }
    out[i] = (uint8_t)byte;
  }
}

// Settles the ambiguous values among start .. end - 1 (multiples of 16) of a row filtered
// down: bit i % 4 of ambiguous[i / 4] marks value i.
void SettleDown(const FilterPass *pass, const uint8_t *const *up, const uint8_t *const *down,
                const uint8_t *sameAbove, int32_t span, int32_t start, int32_t end,
                const int32_t *sums, const uint8_t *ambiguous, uint8_t *out,
                FallbackCounts *counts) {
  // The residual sums of the sixteen values around the last ambiguous one.
  int32_t residual[16];
  int32_t block = -1;
  for (int32_t quad = start / 4; quad < end / 4; ++quad) {
    for (unsigned bits = ambiguous[quad]; bits; bits &= bits - 1) {
      const int32_t i = 4 * quad + __builtin_ctz(bits);
      if (i / 16 != block) {
        block = i / 16;
        pass->kernels->sumDown(pass->residualPairs, pass->pairCount, up, down, 16 * block, 16,
                               residual);
      }
      int byte = RefinedByte(pass, sums[i], residual[i % 16]);
      if (byte >= 0) {
        ++counts->refined;
      } else if (sameAbove[i] >= span) {
        ++counts->flat;
        byte = pass->flat[up[0][i]];
      } else {
        ++counts->exact;
        byte = ExactDown(pass, up, down, i);
      }
      out[i] = (uint8_t)byte;
    }
  }
}

}  // namespace

int32_t AlongScratchWords(int32_t count) {
  // The sums (a compact row's, padded to a multiple of 8), then a byte of ambiguity bits per four
  // of them, then a byte per group: its window is flat.
  const int32_t padded = (COMPACT_GROUP_VALUES * count + 7) / 8 * 8;
  return padded + (padded / 4 + count + 3) / 4 + 1;
}

void FilterRowAlong(const FilterPass *pass, const RowPlanes *row, const ColumnGroup *groups,
                    int32_t count, int32_t *sums, uint8_t *out, FallbackCounts *counts) {
  const int n = pass->taps;
  const int32_t padded = (COMPACT_GROUP_VALUES * count + 7) / 8 * 8;
  uint8_t *ambiguous = (uint8_t *)(sums + padded);
  uint8_t *flat = ambiguous + padded / 4;
  for (int32_t g = 0; g < count; ++g)
    flat[g] = (uint8_t)WindowIsFlat(row, groups[g].x - n, groups[g].x + 3 + n);
  pass->kernels->sumGroupsAlong(pass->along, pass->alongBlocks, n, row->plane, groups, flat, count,
                                sums);
  pass->kernels->finishSums(&pass->scale, sums, padded, out, ambiguous);
  for (int32_t g = 0; g < count; ++g, sums += COMPACT_GROUP_VALUES, out += COMPACT_GROUP_VALUES) {
    const int32_t x = groups[g].x;
    const int keep = groups[g].keep;
    // One colour under the whole window of all four pixels: the flat table says it all.
    if (flat[g]) {
      for (int c = 0; c < 3; ++c) memset(out + 4 * c, pass->flat[row->plane[c][x]], 4);
      counts->flat += 3 * keep;
      continue;
    }
    const unsigned kept = (1u << keep) - 1;
    for (int c = 0; c < 3; ++c) {
      const unsigned bits = ambiguous[3 * g + c] & kept;
      if (bits) SettleAlong(pass, row, row->plane[c], x, bits, sums + 4 * c, out + 4 * c, counts);
    }
  }
}

int32_t DownScratchWords(int32_t count) {
  // The sums, then a byte of ambiguity bits per four of them.
  return count + count / 16 + 1;
}

void FilterRowDown(const FilterPass *pass, const uint8_t *const *rows, const uint8_t *sameAbove,
                   int32_t span, int32_t count, int32_t *sums, uint8_t *out,
                   FallbackCounts *counts) {
  const int n = pass->taps, pairCount = pass->pairCount;
  const uint8_t *const *middle = rows + n;
  // Rows k above and below, k = 0 .. 2 x pairCount - 1; a tap past n weighs nothing.
  const uint8_t *up[PREFILTER_MAX_TAPS + 2], *down[PREFILTER_MAX_TAPS + 2];
  for (int k = 0; k < 2 * pairCount; ++k) {
    up[k] = k <= n ? middle[-k] : middle[0];
    down[k] = k <= n ? middle[k] : middle[0];
  }
  uint8_t *ambiguous = (uint8_t *)(sums + count);
  // Chunks of columns small enough that the values of all rows stay in the first-level cache
  // until the ambiguous ones among them are looked at again.
  const int32_t chunk = 256;
  for (int32_t start = 0; start < count; start += chunk) {
    const int32_t end = start + chunk < count ? start + chunk : count;
    pass->kernels->sumDown(pass->fixedPairs, pairCount, up, down, start, end - start, sums + start);
    pass->kernels->finishSums(&pass->scale, sums + start, end - start, out + start,
                              ambiguous + start / 4);
    SettleDown(pass, up, down, sameAbove, span, start, end, sums, ambiguous, out, counts);
  }
}
