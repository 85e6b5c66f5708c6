// A small test player that steers each new piece to a good resting place (turns first, then
// moves, then a drop), so that a whole game through the real entry clears rows.  It reads only
// what the host is shown: the view board at each spawn.
#pragma once

#include <stdint.h>

#include <deque>
#include <string>

struct SteeredPlayer {
  std::deque<int32_t> commands;

  // Plans the commands for the piece that the spawn view (384 bytes) shows at column 6, row 1.
  void PlanFor(const std::string &spawn_view);

  // The next planned command; CMD_DROP once the plan has run out.
  int32_t NextCommand();
};
