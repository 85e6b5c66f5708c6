// The engine entry: one call plays one game on the calling thread, asking the host for commands
// between fall steps and reporting everything through the HostRecord's callbacks.
#include <string.h>

#include "board.h"
#include "engine_clock.h"
#include "platform.h"
#include "quillcore.h"
#include "random_source.h"
#include "row_removal.h"

enum { FAVOURED_PIECE_LIMIT = 7 };

enum { GAME_QUIT = 0, GAME_OVER = 1, GAME_REFUSED = -1 };

static int32_t RecordIsUsable(const HostRecord *host) {
  return host && host->spawn_proc && host->redraw_proc && host->input_proc && host->clear_proc &&
         host->blockfreq < FAVOURED_PIECE_LIMIT;
}

// Boards come from fixed global memory: freed on every way out of the call, each only if it
// was allocated, so a failed second allocation does not leak the first.
static char *AllocateBoard(void) {
  return (char *)GlobalAlloc(GMEM_FIXED, BOARD_CELLS);
}

static void ReleaseBoards(EngineState *state) {
  if (state->settled_board) GlobalFree(state->settled_board);
  state->settled_board = NULL;
  if (state->view_board) GlobalFree(state->view_board);
  state->view_board = NULL;
}

// Milliseconds since the interval began.  When the counter has wrapped, the time up to the
// wrap is counted once and the interval then counts from 0 for the rest of its length.
static uint32_t ElapsedSince(uint32_t *start) {
  uint32_t now = EngineTickCount();
  if (now < *start) {
    uint32_t elapsed = now + (0xFFFFFFFFu - *start);
    *start = 0;
    return elapsed;
  }
  return now - *start;
}

// Plays until the host quits (GAME_QUIT) or a new piece cannot enter (GAME_OVER).
static int32_t PlayGame(EngineState *state) {
  HostRecord *host = state->host;
  for (;;) {
    uint32_t start = EngineTickCount();
    int32_t interval_over = 0;
    while (!interval_over) {
      // `wait` is read on every turn: the host lowers or raises it from its callbacks.
      if (ElapsedSince(&start) > host->wait) {
        if (!PieceCollides(state, state->col, state->row + 1, state->rotation)) {
          state->row += 1;
          RefreshView(state);
        } else if (LockPiece(state)) {
          return GAME_OVER;
        }
        break;
      }
      switch (host->input_proc(host->user)) {
        case CMD_LEFT:
          ShiftPiece(state, -1);
          break;
        case CMD_RIGHT:
          ShiftPiece(state, 1);
          break;
        case CMD_ROTATE_LEFT:
          TurnPiece(state, -1);
          break;
        case CMD_ROTATE_RIGHT:
          TurnPiece(state, 1);
          break;
        case CMD_DROP:
          state->row = LandingRow(state);
          if (LockPiece(state)) return GAME_OVER;
          interval_over = 1;
          break;
        case CMD_CLEAR:
          BlankBoard(state->settled_board);
          BlankBoard(state->view_board);
          AdvancePiece(state);
          ShowSpawn(state);
          interval_over = 1;
          break;
        case CMD_QUIT:
          return GAME_QUIT;
        default:
          break;
      }
    }
  }
}

int32_t QUILLCORE_CALL Quillomar(HostRecord *host) {
  if (!RecordIsUsable(host)) return GAME_REFUSED;

  EngineState state;
  memset(&state, 0, sizeof state);
  state.host = host;
  state.settled_board = AllocateBoard();
  state.view_board = AllocateBoard();
  if (!state.settled_board || !state.view_board) {
    ReleaseBoards(&state);
    return GAME_REFUSED;
  }

  SeedRandom(&state, EngineCalendarSeconds());
  BlankBoard(state.settled_board);
  BlankBoard(state.view_board);
  // next_piece and next_rotation start at 0, so the first Advance only fills the next slot.
  AdvancePiece(&state);
  AdvancePiece(&state);
  ShowSpawn(&state);

  int32_t result = PlayGame(&state);
  ReleaseBoards(&state);
  return result;
}
