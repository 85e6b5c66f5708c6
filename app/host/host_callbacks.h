// The four engine callbacks of this program (Windows only).  All run on the game thread inside
// the engine call, with the GameHost address as their `user` argument.
#pragma once

#include "quillcore.h"

#ifdef __cplusplus
extern "C" {
#endif

// Draws the field and the next-piece preview; invalidates the whole client area.
void QUILLCORE_CALL spawn_proc(const char *view_board, const char *next_picture, int32_t host_tally,
                               void *user);
// Draws the field; invalidates only the well rectangle.
void QUILLCORE_CALL redraw_proc(const char *view_board, void *user);
// Counts the cleared rows and applies the level-1 speed step.
void QUILLCORE_CALL clear_proc(int32_t *host_tally, const ClearReport *report, void *user);
// Paces the engine, holds it while paused, and turns posted key commands into engine commands.
int32_t QUILLCORE_CALL input_proc(void *user);

#ifdef __cplusplus
}
#endif
