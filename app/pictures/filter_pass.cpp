// The fast prefilter pass and why its results are exact.
//
// The exact value of one channel is D = fl(fl(c + w1 p1 + ... + wn pn) / S) in doubles (c the
// centre value, pk the sum of the two values k away, wk and S the double weights and sum), and
// the byte is D truncated, clamped to 0..255.  That byte only changes where D crosses one of
// the whole numbers 1..255.  Let M = 255 (1 + 2 (|w1| + ... + |wn|)), a bound of every partial
// sum; D lies within (n + 8) 2^-53 M / S of the real value T = (c + sum wk pk) / S (S > 0:
// these filters pass a flat picture unchanged).
//
// The fast sum I = 2^14 (2c) + q1 p1 + ... + qn pn has integer weights qk = round(wk 2^15)
// and is exact in 32 bits: the pair sums are whole numbers 0..510 and every term stays below
// 63 x 32767 x 510 < 2^31.  (Along a row the same whole number is summed value by value, each
// weight once on either side and the centre as 2^15 c, every partial sum within the same
// bound.)  I 2^-15 exceeds c + sum wk pk by sum dk pk, dk = qk 2^-15 - wk;
// as every pk lies in 0..510, that is 255 (d1 + ... + dn) give or take 255 (|d1| + ... +
// |dn|), and the first part is taken off I as a whole number.  The fast value F is the float
// of the rest times the float of 2^-15 / S: three roundings of relative size 2^-24 more.
// With E a little above the sum of these errors and D's own, F and D lie on the same side of
// every whole number more than E away from F, so F's
// byte is D's.  A lane within E of one of 1..255 is summed again with the residual weights
// rk = round((wk 2^15 - qk) 2^15); (I 2^15 + R) 2^-30 / S, formed exactly and multiplied by
// the double nearest 2^-30 / S (two roundings), has a bound some 2^15 times smaller and settles
// nearly every such lane.  Only what is still too close goes to the double sequence.  Flat windows
// sit exactly on a whole number (T = c), so they always do; their byte depends on c alone and comes
// from a table made by the same double sequence.
#include "filter_pass.h"

#include <emmintrin.h>
#include <math.h>
#include <stddef.h>
#include <string.h>

#include "filter_pass_wide.h"

namespace {

int wideAllowed = 1;

// Whether this processor (and its operating system) runs AVX2 code.
int WideSumsAvailable() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? 1 : 0;
}

int ToByte(double value) {
  int v = (int)value;  // truncation toward zero
  return v < 0 ? 0 : v > 255 ? 255 : v;
}

// The double sequence of the whole-picture prefilter for one value: centre, then each pair
// sum times its weight, nearest taps first, then the division by the sum.
int ExactValue(const FilterPass *pass, double centre, const double *pairs) {
  double acc = centre;
  for (int k = 1; k <= pass->taps; ++k) acc += pass->weights[k] * pairs[k];
  return ToByte(acc / pass->sum);
}

// Scales four fixed-point sums, truncates and clamps them to whole numbers 0..255, and marks
// in `ambiguous` the lanes that lie within the error bound of one of 1..255.
inline __m128i FinishLanes(const FilterPass *pass, __m128i sums, int *ambiguous) {
  const __m128i centred = _mm_sub_epi32(sums, _mm_set1_epi32(pass->fixedOffset));
  const __m128 value = _mm_mul_ps(_mm_cvtepi32_ps(centred), _mm_loadu_ps(pass->fixedInverse));
  const __m128i nearest = _mm_cvtps_epi32(value);
  const __m128 distance =
      _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm_sub_ps(value, _mm_cvtepi32_ps(nearest)));
  const __m128i boundary = _mm_and_si128(_mm_cmpgt_epi32(nearest, _mm_setzero_si128()),
                                         _mm_cmplt_epi32(nearest, _mm_set1_epi32(256)));
  const __m128 close = _mm_and_ps(_mm_cmple_ps(distance, _mm_loadu_ps(pass->fixedBound)),
                                  _mm_castsi128_ps(boundary));
  *ambiguous = _mm_movemask_ps(close);
  const __m128 clamped = _mm_min_ps(_mm_max_ps(value, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  return _mm_cvttps_epi32(clamped);
}

// Decides a value from its fixed-point and residual sums when the bound allows: returns 1 and
// stores the byte, or 0.
int Refine(const FilterPass *pass, int32_t sum, int32_t residual, int *byte) {
  const double value = ((double)sum * 32768.0 + (double)residual) * pass->refinedScale;
  const int nearest = (int)(value + 0.5);
  if (nearest >= 1 && nearest <= 255 && fabs(value - nearest) <= pass->refinedBound) return 0;
  *byte = ToByte(value);
  return 1;
}

// The four lane sums of each of a, b, c, d, as the four lanes of one vector.
inline __m128i SumLanes(__m128i a, __m128i b, __m128i c, __m128i d) {
  const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
  const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
  return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
}

// Eight bytes as eight 16-bit values.
inline __m128i WidenEight(const uint8_t *p) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i *)p), _mm_setzero_si128());
}

