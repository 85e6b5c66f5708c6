// A scripted host for driving the engine entry in tests, and a fake clock behind the engine's
// clock hook so fall timing and random seeds are fully under the test's control.
#pragma once

#include <stdint.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "quillcore.h"

namespace fake_clock {
extern uint32_t tick;
extern uint32_t seconds;
extern int tick_reads;
}  // namespace fake_clock

// Installs the fake clock for each test and restores the system clock afterwards.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

struct FakeHost {
  HostRecord record;  // first, so the engine's record pointer is the host's address too

  // Decides each command; by default plays `script` and then quits.
  std::function<int32_t(FakeHost &)> decide;
  std::deque<int32_t> script;

  std::vector<std::string> spawn_views;  // view board at each spawn_proc
  std::vector<std::string> next_pictures;
  std::vector<int32_t> tallies;
  std::vector<std::string> redraw_views;
  std::vector<ClearReport> reports;
  std::string events;     // one letter per callback in order: S spawn, R redraw, I input, C clear
  std::string last_view;  // the most recent board shown by spawn_proc or redraw_proc
  int inputs = 0;
  int32_t tally_step = 0;  // clear_proc adds this to the engine's host_tally

  FakeHost();
  int32_t Play();
};

// The falling piece's cells and the frame position a picture needs to show them, as
// reference::PlacedCells gives them: sorted (row, col).
std::vector<std::pair<int, int>> FallingCells(const std::string &view);
