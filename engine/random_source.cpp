#include "random_source.h"

enum { SPAWN_COL = 6, SPAWN_ROW = 1, PLAIN_CHOICES = 7 };

void SeedRandom(EngineState *state, uint32_t seconds) {
  state->random_state = seconds;
  DrawRandom(state);
}

int32_t DrawRandom(EngineState *state) {
  state->random_state = state->random_state * 214013u + 2531011u;
  return (int32_t)((state->random_state >> 16) & 0x7FFFu);
}

int32_t ChoosePiece(const HostRecord *host, int32_t r) {
  if (host->blockfreq < 0) return (r * PLAIN_CHOICES) >> 15;
  // Values past the plain seven choices all mean the favoured piece, so it comes with
  // (weight + 1) / (weight + 7) chance.
  uint32_t v = ((uint32_t)r * ((uint32_t)host->freq_weight + PLAIN_CHOICES)) >> 15;
  return v >= PLAIN_CHOICES ? host->blockfreq : (int32_t)v;
}

int32_t ChooseRotation(int32_t r) {
  return (r * 4) >> 15;
}

void AdvancePiece(EngineState *state) {
  state->piece = state->next_piece;
  state->rotation = state->next_rotation;
  state->col = SPAWN_COL;
  state->row = SPAWN_ROW;
  state->next_piece = ChoosePiece(state->host, DrawRandom(state));
  state->next_rotation = ChooseRotation(DrawRandom(state));
}