inline __m128i LoadEight(const int16_t *p) {
  return _mm_loadu_si128((const __m128i *)p);
}

// The four sums of a window along a row: window[j] is the value j places from x - taps, and
// weights[i] weighs the window for pixel x + i (16 x `blocks` values of each).
inline __m128i SumFourAlong(const int16_t (*weights)[ALONG_WINDOW], int blocks,
                            const uint8_t *window) {
  __m128i a0 = _mm_setzero_si128(), a1 = a0, a2 = a0, a3 = a0;
  for (int j = 0; j < 16 * blocks; j += 8) {
    const __m128i values = WidenEight(window + j);
    a0 = _mm_add_epi32(a0, _mm_madd_epi16(values, LoadEight(weights[0] + j)));
    a1 = _mm_add_epi32(a1, _mm_madd_epi16(values, LoadEight(weights[1] + j)));
    a2 = _mm_add_epi32(a2, _mm_madd_epi16(values, LoadEight(weights[2] + j)));
    a3 = _mm_add_epi32(a3, _mm_madd_epi16(values, LoadEight(weights[3] + j)));
  }
  return SumLanes(a0, a1, a2, a3);
}

// The SSE2 form of SumRowAlongWide.
void SumRowAlong(const FilterPass *pass, const RowPlanes *row, const ColumnGroup *groups,
                 int32_t count, int32_t *sums) {
  const int n = pass->taps;
  for (int32_t g = 0; g < count; ++g, sums += 12) {
    const int32_t x = groups[g].x;
    if (WindowIsFlat(row, x - n, x + 3 + n)) {
      for (int i = 0; i < 12; ++i) sums[i] = FLAT_GROUP;
      continue;
    }
    for (int c = 0; c < 3; ++c) {
      const __m128i centre = _mm_slli_epi32(
          _mm_unpacklo_epi16(WidenEight(row->plane[c] + x), _mm_setzero_si128()), 15);
      const __m128i sum = SumFourAlong(pass->along, pass->alongBlocks, row->plane[c] + x - n);
      _mm_storeu_si128((__m128i *)(sums + 4 * c), _mm_add_epi32(sum, centre));
    }
  }
}

// The sums of eight neighbouring values across rows with the pair weights `pairs`: up[k] and
// down[k] are the rows k above and below.
inline void SumEightAcross(const int32_t *pairs, int pairCount, const uint8_t *const *up,
                           const uint8_t *const *down, int32_t at, __m128i *low, __m128i *high) {
  __m128i lo = _mm_setzero_si128(), hi = lo;
  for (int j = 0; j < pairCount; ++j) {
    const int k = 2 * j;
    const __m128i p0 = _mm_add_epi16(WidenEight(up[k] + at), WidenEight(down[k] + at));
    const __m128i p1 = _mm_add_epi16(WidenEight(up[k + 1] + at), WidenEight(down[k + 1] + at));
    const __m128i w = _mm_set1_epi32(pairs[j]);
    lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(p0, p1), w));
    hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(p0, p1), w));
  }
  *low = lo;
  *high = hi;
}

