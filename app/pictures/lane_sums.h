// Adding up vector lanes, for the kernels of both widths.  `static`: each file compiles its own
// copy with its own instruction set, so that the linker can never hand code built for AVX2 to
// a caller that runs without it (one shared inline definition would let it).
#pragma once

#include <emmintrin.h>

// The four lane sums of each of a, b, c, d, as the four lanes of one vector.
static inline __m128i SumLanes(__m128i a, __m128i b, __m128i c, __m128i d) {
  const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
  const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
  return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
}
