// Spreading a row as read into the channel planes that the filter along rows works on.
#include "row_planes.h"

#include <emmintrin.h>
#include <stddef.h>
#include <string.h>

namespace {

// Channel c of pixel x of a row as read.
inline uint8_t Channel(StreamRowFormat format, const uint8_t *raw, int32_t x, int c) {
  switch (format) {
    case ROW_GREY:
      return raw[x];
    case ROW_RGB:
      return raw[3 * x + c];
    default:
      return raw[4 * x + c];
  }
}

// Sixteen interleaved red, green, blue pixels split into one vector per channel (three rounds
// of interleaving the halves sort the bytes by their position modulo 3).
inline void SplitSixteen(const uint8_t *raw, __m128i *red, __m128i *green, __m128i *blue) {
  __m128i a = _mm_loadu_si128((const __m128i *)raw);
  __m128i b = _mm_loadu_si128((const __m128i *)(raw + 16));
  __m128i c = _mm_loadu_si128((const __m128i *)(raw + 32));
  for (int round = 0; round < 4; ++round) {
    const __m128i x = _mm_unpacklo_epi8(a, _mm_unpackhi_epi64(b, b));
    const __m128i y = _mm_unpacklo_epi8(_mm_unpackhi_epi64(a, a), c);
    const __m128i z = _mm_unpacklo_epi8(b, _mm_unpackhi_epi64(c, c));
    a = x;
    b = y;
    c = z;
  }
  *red = a;
  *green = b;
  *blue = c;
}

// Marks in `differs` (bit i of word i / 32) each pixel i that differs from pixel i + 1 (pixels
// past the row repeat the last one, so never differ; reads reach 16 values past the row).
void MarkDifferences(const uint8_t *const plane[3], int32_t w, uint32_t *differs) {
  for (int32_t x = 0; x < w; x += 32) {
    uint32_t word = 0;
    for (int part = 0; part < 32 && x + part < w; part += 16) {
      __m128i same = _mm_set1_epi8(-1);
      for (int c = 0; c < 3; ++c) {
        const uint8_t *p = plane[c] + x + part;
        same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i *)p),
                                                  _mm_loadu_si128((const __m128i *)(p + 1))));
      }
      word |= (~(uint32_t)_mm_movemask_epi8(same) & 0xFFFF) << part;
    }
    differs[x / 32] = word;
  }
}

}  // namespace

void SpreadRow(StreamRowFormat format, const uint8_t *raw, int32_t w, int32_t length,
               uint8_t *planes, uint32_t *differs) {
  uint8_t *plane[3];
  for (int c = 0; c < 3; ++c) plane[c] = planes + (size_t)c * length + ROW_PLANE_LEAD;
  int32_t x = 0;
  if (format == ROW_RGB) {
    for (; x + 16 <= w; x += 16) {
      __m128i channel[3];
      SplitSixteen(raw + 3 * x, &channel[0], &channel[1], &channel[2]);
      for (int c = 0; c < 3; ++c) _mm_storeu_si128((__m128i *)(plane[c] + x), channel[c]);
    }
  } else if (format == ROW_GREY) {
    for (int c = 0; c < 3; ++c) memcpy(plane[c], raw, (size_t)w);
    x = w;
  }
  for (int c = 0; c < 3; ++c) {
    for (int32_t i = x; i < w; ++i) plane[c][i] = Channel(format, raw, i, c);
    memset(plane[c] - ROW_PLANE_LEAD, plane[c][0], ROW_PLANE_LEAD);
    memset(plane[c] + w, plane[c][w - 1], (size_t)(length - ROW_PLANE_LEAD - w));
  }
  const uint8_t *const split[3] = {plane[0], plane[1], plane[2]};
  MarkDifferences(split, w, differs);
}
