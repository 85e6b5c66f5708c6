// The engine's own pseudo-random source and the choice of pieces and rotations from it.
// The generator lives in EngineState, so every game has its own sequence.
#pragma once

#include <stdint.h>

#include "engine_state.h"

#ifdef __cplusplus
extern "C" {
#endif

// Seeds the generator with `seconds` (calendar time) and throws the first value away.
void SeedRandom(EngineState *state, uint32_t seconds);

// The next value 0..32767: state = state * 214013 + 2531011, result bits 16 to 30.
int32_t DrawRandom(EngineState *state);

// A piece 0..6 for the draw `r` under the host's favoured piece `blockfreq` (negative: none)
// and its extra weight; the weighted product is taken in unsigned 32-bit arithmetic.
int32_t ChoosePiece(const HostRecord *host, int32_t r);

// A rotation 0..3 for the draw `r`.
int32_t ChooseRotation(int32_t r);

// The next piece becomes the falling one at column 6, row 1, and a new next piece and its
// rotation are drawn, in that order (two draws).
void AdvancePiece(EngineState *state);

#ifdef __cplusplus
}
#endif
