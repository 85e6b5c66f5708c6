// The fast prefilter pass and why its results are exact.
//
// The exact value of one channel is D = fl(fl(c + w1 p1 + ... + wn pn) / S) in doubles (c the
// centre value, pk the sum of the two values k away, wk and S the double weights and sum), and
// the byte is D truncated, clamped to 0..255.  That byte only changes where D crosses one of
// the whole numbers 1..255.  The fast value F is the same sum in single precision (any order),
// times fl(1 / S).  Let u = 2^-24 and M = 255 (1 + 2 (|w1| + ... + |wn|)), a bound of every
// partial sum and of c + sum |wk pk|.  Against the real value T = (c + sum wk pk) / S:
//   - each float weight and product is off by at most 2u relative: together 2.01 u M;
//   - each of the at most n + 1 additions rounds by at most u of a partial sum: (n + 1) u M;
//   - the inverse of S (double, then float) and the final product: 3.01 u M / S;
// so |F - T| <= (n + 8) u M / S (S > 0: these filters pass a flat picture unchanged).  D's
// own error is the same sum with 2^-53 in place of u.  With E a little above both, F and D
// lie on the same side of every whole number that is more than E away from F, so F's byte is
// D's.  Only a lane within E of one of 1..255 goes to the double sequence.  Flat windows sit
// exactly on a whole number (T = c), so they always do; their byte depends on c alone and
// comes from a table made by the same double sequence.
//
// Along rows the sum is taken in fixed point instead: weights qk = round(wk 2^15) on the pair
// sums (whole numbers 0..510), added exactly in 32 bits, eight taps per multiply-add.  Its
// distance from T is at most 510 (|w1 - q1 2^-15| + ... + |wn - qn 2^-15|) / S plus the
// roundings of scaling it in single precision (SetUpFixedWeights).  A lane within that bound
// of one of 1..255 is summed again with the residual weights (what the qk miss, in units of
// 2^-30); the bound of the two together is some 2^15 times smaller and settles nearly every
// such lane.  Only what is still too close goes to the flat table or the double sequence.
#include "filter_pass.h"

#include <emmintrin.h>
#include <math.h>
#include <stddef.h>
#include <string.h>

namespace {

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

// Settle for a value filtered across rows, whose window lies in separate rows.
int SettleAcross(const FilterPass *pass, const float *const *middle, int32_t at, int flat,
                 FallbackCounts *counts) {
  if (flat) {
    ++counts->flat;
    return pass->flat[(int)middle[0][at]];
  }
  ++counts->exact;
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int k = 1; k <= pass->taps; ++k) pairs[k] = (double)middle[-k][at] + (double)middle[k][at];
  return ExactValue(pass, (double)middle[0][at], pairs);
}

// Scales four fast sums, truncates and clamps them to whole numbers 0..255, and marks in the
// returned mask the lanes that lie within the error bound of one of 1..255.
__m128 FinishScaled(const float *inverse, const float *bound, __m128 acc, int *ambiguous) {
  const __m128 value = _mm_mul_ps(acc, _mm_loadu_ps(inverse));
  const __m128i nearest = _mm_cvtps_epi32(value);
  const __m128 distance =
      _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm_sub_ps(value, _mm_cvtepi32_ps(nearest)));
  const __m128i boundary = _mm_and_si128(_mm_cmpgt_epi32(nearest, _mm_setzero_si128()),
                                         _mm_cmplt_epi32(nearest, _mm_set1_epi32(256)));
  const __m128 close =
      _mm_and_ps(_mm_cmple_ps(distance, _mm_loadu_ps(bound)), _mm_castsi128_ps(boundary));
  *ambiguous = _mm_movemask_ps(close);
  const __m128 clamped = _mm_min_ps(_mm_max_ps(value, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  return _mm_cvtepi32_ps(_mm_cvttps_epi32(clamped));
}

__m128 FinishLanes(const FilterPass *pass, __m128 acc, int *ambiguous) {
  return FinishScaled(pass->fastInverse, pass->bound, acc, ambiguous);
}

// The four lane sums of each of a, b, c, d, as the four lanes of one vector.
inline __m128i SumLanes(__m128i a, __m128i b, __m128i c, __m128i d) {
  const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
  const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
  return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
}

// acc + weights[0..7] x (pairs of taps 8 j .. 8 j + 7): `right` holds the values 8 j .. 8 j + 7
// to the right, `left` (a reversed plane) those to the left.
inline __m128i AddFixedTaps(__m128i acc, const int16_t *weights, const int16_t *right,
                            const int16_t *left) {
  const __m128i pairs = _mm_add_epi16(_mm_loadu_si128((const __m128i *)right),
                                      _mm_loadu_si128((const __m128i *)left));
  return _mm_add_epi32(acc, _mm_madd_epi16(pairs, _mm_loadu_si128((const __m128i *)weights)));
}

// The fixed-point sum of one value with the weights `weights`: right[k] and left[k] are the
// values k to either side.
int32_t FixedSum(const int16_t *weights, int blocks, const int16_t *right, const int16_t *left) {
  __m128i acc = _mm_setzero_si128();
  for (int j = 0; j < 8 * blocks; j += 8) acc = AddFixedTaps(acc, weights + j, right + j, left + j);
  const __m128i z = _mm_setzero_si128();
  return _mm_cvtsi128_si32(SumLanes(acc, z, z, z));
}

// Settles one value along a row whose fixed-point sum `sum` could not: first with the
// residual weights added, then as Settle does.
int SettleFixed(const FilterPass *pass, int32_t sum, const int16_t *right, const int16_t *left,
                int flat, FallbackCounts *counts) {
  const int32_t residual = FixedSum(pass->residual, pass->blocks, right, left);
  const double value = ((double)sum * 32768.0 + (double)residual) / pass->refinedDivisor;
  const double nearest = floor(value + 0.5);
  if (!(nearest >= 1 && nearest <= 255 && fabs(value - nearest) <= pass->refinedBound)) {
    ++counts->refined;
    return ToByte(value);
  }
  if (flat) {
    ++counts->flat;
    return pass->flat[right[0]];
  }
  ++counts->exact;
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int k = 1; k <= pass->taps; ++k) pairs[k] = (double)right[k] + (double)left[k];
  return ExactValue(pass, (double)right[0], pairs);
}

