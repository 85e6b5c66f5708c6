// The fixed-point sums with 256-bit AVX2 vectors: sixteen values of a window along a row, or
// sixteen values down, per multiply-add.  Built with AVX2 enabled for this file alone; nothing
// here runs until the pass has found that the processor has it.
#include <immintrin.h>
#include <string.h>

#include "filter_kernels.h"
#include "lane_sums.h"

namespace {

inline __m256i Load(const int16_t *p) {
  return _mm256_loadu_si256((const __m256i *)p);
}

// Sixteen bytes as sixteen 16-bit values.
inline __m256i Widen(const uint8_t *p) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i *)p));
}

// The eight lanes of v added down to four.
inline __m128i Halves(__m256i v) {
  return _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
}

inline __m128i SumFour(const int16_t (*weights)[ALONG_WINDOW], int blocks, const uint8_t *window) {
  __m256i a0 = _mm256_setzero_si256(), a1 = a0, a2 = a0, a3 = a0;
  for (int j = 0; j < 16 * blocks; j += 16) {
    const __m256i values = Widen(window + j);
    a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(values, Load(weights[0] + j)));
    a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(values, Load(weights[1] + j)));
    a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(values, Load(weights[2] + j)));
    a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(values, Load(weights[3] + j)));
  }
  return SumLanes(Halves(a0), Halves(a1), Halves(a2), Halves(a3));
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
      const __m128i sum = SumFour(weights, blocks, plane[c] + x - taps);
      int32_t four;
      memcpy(&four, plane[c] + x, 4);
      const __m128i centre = _mm_slli_epi32(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(four)), 15);
      _mm_storeu_si128((__m128i *)(sums + 4 * c), _mm_add_epi32(sum, centre));
    }
  }
  _mm256_zeroupper();
}

void SumFourAlong(const int16_t (*weights)[ALONG_WINDOW], int blocks, const uint8_t *window,
                  int32_t sums[4]) {
  _mm_storeu_si128((__m128i *)sums, SumFour(weights, blocks, window));
  _mm256_zeroupper();
}

void SumDown(const int32_t *pairs, int pairCount, const uint8_t *const *up,
             const uint8_t *const *down, int32_t first, int32_t count, int32_t *sums) {
  for (int32_t v = 0; v < count; v += 16) {
    const int32_t at = first + v;
    __m256i lo = _mm256_setzero_si256(), hi = lo;
    for (int j = 0; j < pairCount; ++j) {
      const int k = 2 * j;
      const __m256i p0 = _mm256_add_epi16(Widen(up[k] + at), Widen(down[k] + at));
      const __m256i p1 = _mm256_add_epi16(Widen(up[k + 1] + at), Widen(down[k + 1] + at));
      const __m256i w = _mm256_set1_epi32(pairs[j]);
      // Within each 128-bit half: values 0..3 (and 8..11) low, 4..7 (12..15) high.
      lo = _mm256_add_epi32(lo, _mm256_madd_epi16(_mm256_unpacklo_epi16(p0, p1), w));
      hi = _mm256_add_epi32(hi, _mm256_madd_epi16(_mm256_unpackhi_epi16(p0, p1), w));
    }
    _mm_storeu_si128((__m128i *)(sums + v), _mm256_castsi256_si128(lo));
    _mm_storeu_si128((__m128i *)(sums + v + 4), _mm256_castsi256_si128(hi));
    _mm_storeu_si128((__m128i *)(sums + v + 8), _mm256_extracti128_si256(lo, 1));
    _mm_storeu_si128((__m128i *)(sums + v + 12), _mm256_extracti128_si256(hi, 1));
  }
  _mm256_zeroupper();
}

void FinishSums(const FixedScale *scale, const int32_t *sums, int32_t count, uint8_t *out,
                uint8_t *ambiguous) {
  const __m256i offset = _mm256_set1_epi32(scale->offset);
  const __m256 inverse = _mm256_set1_ps(scale->inverse);
  const __m256 bound = _mm256_set1_ps(scale->bound);
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
  const __m256i zero = _mm256_setzero_si256(), top = _mm256_set1_epi32(256);
  for (int32_t i = 0; i < count; i += 8) {
    const __m256i centred =
        _mm256_sub_epi32(_mm256_loadu_si256((const __m256i *)(sums + i)), offset);
    const __m256 value = _mm256_mul_ps(_mm256_cvtepi32_ps(centred), inverse);
    const __m256i nearest = _mm256_cvtps_epi32(value);
    const __m256 distance =
        _mm256_and_ps(_mm256_sub_ps(value, _mm256_cvtepi32_ps(nearest)), magnitude);
    const __m256i boundary =
        _mm256_and_si256(_mm256_cmpgt_epi32(nearest, zero), _mm256_cmpgt_epi32(top, nearest));
    const __m256 close =
        _mm256_and_ps(_mm256_cmp_ps(distance, bound, _CMP_LE_OQ), _mm256_castsi256_ps(boundary));
    const int bits = _mm256_movemask_ps(close);
    ambiguous[i / 4] = (uint8_t)(bits & 15);
    ambiguous[i / 4 + 1] = (uint8_t)(bits >> 4);
    const __m256 clamped =
        _mm256_min_ps(_mm256_max_ps(value, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
    const __m256i whole = _mm256_cvttps_epi32(clamped);
    const __m128i packed =
        _mm_packs_epi32(_mm256_castsi256_si128(whole), _mm256_extracti128_si256(whole, 1));
    _mm_storel_epi64((__m128i *)(out + i), _mm_packus_epi16(packed, packed));
  }
  _mm256_zeroupper();
}

}  // namespace

const FilterKernels kWideKernels = {SumGroupsAlong, SumFourAlong, SumDown, FinishSums};
