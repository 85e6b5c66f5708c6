// EngineState: everything one game keeps, private to one call of the engine entry.  It lives on
// the entry's stack; nothing survives the call, so two games never share anything.
#pragma once

#include <stdint.h>

#include "quillcore.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct EngineState {
  HostRecord *host;
  // The falling piece: shape index, rotation and the board position of its 4x4 frame's
  // top-left cell (the frame may hang outside the board as long as no block does).
  int32_t rotation;
  int32_t piece;
  int32_t col;
  int32_t row;
  // The piece shown as next, already drawn, in the rotation it will enter with.
  int32_t next_rotation;
  int32_t next_piece;
  // settled_board holds only blanks and "#"; view_board is what the host is shown.
  char *settled_board;
  char *view_board;
  int32_t host_tally;          // the host's own counter: clear_proc may change it
  int32_t rows_since_check;    // rows removed since the level-2 window last closed
  int32_t pieces_since_check;  // pieces locked since the level-2 window last closed
  uint32_t random_state;       // the engine's own generator, seeded per game
} EngineState;

#ifdef __cplusplus
}
#endif
