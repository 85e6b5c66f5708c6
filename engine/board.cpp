#include "board.h"

#include <string.h>

#include "shapes.h"

void BlankBoard(char *board) {
  memset(board, CELL_BLANK, BOARD_CELLS);
}

int32_t PieceCollides(const EngineState *state, int32_t col, int32_t row, int32_t rotation) {
  const char *picture = ShapePicture(state->piece, rotation);
  for (int32_t i = 0; i < PIECE_PICTURE_CELLS; ++i) {
    if (picture[i] == CELL_BLANK) continue;
    int32_t r = row + i / SHAPE_FRAME;
    int32_t c = col + i % SHAPE_FRAME;
    if (r < 0 || r >= BOARD_ROWS || c < 0 || c >= BOARD_COLUMNS) return 1;
    if (state->settled_board[r * BOARD_COLUMNS + c] != CELL_BLANK) return 1;
  }
  return 0;
}

void StampPiece(EngineState *state, int32_t row, char cell) {
  const char *picture = ShapePicture(state->piece, state->rotation);
  for (int32_t i = 0; i < PIECE_PICTURE_CELLS; ++i) {
    if (picture[i] == CELL_BLANK) continue;
    int32_t r = row + i / SHAPE_FRAME;
    int32_t c = state->col + i % SHAPE_FRAME;
    // Callers only stamp at positions inside the board; the guard keeps a wrong caller from
    // writing past the 384 bytes.
    if (r < 0 || r >= BOARD_ROWS || c < 0 || c >= BOARD_COLUMNS) continue;
    state->view_board[r * BOARD_COLUMNS + c] = cell;
  }
}

int32_t LandingRow(const EngineState *state) {
  int32_t row = state->row;
  while (row < BOARD_ROWS && !PieceCollides(state, state->col, row, state->rotation)) ++row;
  return row > state->row ? row - 1 : state->row;
}

void StampGuide(EngineState *state) {
  if (state->host->guide_shadow) StampPiece(state, LandingRow(state), CELL_GUIDE);
}

void RefreshView(EngineState *state) {
  memcpy(state->view_board, state->settled_board, BOARD_CELLS);
  StampGuide(state);
  StampPiece(state, state->row, CELL_FALLING);
  state->host->redraw_proc(state->view_board, state->host->user);
}

void ShowSpawn(EngineState *state) {
  StampGuide(state);
  StampPiece(state, state->row, CELL_FALLING);
  state->host->spawn_proc(state->view_board, ShapePicture(state->next_piece, state->next_rotation),
                          state->host_tally, state->host->user);
}

int32_t ShiftPiece(EngineState *state, int32_t delta_col) {
  if (PieceCollides(state, state->col + delta_col, state->row, state->rotation)) return 0;
  state->col += delta_col;
  RefreshView(state);
  return 1;
}

int32_t TurnPiece(EngineState *state, int32_t delta) {
  int32_t turned = (state->rotation + delta + SHAPE_ROTATIONS) % SHAPE_ROTATIONS;
  if (PieceCollides(state, state->col, state->row, turned)) return 0;
  state->rotation = turned;
  RefreshView(state);
  return 1;
}
