// The fall timing: one fall step when more than `wait` milliseconds have passed since the
// interval began, measured on the 32-bit tick counter including its wrap-around.  Each test's
// host sets the fake tick counter from inside input_proc, as a real blocking host would see time
// pass, and the events string shows where the fall steps (R) came.
#include <gtest/gtest.h>

#include <vector>

#include "fake_host.h"
#include "reference_engine.h"

namespace {

class Timing : public EngineTest {};

// An input step: the tick the host's input_proc returns at, and the command it returns.
struct Step {
  uint32_t tick;
  int32_t command;
};

void PlaySteps(FakeHost &host, std::vector<Step> steps) {
  host.decide = [steps](FakeHost &h) {
    if (h.inputs > int(steps.size())) return static_cast<int32_t>(CMD_QUIT);
    fake_clock::tick = steps[h.inputs - 1].tick;
    return steps[h.inputs - 1].command;
  };
  host.Play();
}

// The falling piece moved straight down by `rows` between two views.
bool FellBy(const std::string &from, const std::string &to, int rows) {
  std::vector<std::pair<int, int>> cells = FallingCells(from);
  for (auto &cell : cells) cell.first += rows;
  return FallingCells(to) == cells;
}

TEST_F(Timing, FallStepComesOnlyOnceElapsedExceedsWait) {
  FakeHost host;
  host.record.wait = 100;
  PlaySteps(
      host,
      {{1050, CMD_NONE}, {1100, CMD_NONE}, {1101, CMD_NONE}, {1201, CMD_NONE}, {1202, CMD_NONE}});
  EXPECT_EQ(host.events, "SIIIRIIRI");
  ASSERT_EQ(host.redraw_views.size(), 2u);
  EXPECT_TRUE(FellBy(host.spawn_views[0], host.redraw_views[0], 1));
  EXPECT_TRUE(FellBy(host.redraw_views[0], host.redraw_views[1], 1));
}

TEST_F(Timing, WithWaitZeroThePieceHoldsWhileTheCounterStandsStill) {
  FakeHost host;
  host.record.wait = 0;
  std::vector<Step> steps(500, Step{1000, CMD_NONE});
  steps.push_back(Step{1001, CMD_NONE});
  PlaySteps(host, steps);
  EXPECT_EQ(host.events, "S" + std::string(501, 'I') + "RI");
}

TEST_F(Timing, MovesAndTurnsDoNotRestartTheInterval) {
  FakeHost host;
  host.record.wait = 100;
  PlaySteps(host, {{1060, CMD_LEFT}, {1080, CMD_ROTATE_RIGHT}, {1101, CMD_NONE}});
  EXPECT_EQ(host.events, "SIRIRIRI");
  ASSERT_EQ(host.redraw_views.size(), 3u);
  EXPECT_TRUE(FellBy(host.redraw_views[1], host.redraw_views[2], 1));
}

TEST_F(Timing, WaitRaisedInsideInputLengthensTheRunningInterval) {
  FakeHost host;
  host.record.wait = 100;
  host.decide = [](FakeHost &h) {
    const uint32_t ticks[] = {1050, 1200, 1300, 1301};
    if (h.inputs > 4) return static_cast<int32_t>(CMD_QUIT);
    fake_clock::tick = ticks[h.inputs - 1];
    if (h.inputs == 1) h.record.wait = 300;
    return static_cast<int32_t>(CMD_NONE);
  };
  host.Play();
  EXPECT_EQ(host.events, "SIIIIRI");
}

TEST_F(Timing, InputBlockedPastTheWaitGivesExactlyOneFallStep) {
  FakeHost host;
  host.record.wait = 100;
  PlaySteps(host, {{6000, CMD_NONE}, {6000, CMD_NONE}, {6100, CMD_NONE}, {6101, CMD_NONE}});
  EXPECT_EQ(host.events, "SIRIIIRI");
  EXPECT_TRUE(FellBy(host.spawn_views[0], host.redraw_views[0], 1));
}

TEST_F(Timing, DropAndClearStartANewInterval) {
  FakeHost host;
  host.record.wait = 100;
  PlaySteps(
      host,
      {{1090, CMD_DROP}, {1150, CMD_NONE}, {1180, CMD_CLEAR}, {1250, CMD_NONE}, {1281, CMD_NONE}});
  EXPECT_EQ(host.events, "SISIISIIRI");
}

// The interval starts 15 ms before the counter wraps.
TEST_F(Timing, FirstReadingAfterTheWrapCountsTheTimeUpToTheWrap) {
  for (uint32_t wait : {18u, 19u}) {
    fake_clock::tick = 0xFFFFFFF0u;
    FakeHost host;
    host.record.wait = wait;
    PlaySteps(host, {{4, CMD_NONE}});
    // 4 + (0xFFFFFFFF - 0xFFFFFFF0) = 19: past a wait of 18, not past 19.
    EXPECT_EQ(host.events, wait == 18 ? "SIRI" : "SII") << wait;
  }
}

TEST_F(Timing, LaterReadingsInAWrappedIntervalCountFromZero) {
  fake_clock::tick = 0xFFFFFFF0u;
  FakeHost host;
  host.record.wait = 19;
  PlaySteps(host, {{4, CMD_NONE}, {19, CMD_NONE}, {20, CMD_NONE}});
  EXPECT_EQ(host.events, "SIIIRI");
}

TEST_F(Timing, RestingPieceLocksOnlyAtTheNextFallStep) {
  FakeHost host;
  host.record.wait = 0;
  // Every call moves the clock on, so every interval ends at the next reading.
  host.decide = [](FakeHost &h) {
    if (h.spawn_views.size() > 1) return static_cast<int32_t>(CMD_QUIT);
    fake_clock::tick += 1;
    return static_cast<int32_t>(CMD_NONE);
  };
  host.Play();
  ASSERT_EQ(host.spawn_views.size(), 2u);
  const std::string &spawn = host.spawn_views[0];
  int drop = reference::CellsOf(spawn, '.')[0].first - reference::CellsOf(spawn, 'O')[0].first;
  ASSERT_GT(drop, 0);
  ASSERT_EQ(host.redraw_views.size(), size_t(drop));
  EXPECT_EQ(reference::CellsOf(host.redraw_views.back(), 'O'), reference::CellsOf(spawn, '.'));
  // One more interval passes on the resting piece before the lock brings the next spawn.
  EXPECT_EQ(host.events.substr(host.events.size() - 4), "RISI");
  EXPECT_EQ(reference::CellsOf(host.spawn_views[1], '#'), reference::CellsOf(spawn, '.'));
}

}  // namespace
