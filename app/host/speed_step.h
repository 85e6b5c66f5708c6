// Timing rules of a running game: the speed step of levels 1 and 2, the Down-key speed-up, and
// the table that turns a forwarded key command into an engine command.  All of them run on the
// game thread and touch only GameHost fields that thread owns while a game runs.
#pragma once

#include <stdint.h>

#include "game_host.h"

#ifdef __cplusplus
extern "C" {
#endif

// The Pause key's command: handled by input_proc itself, never handed to the engine.
enum { CMD_PAUSE = -1 };

// The Down key divides the fall interval by 16.
enum { SOFT_DROP_SHIFT = 4 };

// Lowers the time per row (poll_wait + fall interval) by lv1_speed, never below 0, and splits
// what is left into up to POLL_WAIT_LIMIT ms of poll_wait and the fall interval.  While the Down
// key is held (soft_drop 1) the lowered interval becomes the kept saved_wait and `wait` a sixteenth
// of it. All arithmetic is unsigned 32-bit.
void ApplySpeedStep(GameHost *host);

// Down-key check, run by input_proc when no command is waiting.  downHeld nonzero: the key is
// down.  Pressing keeps `wait` in saved_wait and divides it by 16; releasing restores it.
// Holding or leaving the key as it was changes nothing.
void CheckSoftDrop(GameHost *host, int downHeld);

// The engine command of a forwarded key command (IDK_LEFT .. IDK_CLEAR); CMD_PAUSE for the Pause
// key; CMD_NONE for any identifier outside that range.
int32_t EngineCommandForKey(uint32_t commandId);

#ifdef __cplusplus
}
#endif
