// The colours of the about panel's tiles (portable): the library's own pseudo-random generator
// and where each colour goes by the number it draws.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// 0x00RRGGBB, in the order the pictures are built.
enum {
  kDarkBlue = 0x000080,
  kDarkGreen = 0x008000,
  kDarkRed = 0x800000,
  kOlive = 0x808000,
};
extern const uint32_t kTileColourOrder[4];

// The library's generator: state = state * 214013 + 2531011 (mod 2^32), each draw returning
// bits 16 to 30.  One state for the library; the panel seeds it with the tick count.
void SeedPanelRandom(uint32_t seed);
int32_t NextPanelRandom(void);

// The colours of pictures[0..3] for a drawn number r (by r mod 5; r is never negative).
const uint32_t *TileColours(int32_t r);

#ifdef __cplusplus
}
#endif
