#include "tile_colours.h"

const uint32_t kTileColourOrder[4] = {kDarkBlue, kDarkGreen, kDarkRed, kOlive};

static uint32_t randomState;

void SeedPanelRandom(uint32_t seed) {
  randomState = seed;
}

int32_t NextPanelRandom(void) {
  randomState = randomState * 214013u + 2531011u;
  return (int32_t)((randomState >> 16) & 0x7FFF);
}

static const uint32_t kPlacements[5][4] = {
    {kDarkBlue, kDarkGreen, kDarkRed, kOlive}, {kOlive, kDarkBlue, kDarkGreen, kDarkRed},
    {kDarkRed, kOlive, kDarkBlue, kDarkGreen}, {kDarkGreen, kDarkRed, kOlive, kDarkBlue},
    {kOlive, kDarkRed, kDarkGreen, kDarkBlue},
};

const uint32_t *TileColours(int32_t r) {
  int32_t index = r % 5;
  if (index < 0) index += 5;
  return kPlacements[index];
}