// Whether the pixels first .. last of the row (clamped to the row: edge pixels repeat) are all
// equal.
int Flat(const RowPlanes *row, int32_t first, int32_t last) {
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

// The fixed-point weights and their error bounds.  Pair sums are whole numbers 0..510, so a
// sum whose weights are each off by e_k is off by at most 510 (|e_1| + ... + |e_n|) (the
// centre's weight 2^14 on the doubled centre value is exact).  The integer sum is exact: its
// terms stay below 63 x 32767 x 510 < 2^31.  The fixed-point value is then the float of that
// sum times the float of 2^-15 / S: three more roundings of relative size 2^-24 of a value
// below the limit M.  The value with the residual added is exact up to the residual weights'
// own error and one rounding of the double division.  Both bounds also take in the double
// sequence's own error, as the float bound does.
void SetUpFixedWeights(FilterPass *pass, double limit) {
  const int n = pass->taps;
  pass->blocks = (n + 8) / 8;
  pass->fixed[0] = 16384;
  pass->residual[0] = 0;
  double fixedError = 0, refinedError = 0;
  for (int k = 1; k <= n; ++k) {
    const double scaled = pass->weights[k] * 32768.0;  // exact
    double q = nearbyint(scaled);
    q = q > 32767 ? 32767 : q < -32767 ? -32767 : q;
    double r = nearbyint((scaled - q) * 32768.0);
    r = r > 32767 ? 32767 : r < -32767 ? -32767 : r;
    pass->fixed[k] = (int16_t)q;
    pass->residual[k] = (int16_t)r;
    fixedError += fabs(pass->weights[k] - q / 32768.0);
    refinedError += fabs(pass->weights[k] - (q * 32768.0 + r) / 1073741824.0);
  }
  const double sum = fabs(pass->sum), doubleError = (n + 8) * ldexp(1, -52) * limit;
  const double fixedBound =
      1.02 * (510 * fixedError + 4 * ldexp(1, -24) * (limit + 510 * fixedError) + doubleError) /
      sum;
  const double refinedBound =
      1.02 * (510 * refinedError + ldexp(1, -52) * limit + doubleError) / sum + 1e-12;
  for (int lane = 0; lane < 4; ++lane) {
    pass->fixedInverse[lane] = (float)(1.0 / (32768.0 * pass->sum));
    pass->fixedBound[lane] = nextafterf((float)fixedBound, 1.0f);
  }
  pass->refinedDivisor = 1073741824.0 * pass->sum;
  pass->refinedBound = refinedBound;
}

}  // namespace

void SetUpFilterPass(FilterPass *pass, double s) {
  memset(pass, 0, sizeof *pass);
  int n = BuildPrefilterWeights(s, pass->weights, &pass->sum);
  pass->taps = n;
  double magnitude = 0;
  for (int k = 0; k <= n; ++k) {
    float w = (float)pass->weights[k];
    for (int lane = 0; lane < 4; ++lane) pass->fastWeights[k][lane] = w;
    if (k > 0) magnitude += fabs(pass->weights[k]);
  }
  const double limit = 255.0 * (1 + 2 * magnitude);
  const double bound = 1.01 * (n + 8) * (ldexp(1, -24) + ldexp(1, -52)) * limit / fabs(pass->sum);
  for (int lane = 0; lane < 4; ++lane) {
    pass->fastInverse[lane] = (float)(1.0 / pass->sum);
    pass->bound[lane] = nextafterf((float)bound, 1.0f);
  }
  SetUpFixedWeights(pass, limit);
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int c = 0; c < 256; ++c) {
    for (int k = 1; k <= n; ++k) pairs[k] = (double)c + (double)c;
    pass->flat[c] = (uint8_t)ExactValue(pass, (double)c, pairs);
  }
}

