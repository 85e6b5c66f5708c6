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

// The byte of one value whose fast result was too close to call: from the flat table when its
// window holds one value, else by the double sequence over the values at `centre` +- k
// `step`.
int Settle(const FilterPass *pass, const float *centre, ptrdiff_t step, int flat,
           FallbackCounts *counts) {
  if (flat) {
    ++counts->flat;
    return pass->flat[(int)*centre];
  }
  ++counts->exact;
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int k = 1; k <= pass->taps; ++k)
    pairs[k] = (double)centre[-k * step] + (double)centre[k * step];
  return ExactValue(pass, (double)*centre, pairs);
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
__m128 FinishLanes(const FilterPass *pass, __m128 acc, int *ambiguous) {
  const __m128 value = _mm_mul_ps(acc, _mm_loadu_ps(pass->fastInverse));
  const __m128i nearest = _mm_cvtps_epi32(value);
  const __m128 distance =
      _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm_sub_ps(value, _mm_cvtepi32_ps(nearest)));
  const __m128i boundary = _mm_and_si128(_mm_cmpgt_epi32(nearest, _mm_setzero_si128()),
                                         _mm_cmplt_epi32(nearest, _mm_set1_epi32(256)));
  const __m128 close =
      _mm_and_ps(_mm_cmple_ps(distance, _mm_loadu_ps(pass->bound)), _mm_castsi128_ps(boundary));
  *ambiguous = _mm_movemask_ps(close);
  const __m128 clamped = _mm_min_ps(_mm_max_ps(value, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  return _mm_cvtepi32_ps(_mm_cvttps_epi32(clamped));
}

// acc += weight x (left + right) for four lanes.
inline __m128 AddTap(__m128 acc, const float *weight, const float *left, const float *right) {
  return _mm_add_ps(
      acc, _mm_mul_ps(_mm_loadu_ps(weight), _mm_add_ps(_mm_loadu_ps(left), _mm_loadu_ps(right))));
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
  double pairs[PREFILTER_MAX_TAPS + 1];
  for (int c = 0; c < 256; ++c) {
    for (int k = 1; k <= n; ++k) pairs[k] = (double)c + (double)c;
    pass->flat[c] = (uint8_t)ExactValue(pass, (double)c, pairs);
  }
}

void FilterFourColumns(const FilterPass *pass, const float *row, const int32_t *runEnd, int32_t x,
                       int keep, float *out, FallbackCounts *counts) {
  const float *base = row + 3 * x;
  const int n = pass->taps;
  // One colour under the whole window of all four pixels: the flat table says it all.
  if (runEnd[x - n] >= x + 3 + n) {
    for (int lane = 0; lane < 12; ++lane) out[lane] = (float)pass->flat[(int)base[lane % 3]];
    counts->flat += 3 * keep;
    return;
  }
  // Two chains of sums, even and odd taps, so that the additions overlap.
  __m128 a0 = _mm_loadu_ps(base), a1 = _mm_loadu_ps(base + 4), a2 = _mm_loadu_ps(base + 8);
  __m128 b0 = _mm_setzero_ps(), b1 = _mm_setzero_ps(), b2 = _mm_setzero_ps();
  int k = 1;
  for (; k + 1 <= n; k += 2) {
    const float *w = pass->fastWeights[k];
    const float *l = base - 3 * k, *r = base + 3 * k;
    a0 = AddTap(a0, w, l, r);
    a1 = AddTap(a1, w, l + 4, r + 4);
    a2 = AddTap(a2, w, l + 8, r + 8);
    const float *v = pass->fastWeights[k + 1];
    b0 = AddTap(b0, v, l - 3, r + 3);
    b1 = AddTap(b1, v, l + 1, r + 7);
    b2 = AddTap(b2, v, l + 5, r + 11);
  }
  if (k <= n) {
    const float *w = pass->fastWeights[k];
    const float *l = base - 3 * k, *r = base + 3 * k;
    a0 = AddTap(a0, w, l, r);
    a1 = AddTap(a1, w, l + 4, r + 4);
    a2 = AddTap(a2, w, l + 8, r + 8);
  }
  int ambiguous[3];
  _mm_storeu_ps(out, FinishLanes(pass, _mm_add_ps(a0, b0), &ambiguous[0]));
  _mm_storeu_ps(out + 4, FinishLanes(pass, _mm_add_ps(a1, b1), &ambiguous[1]));
  _mm_storeu_ps(out + 8, FinishLanes(pass, _mm_add_ps(a2, b2), &ambiguous[2]));
  if ((ambiguous[0] | ambiguous[1] | ambiguous[2]) == 0) return;
  for (int lane = 0; lane < 3 * keep; ++lane) {
    if (!(ambiguous[lane / 4] & (1 << (lane % 4)))) continue;
    const int32_t pixel = x + lane / 3;
    const int flat = runEnd[pixel - n] >= pixel + n;
    out[lane] = (float)Settle(pass, base + lane, 3, flat, counts);
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
