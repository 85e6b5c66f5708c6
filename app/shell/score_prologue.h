// The BASIC prologue handed to the score script before "qmscore.bas" runs: it creates the
// variables of the last game's statistics and of the settings it was played with.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "game_settings.h"

#ifdef __cplusplus
extern "C" {
#endif

// Room the prologue is given, terminator included.
enum { SCORE_PROLOGUE_BYTES = 2048 };

// Writes the prologue for the clear counts `linecnt` and `settings` into out (outSize bytes,
// always terminated when outSize > 0).  Returns 1, or 0 when it did not fit.
int FormatScorePrologue(char *out, size_t outSize, const uint32_t linecnt[4],
                        const GameSettings *settings);

#ifdef __cplusplus
}
#endif
