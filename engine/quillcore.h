// quillcore.dll: the game engine's export header, the one file that host code includes.
//
// The engine plays one whole game per call of `_Quillomar@4`, on the calling thread, and talks
// to its host only through the callbacks of the `HostRecord` handed to it.  The record's layout
// is binding on both sides of the DLL boundary.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define QUILLCORE_CALL __stdcall
#else
#define QUILLCORE_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Board: 16 columns x 24 rows, one byte per cell, row 0 at the top; cell (row, col) is byte
// row * 16 + col.  No terminator.
enum {
  BOARD_COLUMNS = 16,
  BOARD_ROWS = 24,
  BOARD_CELLS = BOARD_COLUMNS * BOARD_ROWS,
  PIECE_PICTURE_CELLS = 16
};

#define CELL_BLANK ' '
#define CELL_SETTLED '#'
#define CELL_FALLING 'O'
#define CELL_GUIDE '.'

// Commands returned by `input_proc`.  Any other value is ignored like CMD_NONE.
enum {
  CMD_NONE = 0,
  CMD_LEFT = 1,
  CMD_RIGHT = 2,
  CMD_ROTATE_LEFT = 3,
  CMD_ROTATE_RIGHT = 4,
  CMD_DROP = 5,
  CMD_CLEAR = 6,
  CMD_QUIT = 7
};

// One run of adjacent removed rows: count[k] is the number of (k + 1)-row clears in it.
typedef struct ClearReport {
  int32_t count[4];
} ClearReport;

typedef void(QUILLCORE_CALL *SpawnProc)(const char *view_board, const char *next_picture,
                                        int32_t host_tally, void *user);
typedef void(QUILLCORE_CALL *RedrawProc)(const char *view_board, void *user);
typedef int32_t(QUILLCORE_CALL *InputProc)(void *user);
typedef void(QUILLCORE_CALL *ClearProc)(int32_t *host_tally, const ClearReport *report, void *user);

// What the host hands to the engine.  The host may place fields of its own after these; the
// engine reads only these fields, and reads `wait` afresh on every turn of its loop so that the
// callbacks may change it while the game runs.
typedef struct HostRecord {
  SpawnProc spawn_proc;    // must not be null: a new piece has been placed
  RedrawProc redraw_proc;  // must not be null: the piece moved, turned or fell
  void *spare_proc;        // never called nor checked; the host leaves it null
  InputProc input_proc;    // must not be null: next command; may block
  ClearProc clear_proc;    // must not be null: a run of full rows was removed
  int32_t blockfreq;       // favoured piece 0..6, negative for none; must be below 7
  int32_t freq_weight;     // extra weight of the favoured piece; the host passes 7
  int32_t guide_shadow;    // nonzero: stamp the landing guide into the view board
  int32_t level2;          // nonzero: apply the level-2 quota rule after every lock
  uint32_t lv2_norma;      // rows to clear within each window of lv2_block pieces
  uint32_t lv2_block;      // window length in locked pieces
  uint32_t lv2_upline;     // rows pushed up when a window ends short of the quota
  uint32_t wait;           // fall interval in milliseconds
  void *user;              // handed back unchanged to every callback
} HostRecord;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(HostRecord) == 56, "HostRecord is 56 bytes on 32-bit Windows");
static_assert(offsetof(HostRecord, spawn_proc) == 0, "HostRecord layout");
static_assert(offsetof(HostRecord, redraw_proc) == 4, "HostRecord layout");
static_assert(offsetof(HostRecord, spare_proc) == 8, "HostRecord layout");
static_assert(offsetof(HostRecord, input_proc) == 12, "HostRecord layout");
static_assert(offsetof(HostRecord, clear_proc) == 16, "HostRecord layout");
static_assert(offsetof(HostRecord, blockfreq) == 20, "HostRecord layout");
static_assert(offsetof(HostRecord, freq_weight) == 24, "HostRecord layout");
static_assert(offsetof(HostRecord, guide_shadow) == 28, "HostRecord layout");
static_assert(offsetof(HostRecord, level2) == 32, "HostRecord layout");
static_assert(offsetof(HostRecord, lv2_norma) == 36, "HostRecord layout");
static_assert(offsetof(HostRecord, lv2_block) == 40, "HostRecord layout");
static_assert(offsetof(HostRecord, lv2_upline) == 44, "HostRecord layout");
static_assert(offsetof(HostRecord, wait) == 48, "HostRecord layout");
static_assert(offsetof(HostRecord, user) == 52, "HostRecord layout");
#endif
static_assert(sizeof(ClearReport) == 16, "ClearReport is four 32-bit counts");

// Plays one game.  Returns -1 when the record is refused (a null spawn, redraw, input or clear
// callback, blockfreq 7 or more) or a board cannot be allocated, before any callback; 0 when
// input_proc returned CMD_QUIT; 1 when a new piece collided at its start position (game over).
// Exported undecorated-looking as "_Quillomar@4" (stdcall, one pointer argument).
int32_t QUILLCORE_CALL Quillomar(HostRecord *host);

#ifdef __cplusplus
}
#endif
