// GameHost: the main program's one game record.  It begins with the engine's HostRecord, and
// its address is the `user` pointer of every engine callback, so the callbacks reach the
// timing, statistics and render state through it.
//
// Threads: the window thread writes it only at Start, before the game thread exists, and reads
// the statistics only after that thread has ended; while a game runs only the game thread
// writes it.
#pragma once

#include <stdint.h>

#include "picture.h"
#include "platform.h"
#include "quillcore.h"
#include "render_state.h"

#ifdef __cplusplus
extern "C" {
#endif

// The longest single wait of input_proc for a key, in ms: the poll time a game starts with is at
// most this, and a speed step leaves at most this of the time per row as poll time.
enum { POLL_WAIT_LIMIT = 50 };

typedef struct WellRect {
  int32_t left, top, right, bottom;  // right and bottom exclusive
} WellRect;

typedef struct GameHost {
  HostRecord record;           // must stay first: the engine receives &record
  DWORD thread_id;             // the game thread; target of the posted key commands
  HWND hwnd;                   // the main window
  HANDLE gameStopEvent;        // manual reset; set: the running game is to end
  HANDLE gamePauseEvent;       // manual reset; set: the running game holds still
  uint32_t poll_wait;          // ms that input_proc waits per call; lowered by speed steps
  RenderState render;          // geometry, pixel memory, fieldOrigin and previewOrigin
  WellRect wellRect;           // invalidated after a well-only redraw
  uint32_t linecnt[4];         // clears of 1, 2, 3 and 4 rows in the current or last game
  uint32_t saved_wait;         // the fall interval kept while the Down key is held
  int32_t level;               // 0, 1 or 2
  int32_t soft_drop;           // 1 while the Down-key speed-up is in force
  uint32_t lv1_threshold;      // total of cleared rows at which the next speed step happens
  uint32_t lv1_norma;          // rows per speed step
  uint32_t lv1_speed;          // ms taken off per speed step
  int32_t score_script_done;   // the score script has run for this game (1 before the first)
  PictureBuffer blockPicture;  // "block.bmp", the look of every block
} GameHost;

#ifdef __cplusplus
}
#endif
