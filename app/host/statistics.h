// Game statistics: the clear counts of the current or last game and the level-1 speed-up that
// follows them.  CountClearReport runs on the game thread inside the engine's clear_proc.
#pragma once

#include <stdint.h>

#include "game_host.h"

#ifdef __cplusplus
extern "C" {
#endif

// Number of rows cleared: linecnt[0] + 2 linecnt[1] + 3 linecnt[2] + 4 linecnt[3], in unsigned
// 32-bit arithmetic (it wraps like the counters themselves).
uint32_t TotalLines(const uint32_t linecnt[4]);

// Adds the report's four counts to linecnt.  In levels 1 and 2, once the total reaches
// lv1_threshold, moves the threshold on by lv1_norma and applies one speed step; never more
// than one per report, so a threshold left behind is caught up by later reports.
// Returns 1 when a speed step was applied, else 0.
int CountClearReport(GameHost *host, const ClearReport *report);

#ifdef __cplusplus
}
#endif
