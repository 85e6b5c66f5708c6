// What happens when a piece locks: it joins the settled stack, full rows are removed and
// reported run by run, the level-2 quota rule may push rows up, and the next piece enters.
#pragma once

#include <stdint.h>

#include "engine_state.h"

#ifdef __cplusplus
extern "C" {
#endif

// Splits a run of `rows` removed rows greedily into clears of four, three, two and one row.
void SplitRun(int32_t rows, ClearReport *report);

// Removes every full row of settled_board from the bottom up (row 0 is never examined),
// calling clear_proc once per run of adjacent full rows.  1 if any row was removed.
int32_t RemoveFullRows(EngineState *state);

// Pushes settled_board up by one row: row 0 is lost, and the new row 23 is "#" with two or
// three holes picked from the random source.
void PushUpRow(EngineState *state);

// The level-2 quota rule, run after the row removal of each lock.  1 if a window closed short
// of its quota (rows were pushed up, possibly none when lv2_upline is 0).
int32_t ApplyLevel2Rule(EngineState *state);

// Locks the falling piece where it stands, removes rows, applies the level-2 rule when on,
// brings in the next piece and shows it.  Returns 1 when the new piece collides at its start
// position (game over), 0 when play goes on.
int32_t LockPiece(EngineState *state);

#ifdef __cplusplus
}
#endif
