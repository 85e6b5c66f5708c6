#include "row_removal.h"

#include <string.h>

#include "board.h"
#include "random_source.h"

enum { HOLES_PER_PUSHED_ROW = 3 };

void SplitRun(int32_t rows, ClearReport *report) {
  report->count[3] = rows / 4;
  int32_t rest = rows % 4;
  report->count[2] = rest / 3;
  rest %= 3;
  report->count[1] = rest / 2;
  report->count[0] = rest % 2;
}

static int32_t RowIsFull(const char *board, int32_t row) {
  const char *cells = board + row * BOARD_COLUMNS;
  for (int32_t c = 0; c < BOARD_COLUMNS; ++c) {
    if (cells[c] == CELL_BLANK) return 0;
  }
  return 1;
}

static void ReportRun(EngineState *state, int32_t rows) {
  ClearReport report;
  SplitRun(rows, &report);
  state->host->clear_proc(&state->host_tally, &report, state->host->user);
}

int32_t RemoveFullRows(EngineState *state) {
  char *board = state->settled_board;
  int32_t row = BOARD_ROWS - 1;
  int32_t run = 0;
  int32_t changed = 0;
  while (row > 0) {
    if (RowIsFull(board, row)) {
      // Everything above drops by one; the row that moves in is examined next.
      for (int32_t k = row; k > 0; --k) {
        memcpy(board + k * BOARD_COLUMNS, board + (k - 1) * BOARD_COLUMNS, BOARD_COLUMNS);
      }
      memset(board, CELL_BLANK, BOARD_COLUMNS);
      state->rows_since_check += 1;
      run += 1;
      continue;
    }
    // A non-full row ends the run, so separated full rows are reported separately.
    if (run > 0) {
      ReportRun(state, run);
      changed = 1;
      run = 0;
    }
    row -= 1;
  }
  return changed;
}

void PushUpRow(EngineState *state) {
  char *board = state->settled_board;
  char *bottom = board + (BOARD_ROWS - 1) * BOARD_COLUMNS;
  memmove(board, board + BOARD_COLUMNS, (BOARD_ROWS - 1) * BOARD_COLUMNS);
  memset(bottom, CELL_SETTLED, BOARD_COLUMNS);
  // Only a pick equal to the one just before it is drawn again, so the third hole may land on
  // the first and leave two holes; the row is never full either way.
  int32_t previous = -1;
  for (int32_t i = 0; i < HOLES_PER_PUSHED_ROW; ++i) {
    int32_t c;
    do {
      c = (DrawRandom(state) * BOARD_COLUMNS) >> 15;
    } while (c == previous);
    bottom[c] = CELL_BLANK;
    previous = c;
  }
}

int32_t ApplyLevel2Rule(EngineState *state) {
  const HostRecord *host = state->host;
  if ((uint32_t)state->pieces_since_check < host->lv2_block) return 0;
  state->pieces_since_check = 0;
  if ((uint32_t)state->rows_since_check >= host->lv2_norma) {
    state->rows_since_check = 0;
    return 0;
  }
  for (uint32_t i = 0; i < host->lv2_upline; ++i) PushUpRow(state);
  state->rows_since_check = 0;
  return 1;
}

int32_t LockPiece(EngineState *state) {
  state->pieces_since_check += 1;
  memcpy(state->view_board, state->settled_board, BOARD_CELLS);
  StampPiece(state, state->row, CELL_SETTLED);
  memcpy(state->settled_board, state->view_board, BOARD_CELLS);

  int32_t changed = RemoveFullRows(state);
  if (state->host->level2 && ApplyLevel2Rule(state)) changed = 1;
  if (changed) memcpy(state->view_board, state->settled_board, BOARD_CELLS);

  AdvancePiece(state);
  ShowSpawn(state);
  return PieceCollides(state, state->col, state->row, state->rotation);
}