// The fixed-point weights and their error bounds (see the top of this file).  `limit` is M.
void SetUpFixedWeights(FilterPass *pass, double limit) {
  const int n = pass->taps;
  pass->pairCount = (n + 2) / 2;
  pass->fixed[0] = 16384;
  pass->residual[0] = 0;
  double fixedError = 0, fixedDrift = 0, refinedError = 0;
  for (int k = 1; k <= n; ++k) {
    const double scaled = pass->weights[k] * 32768.0;  // exact
    double q = nearbyint(scaled);
    q = q > 32767 ? 32767 : q < -32767 ? -32767 : q;
    double r = nearbyint((scaled - q) * 32768.0);
    r = r > 32767 ? 32767 : r < -32767 ? -32767 : r;
    pass->fixed[k] = (int16_t)q;
    pass->residual[k] = (int16_t)r;
    fixedError += fabs(q / 32768.0 - pass->weights[k]);
    fixedDrift += q / 32768.0 - pass->weights[k];
    refinedError += fabs(pass->weights[k] - (q * 32768.0 + r) / 1073741824.0);
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
  const double sum = fabs(pass->sum), doubleError = (n + 8) * ldexp(1, -52) * limit;
  // The sum's error, sum dk pk with dk = qk 2^-15 - wk and pk in 0..510, is 255 (sum dk) give or
  // take 255 (sum |dk|): the offset takes off the first part (to within half a unit).
  pass->fixedOffset = (int32_t)nearbyint(255 * fixedDrift * 32768.0);
  const double fixedBound = 1.02 *
                            (255 * fixedError + ldexp(1, -16) +
                             4 * ldexp(1, -24) * (limit + 510 * fixedError) + doubleError) /
                            sum;
  const double refinedBound =
      1.02 * (510 * refinedError + ldexp(1, -51) * limit + doubleError) / sum + 1e-12;
  for (int lane = 0; lane < 4; ++lane) {
    pass->fixedInverse[lane] = (float)(1.0 / (32768.0 * pass->sum));
    pass->fixedBound[lane] = nextafterf((float)fixedBound, 1.0f);
  }
  pass->refinedScale = 1.0 / (1073741824.0 * pass->sum);
  pass->refinedBound = refinedBound;
}

}  // namespace

void AllowWideSums(int allowed) {
  wideAllowed = allowed;
}

