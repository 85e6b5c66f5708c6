// One game's state with hand-made boards, for driving the lock sequence directly: the test
// places a piece anywhere, locks it, and reads back the boards, the reports and the counters.
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

  explicit SettledGame(uint32_t seed = 777);
  SettledGame(const SettledGame &) = delete;
  SettledGame &operator=(const SettledGame &) = delete;

  void Settle(int row, int col) { settled[row * BOARD_COLUMNS + col] = '#'; }
  // Fills `row` with "#" except the columns in `gaps`.
  void FillRow(int row, std::initializer_list<int> gaps);
  std::string Row(int row) const { return std::string(settled + row * BOARD_COLUMNS, 16); }
  std::string Settled() const { return std::string(settled, BOARD_CELLS); }

  // Puts `piece` in `rotation` with its frame at (row, col) and runs the lock sequence;
  // returns what the lock sequence returns (1: the next piece is blocked).
  int32_t LockAt(int piece, int rotation, int col, int row);
};