void FilterAcrossRows(const FilterPass *pass, const float *const *rows, const int32_t *sameAbove,
                      int32_t span, int32_t count, uint8_t *out, FallbackCounts *counts) {
  const int n = pass->taps;
  const float *const *middle = rows + n;
  // A block of sums stays in the first-level cache while the rows stream through it, tap by
  // tap, nearest first.
  enum { kBlock = 512 };
  float sums[kBlock];
  for (int32_t start = 0; start < count; start += kBlock) {
    const int32_t size = count - start < kBlock ? count - start : kBlock;
    memcpy(sums, middle[0] + start, (size_t)size * sizeof(float));
    for (int k = 1; k <= n; ++k) {
      const __m128 w = _mm_loadu_ps(pass->fastWeights[k]);
      const float *up = middle[-k] + start, *down = middle[k] + start;
      for (int32_t i = 0; i < size; i += 8) {
        const __m128 a0 = _mm_add_ps(_mm_loadu_ps(up + i), _mm_loadu_ps(down + i));
        const __m128 a1 = _mm_add_ps(_mm_loadu_ps(up + i + 4), _mm_loadu_ps(down + i + 4));
        _mm_storeu_ps(sums + i, _mm_add_ps(_mm_loadu_ps(sums + i), _mm_mul_ps(w, a0)));
        _mm_storeu_ps(sums + i + 4, _mm_add_ps(_mm_loadu_ps(sums + i + 4), _mm_mul_ps(w, a1)));
      }
    }
    for (int32_t i = 0; i < size; i += 8) {
      int ambiguous[2];
      const __m128i low =
          _mm_cvttps_epi32(FinishLanes(pass, _mm_loadu_ps(sums + i), &ambiguous[0]));
      const __m128i high =
          _mm_cvttps_epi32(FinishLanes(pass, _mm_loadu_ps(sums + i + 4), &ambiguous[1]));
      const __m128i words = _mm_packs_epi32(low, high);
      uint8_t *bytes = out + start + i;
      _mm_storel_epi64((__m128i *)bytes, _mm_packus_epi16(words, words));
      if ((ambiguous[0] | ambiguous[1]) == 0) continue;
      for (int lane = 0; lane < 8; ++lane) {
        if (!(ambiguous[lane / 4] & (1 << (lane % 4)))) continue;
        const int32_t at = start + i + lane;
        bytes[lane] = (uint8_t)SettleAcross(pass, middle, at, sameAbove[at] >= span, counts);
      }
    }
  }
}

void FilterFourColumnsFixed(const FilterPass *pass, const RowPlanes *row, int32_t x, int keep,
                            float *out, FallbackCounts *counts) {
  const int n = pass->taps, blocks = pass->blocks;
  if (Flat(row, x - n, x + 3 + n)) {
    for (int c = 0; c < 3; ++c) {
      const float value = (float)pass->flat[row->forward[c][x]];
      for (int i = 0; i < 4; ++i) out[3 * i + c] = value;
    }
    counts->flat += 3 * keep;
    return;
  }
  const int32_t back = row->width - 1 - x;
  for (int c = 0; c < 3; ++c) {
    const int16_t *right = row->forward[c] + x, *left = row->reversed[c] + back;
    __m128i a0 = _mm_setzero_si128(), a1 = a0, a2 = a0, a3 = a0;
    for (int j = 0; j < 8 * blocks; j += 8) {
      const int16_t *w = pass->fixed + j;
      a0 = AddFixedTaps(a0, w, right + j, left + j);
      a1 = AddFixedTaps(a1, w, right + j + 1, left + j - 1);
      a2 = AddFixedTaps(a2, w, right + j + 2, left + j - 2);
      a3 = AddFixedTaps(a3, w, right + j + 3, left + j - 3);
    }
    const __m128i sums = SumLanes(a0, a1, a2, a3);
    int ambiguous;
    float values[4];
    _mm_storeu_ps(values, FinishScaled(pass->fixedInverse, pass->fixedBound, _mm_cvtepi32_ps(sums),
                                       &ambiguous));
    for (int i = 0; i < 4; ++i) out[3 * i + c] = values[i];
    ambiguous &= (1 << keep) - 1;
    if (ambiguous == 0) continue;
    int32_t exact[4];
    _mm_storeu_si128((__m128i *)exact, sums);
    for (int i = 0; i < keep; ++i) {
      if (!(ambiguous & (1 << i))) continue;
      const int flat = Flat(row, x + i - n, x + i + n);
      out[3 * i + c] = (float)SettleFixed(pass, exact[i], right + i, left - i, flat, counts);
    }
  }
}