void SetUpFilterPass(FilterPass *pass, double s) {
  memset(pass, 0, sizeof *pass);
  pass->wide = wideAllowed && WideSumsAvailable();
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

namespace {

// Finishes `count` sums (a multiple of 4) with FinishLanes: whole numbers 0..255 to `out`, and
// bit i % 32 of ambiguous[i / 32] set for each value that needs a closer look.
void FinishSums(const FilterPass *pass, const int32_t *sums, int32_t count, uint8_t *out,
                uint32_t *ambiguous) {
  for (int32_t i = 0; i < count; i += 4) {
    int bits;
    const __m128i whole = FinishLanes(pass, _mm_loadu_si128((const __m128i *)(sums + i)), &bits);
    if (i % 32 == 0) ambiguous[i / 32] = 0;
    ambiguous[i / 32] |= (uint32_t)bits << (i % 32);
    const __m128i words = _mm_packs_epi32(whole, whole);
    const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    memcpy(out + i, &bytes, 4);
  }
}

// Values 12 g .. 12 g + 11 of an ambiguity bitmap, as bits 0..11.
inline uint32_t GroupBits(const uint32_t *ambiguous, int32_t g) {
  const int32_t first = 12 * g, word = first / 32, bit = first % 32;
  uint32_t bits = ambiguous[word] >> bit;
  if (bit > 20) bits |= ambiguous[word + 1] << (32 - bit);
  return bits & 0xFFF;
}

}  // namespace

int32_t AlongScratchWords(int32_t count) {
  const int32_t padded = (12 * count + 7) / 8 * 8;
  return padded + padded / 32 + 2;
}

void FilterRowAlong(const FilterPass *pass, const RowPlanes *row, const ColumnGroup *groups,
                    int32_t count, int32_t *sums, uint8_t *out, FallbackCounts *counts) {
  const int32_t padded = (12 * count + 7) / 8 * 8;
  uint32_t *ambiguousBits = (uint32_t *)(sums + padded);
  if (pass->wide) {
    SumRowAlongWide(pass, row, groups, count, sums);
    FinishSumsWide(pass, sums, padded, out, ambiguousBits);
  } else {
    SumRowAlong(pass, row, groups, count, sums);
    FinishSums(pass, sums, padded, out, ambiguousBits);
  }
  const int n = pass->taps;
  for (int32_t g = 0; g < count; ++g, sums += 12, out += 12) {
    const int32_t x = groups[g].x;
    const int keep = groups[g].keep;
    const uint32_t keepMask = (1u << keep) - 1;
    const uint32_t bits = GroupBits(ambiguousBits, g) & (keepMask | keepMask << 4 | keepMask << 8);
    if (!bits && sums[0] != FLAT_GROUP) continue;
    // One colour under the whole window of all four pixels: the flat table says it all.
    if (sums[0] == FLAT_GROUP) {
      for (int c = 0; c < 3; ++c) {
        const uint8_t value = pass->flat[row->plane[c][x]];
        for (int i = 0; i < 4; ++i) out[4 * c + i] = value;
      }
      counts->flat += 3 * keep;
      continue;
    }
    for (int c = 0; c < 3; ++c) {
      const uint32_t ambiguous = (bits >> (4 * c)) & 15;
      if (!ambiguous) continue;
      const uint8_t *plane = row->plane[c];
      int32_t residual[4];
      const uint8_t *window = plane + x - n;
      _mm_storeu_si128((__m128i *)residual,
                       pass->wide ? SumFourAlongWide(pass->alongResidual, pass->alongBlocks, window)
                                  : SumFourAlong(pass->alongResidual, pass->alongBlocks, window));
      for (int i = 0; i < keep; ++i) {
        if (!(ambiguous & (1u << i))) continue;
        int byte;
        if (Refine(pass, sums[4 * c + i], residual[i], &byte)) {
          ++counts->refined;
        } else if (WindowIsFlat(row, x + i - n, x + i + n)) {
          ++counts->flat;
          byte = pass->flat[plane[x + i]];
        } else {
          ++counts->exact;
          double pairs[PREFILTER_MAX_TAPS + 1];
          for (int k = 1; k <= n; ++k)
            pairs[k] = (double)plane[x + i + k] + (double)plane[x + i - k];
          byte = ExactValue(pass, (double)plane[x + i], pairs);
        }
        out[4 * c + i] = (uint8_t)byte;
      }
    }
  }
}

namespace {

// The values start .. end - 1 across rows that the bound could not settle, one by one.
void SettleAcross(const FilterPass *pass, const uint8_t *const *up, const uint8_t *const *down,
                  const uint8_t *sameAbove, int32_t span, int32_t start, int32_t end,
                  const int32_t *sums, const uint32_t *ambiguous, uint8_t *out,
                  FallbackCounts *counts) {
  const int n = pass->taps;
  // The residual sums of the sixteen values around the last ambiguous one.
  int32_t residual[16];
  int32_t block = -1;
  for (int32_t word = start / 32; word < (end + 31) / 32; ++word) {
    for (uint32_t bits = ambiguous[word]; bits; bits &= bits - 1) {
      const int32_t i = 32 * word + __builtin_ctz(bits);
      if (i / 16 != block) {
        block = i / 16;
        __m128i four[4];
        if (pass->wide) {
          SumSixteenAcrossWide(pass->residualPairs, pass->pairCount, up, down, 16 * block, four);
        } else {
          SumEightAcross(pass->residualPairs, pass->pairCount, up, down, 16 * block, &four[0],
                         &four[1]);
          SumEightAcross(pass->residualPairs, pass->pairCount, up, down, 16 * block + 8, &four[2],
                         &four[3]);
        }
        for (int part = 0; part < 4; ++part)
          _mm_storeu_si128((__m128i *)(residual + 4 * part), four[part]);
      }
      int byte;
      if (Refine(pass, sums[i], residual[i % 16], &byte)) {
        ++counts->refined;
      } else if (sameAbove[i] >= span) {
        ++counts->flat;
        byte = pass->flat[up[0][i]];
      } else {
        ++counts->exact;
        double pairs[PREFILTER_MAX_TAPS + 1];
        for (int k = 1; k <= n; ++k) pairs[k] = (double)up[k][i] + (double)down[k][i];
        byte = ExactValue(pass, (double)up[0][i], pairs);
      }
      out[i] = (uint8_t)byte;
    }
  }
}

}  // namespace

int32_t AcrossScratchWords(int32_t count) {
  return count + count / 32 + 2;
}

void FilterAcrossRows(const FilterPass *pass, const uint8_t *const *rows, const uint8_t *sameAbove,
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
  uint32_t *ambiguous = (uint32_t *)(sums + count);
  // Chunks of columns small enough that the values of all rows stay in the first-level cache
  // until the ambiguous ones among them are looked at again.
  const int32_t chunk = 256;
  for (int32_t start = 0; start < count; start += chunk) {
    const int32_t end = start + chunk < count ? start + chunk : count;
    if (pass->wide) {
      for (int32_t at = start; at < end; at += 16) {
        __m128i four[4];
        SumSixteenAcrossWide(pass->fixedPairs, pairCount, up, down, at, four);
        for (int part = 0; part < 4; ++part)
          _mm_storeu_si128((__m128i *)(sums + at + 4 * part), four[part]);
      }
      FinishSumsWide(pass, sums + start, end - start, out + start, ambiguous + start / 32);
    } else {
      for (int32_t at = start; at < end; at += 8) {
        __m128i low, high;
        SumEightAcross(pass->fixedPairs, pairCount, up, down, at, &low, &high);
        _mm_storeu_si128((__m128i *)(sums + at), low);
        _mm_storeu_si128((__m128i *)(sums + at + 4), high);
      }
      FinishSums(pass, sums + start, end - start, out + start, ambiguous + start / 32);
    }
    SettleAcross(pass, up, down, sameAbove, span, start, end, sums, ambiguous, out, counts);
  }
}
