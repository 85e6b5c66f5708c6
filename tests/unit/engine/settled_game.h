// One game's state with hand-made boards, the engine state every test of the engine's modules
// starts from: seeded, both boards blank, a host that counts spawns and redraws and keeps the
// clear reports (level 2 rising one row per piece, no favoured piece).  A test changes the
// host's fields, places a piece anywhere, runs a module's step (the lock sequence, a turn, a
// collision test) and reads back the boards, the reports and the counters.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "engine_state.h"

struct SettledGame {
  EngineState state;
  HostRecord host;
  char settled[BOARD_CELLS];
  char view[BOARD_CELLS];
  std::vector<ClearReport> reports;
  int spawns = 0;
  int redraws = 0;

  explicit SettledGame(uint32_t seed = 777);
  SettledGame(const SettledGame &) = delete;
  SettledGame &operator=(const SettledGame &) = delete;

  void Settle(int row, int col) { settled[row * BOARD_COLUMNS + col] = '#'; }
  // Fills `row` with "#" except the columns in `gaps`.
  void FillRow(int row, std::initializer_list<int> gaps);
  std::string Row(int row) const {
    return std::string(settled + row * BOARD_COLUMNS, BOARD_COLUMNS);
  }
  std::string Settled() const { return std::string(settled, BOARD_CELLS); }
  std::string View() const { return std::string(view, BOARD_CELLS); }

  // Puts `piece` in `rotation` with its frame at (row, col).
  void Place(int piece, int rotation, int col, int row);

  // Puts `piece` in `rotation` with its frame at (row, col) and runs the lock sequence;
  // returns what the lock sequence returns (1: the next piece is blocked).
  int32_t LockAt(int piece, int rotation, int col, int row);
};
