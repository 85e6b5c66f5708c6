// The fixed-point sums with 128-bit SSE2 vectors: eight values of a window along a row, or
// eight values down, per multiply-add.
#include <emmintrin.h>
#include <string.h>

#include "filter_kernels.h"
#include "lane_sums.h"

namespace {

// Eight bytes as eight 16-bit values.
inline __m128i WidenEight(const uint8_t *p) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i *)p), _mm_setzero_si128());
}

inline __m128i LoadEight(const int16_t *p) {
  return _mm_loadu_si128((const __m128i *)p);
}

inline __m128i SumFour(const int16_t (*weights)[ALONG_WINDOW], int blocks, const uint8_t *window) {
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

void SumGroupsAlong(const int16_t (*weights)[ALONG_WINDOW], int blocks, int taps,
                    const uint8_t *const plane[3], const ColumnGroup *groups, const uint8_t *flat,
                    int32_t count, int32_t *sums) {
  for (int32_t g = 0; g < count; ++g, sums += COMPACT_GROUP_VALUES) {
    if (flat[g]) {
      for (int c = 0; c < 3; ++c) _mm_storeu_si128((__m128i *)(sums + 4 * c), _mm_setzero_si128());
      continue;
    }
    const int32_t x = groups[g].x;
    for (int c = 0; c < 3; ++c) {
      const __m128i centre =
          _mm_slli_epi32(_mm_unpacklo_epi16(WidenEight(plane[c] + x), _mm_setzero_si128()), 15);
      const __m128i sum = SumFour(weights, blocks, plane[c] + x - taps);
      _mm_storeu_si128((__m128i *)(sums + 4 * c), _mm_add_epi32(sum, centre));
    }
  }
}

void SumFourAlong(const int16_t (*weights)[ALONG_WINDOW], int blocks, const uint8_t *window,
                  int32_t sums[4]) {
  _mm_storeu_si128((__m128i *)sums, SumFour(weights, blocks, window));
}

void SumDown(const int32_t *pairs, int pairCount, const uint8_t *const *up,
             const uint8_t *const *down, int32_t first, int32_t count, int32_t *sums) {
  for (int32_t v = 0; v < count; v += 8) {
    const int32_t at = first + v;
    __m128i low = _mm_setzero_si128(), high = low;
    for (int j = 0; j < pairCount; ++j) {
      const int k = 2 * j;
      const __m128i p0 = _mm_add_epi16(WidenEight(up[k] + at), WidenEight(down[k] + at));
      const __m128i p1 = _mm_add_epi16(WidenEight(up[k + 1] + at), WidenEight(down[k + 1] + at));
      const __m128i w = _mm_set1_epi32(pairs[j]);
      low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(p0, p1), w));
      high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(p0, p1), w));
    }
    _mm_storeu_si128((__m128i *)(sums + v), low);
    _mm_storeu_si128((__m128i *)(sums + v + 4), high);
  }
}

void FinishSums(const FixedScale *scale, const int32_t *sums, int32_t count, uint8_t *out,
                uint8_t *ambiguous) {
  const __m128i offset = _mm_set1_epi32(scale->offset);
  const __m128 inverse = _mm_set1_ps(scale->inverse);
  const __m128 bound = _mm_set1_ps(scale->bound);
  const __m128i zero = _mm_setzero_si128(), top = _mm_set1_epi32(256);
  for (int32_t i = 0; i < count; i += 4) {
    const __m128i centred = _mm_sub_epi32(_mm_loadu_si128((const __m128i *)(sums + i)), offset);
    const __m128 value = _mm_mul_ps(_mm_cvtepi32_ps(centred), inverse);
    const __m128i nearest = _mm_cvtps_epi32(value);
    const __m128 distance =
        _mm_andnot_ps(_mm_set1_ps(-0.0f), _mm_sub_ps(value, _mm_cvtepi32_ps(nearest)));
    const __m128i boundary =
        _mm_and_si128(_mm_cmpgt_epi32(nearest, zero), _mm_cmplt_epi32(nearest, top));
    const __m128 close = _mm_and_ps(_mm_cmple_ps(distance, bound), _mm_castsi128_ps(boundary));
    ambiguous[i / 4] = (uint8_t)_mm_movemask_ps(close);
    const __m128 clamped = _mm_min_ps(_mm_max_ps(value, _mm_setzero_ps()), _mm_set1_ps(255.0f));
    const __m128i whole = _mm_cvttps_epi32(clamped);
    const __m128i words = _mm_packs_epi32(whole, whole);
    const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    memcpy(out + i, &bytes, 4);
  }
}

}  // namespace

const FilterKernels kNarrowKernels = {SumGroupsAlong, SumFourAlong, SumDown, FinishSums};
