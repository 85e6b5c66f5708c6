// The two sums of the fixed-point prefilter pass with 256-bit AVX2 vectors, for processors
// that have them.  Integer sums: the same numbers as the 128-bit SSE2 ones, so the bytes that
// follow from them are the same too.  Call only on a processor with AVX2 (the check lives in
// filter_pass.cpp, which is built without AVX2, so that it runs anywhere).
#pragma once

#include <emmintrin.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// As the SSE2 sums along a row: the four sums of the values right[0..3] with weights[0 .. 16 x
// blocks16 - 1] on the pairs right[i + k] + left[k - i].
__m128i SumFourAlongWide(const int16_t *weights, int blocks16, const int16_t *right,
                         const int16_t *left);

// The sums of sixteen neighbouring values across rows (four vectors of four) with the pair
// weights `pairs`: up[k] and down[k] are the rows k above and below.
void SumSixteenAcrossWide(const int32_t *pairs, int pairCount, const int16_t *const *up,
                          const int16_t *const *down, int32_t at, __m128i sums[4]);

#ifdef __cplusplus
}
#endif
