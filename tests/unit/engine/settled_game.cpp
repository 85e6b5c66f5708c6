#include "settled_game.h"

#include <string.h>

#include "board.h"
#include "random_source.h"
#include "row_removal.h"

namespace {

SettledGame *GameOf(void *user) {
  return static_cast<SettledGame *>(user);
}

void QUILLCORE_CALL OnSpawn(const char *, const char *, int32_t, void *user) {
  GameOf(user)->spawns++;
}

void QUILLCORE_CALL OnRedraw(const char *, void *user) {
  GameOf(user)->redraws++;
}

void QUILLCORE_CALL OnClear(int32_t *, const ClearReport *report, void *user) {
  GameOf(user)->reports.push_back(*report);
}

}  // namespace

SettledGame::SettledGame(uint32_t seed) {
  memset(&state, 0, sizeof state);
  host = HostRecord();
  host.spawn_proc = OnSpawn;
  host.redraw_proc = OnRedraw;
  host.clear_proc = OnClear;
  host.blockfreq = -1;
  host.lv2_norma = 1;
  host.lv2_block = 6;
  host.lv2_upline = 1;
  host.user = this;
  BlankBoard(settled);
  BlankBoard(view);
  state.host = &host;
  state.settled_board = settled;
  state.view_board = view;
  SeedRandom(&state, seed);
}

void SettledGame::FillRow(int row, std::initializer_list<int> gaps) {
  memset(settled + row * BOARD_COLUMNS, '#', BOARD_COLUMNS);
  for (int col : gaps) settled[row * BOARD_COLUMNS + col] = ' ';
}

void SettledGame::Place(int piece, int rotation, int col, int row) {
  state.piece = piece;
  state.rotation = rotation;
  state.col = col;
  state.row = row;
}

int32_t SettledGame::LockAt(int piece, int rotation, int col, int row) {
  Place(piece, rotation, col, row);
  return LockPiece(&state);
}
