// The engine entry driven by a scripted host: refusals, commands, walls, drops, board clears
// and whole games.  The fake clock stands still unless a test moves it, so no piece falls by
// itself here.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_host.h"
#include "platform.h"
#include "reference_engine.h"
#include "steered_player.h"

namespace {

class Entry : public EngineTest {};

TEST_F(Entry, RefusesAnIncompleteRecordWithoutCallingBack) {
  for (int missing = 0; missing < 6; ++missing) {
    FakeHost host;
    if (missing == 0) host.record.spawn_proc = nullptr;
    if (missing == 1) host.record.redraw_proc = nullptr;
    if (missing == 2) host.record.input_proc = nullptr;
    if (missing == 3) host.record.clear_proc = nullptr;
    if (missing == 4) host.record.blockfreq = 7;
    if (missing == 5) host.record.blockfreq = 100;
    EXPECT_EQ(host.Play(), -1) << missing;
    EXPECT_EQ(host.events, "") << missing;
  }
  EXPECT_EQ(Quillomar(nullptr), -1);
}

#ifndef _WIN32
// The Linux stand-in can fail a chosen allocation; the boards are the engine's only ones.
TEST_F(Entry, RefusesWithoutCallingBackWhenABoardCannotBeAllocated) {
  for (int succeeding : {0, 1}) {
    FakeHost host;
    PlatformFailGlobalAllocAfter(succeeding);
    EXPECT_EQ(host.Play(), -1) << succeeding;
    PlatformFailGlobalAllocAfter(-1);
    EXPECT_EQ(host.events, "") << succeeding;
  }
  FakeHost after;
  EXPECT_EQ(after.Play(), 0);
}
#endif

int spare_calls = 0;
void QUILLCORE_CALL SpareCallback(void) {
  ++spare_calls;
}

TEST_F(Entry, SpareCallbackIsNeitherRequiredNorCalled) {
  FakeHost without;
  without.script = {CMD_DROP};
  EXPECT_EQ(without.Play(), 0);

  FakeHost with;
  with.record.spare_proc = reinterpret_cast<void *>(SpareCallback);
  with.script = {CMD_DROP, CMD_LEFT};
  EXPECT_EQ(with.Play(), 0);
  EXPECT_EQ(spare_calls, 0);
}

TEST_F(Entry, QuitEndsTheGameWithZeroAfterTheFirstSpawn) {
  FakeHost host;
  EXPECT_EQ(host.Play(), 0);
  EXPECT_EQ(host.events, "SI");
}

TEST_F(Entry, UnknownCommandsAreIgnored) {
  FakeHost host;
  host.script = {CMD_NONE, 8, -1, 100, CMD_LEFT};
  EXPECT_EQ(host.Play(), 0);
  EXPECT_EQ(host.events, "SIIIIIRI");
}

TEST_F(Entry, EveryCallStartsFromEmptyBoards) {
  FakeHost first;
  first.script = {CMD_DROP, CMD_DROP, CMD_DROP};
  ASSERT_EQ(first.Play(), 0);
  ASSERT_EQ(reference::CountOf(first.last_view, '#'), 12);

  FakeHost second;
  ASSERT_EQ(second.Play(), 0);
  EXPECT_EQ(second.spawn_views[0], first.spawn_views[0]);
  EXPECT_EQ(reference::CountOf(second.spawn_views[0], '#'), 0);
}

// For each of many pieces: twenty moves left, twenty right, then the next piece.
TEST_F(Entry, PiecesMoveUntilABlockReachesEitherWall) {
  const int kPieces = 24;
  FakeHost host;
  for (int i = 0; i < kPieces; ++i) {
    for (int k = 0; k < 20; ++k) host.script.push_back(CMD_LEFT);
    for (int k = 0; k < 20; ++k) host.script.push_back(CMD_RIGHT);
    host.script.push_back(CMD_CLEAR);
  }
  ASSERT_EQ(host.Play(), 0);

  size_t redraw = 0;
  for (int i = 0; i < kPieces; ++i) {
    std::vector<std::pair<int, int>> cells = FallingCells(host.spawn_views[i]);
    int left = 15, right = 0;
    for (auto &cell : cells) {
      left = std::min(left, cell.second);
      right = std::max(right, cell.second);
    }
    int width = right - left;
    // Exactly `left` moves succeed to the left, then 15 - width to the right.
    int moves = left + (15 - width);
    ASSERT_LE(redraw + moves, host.redraw_views.size());
    for (int m = 0; m < moves; ++m, ++redraw) {
      int shift = m < left ? -(m + 1) : -left + (m - left + 1);
      std::vector<std::pair<int, int>> moved = cells;
      for (auto &cell : moved) cell.second += shift;
      EXPECT_EQ(FallingCells(host.redraw_views[redraw]), moved) << "piece " << i << " move " << m;
    }
  }
  EXPECT_EQ(redraw, host.redraw_views.size());
}

TEST_F(Entry, DropLocksThePieceWhereItsGuideWas) {
  FakeHost host;
  host.script = {CMD_DROP, CMD_DROP};
  ASSERT_EQ(host.Play(), 0);
  EXPECT_EQ(host.events, "SISISI");
  std::vector<std::pair<int, int>> guide = reference::CellsOf(host.spawn_views[0], '.');
  ASSERT_EQ(guide.size(), 4u);
  EXPECT_EQ(reference::CellsOf(host.spawn_views[1], '#'), guide);
  EXPECT_EQ(reference::CountOf(host.spawn_views[2], '#'), 8);
}

TEST_F(Entry, WithoutTheGuideNoViewEverShowsIt) {
  FakeHost host;
  host.record.guide_shadow = 0;
  host.decide = [](FakeHost &h) {
    return static_cast<int32_t>(h.inputs % 3 == 0 ? CMD_DROP : CMD_LEFT);
  };
  ASSERT_EQ(host.Play(), 1);
  for (const std::string &view : host.spawn_views) EXPECT_EQ(reference::CountOf(view, '.'), 0);
  for (const std::string &view : host.redraw_views) EXPECT_EQ(reference::CountOf(view, '.'), 0);
}

TEST_F(Entry, DroppingEveryPieceEndsTheGameWithTheLastPieceOverTheStack) {
  FakeHost host;
  host.decide = [](FakeHost &) { return static_cast<int32_t>(CMD_DROP); };
  ASSERT_EQ(host.Play(), 1);
  EXPECT_EQ(host.events.back(), 'S');
  EXPECT_TRUE(host.reports.empty());
  size_t locks = host.spawn_views.size() - 1;
  ASSERT_GE(locks, 2u);
  for (size_t k = 0; k < locks; ++k) {
    EXPECT_EQ(reference::CountOf(host.spawn_views[k], '#'), int(4 * k)) << k;
    EXPECT_EQ(reference::CountOf(host.spawn_views[k], 'O'), 4) << k;
  }
  // The blocked piece is drawn over the stack and hides part of it.
  EXPECT_LT(reference::CountOf(host.spawn_views[locks], '#'), int(4 * locks));
  EXPECT_EQ(host.inputs, int(locks));
}

TEST_F(Entry, ClearEmptiesBothBoardsAndBringsInThePreviewedPiece) {
  FakeHost host;
  host.script = {CMD_DROP, CMD_DROP, CMD_CLEAR, CMD_DROP};
  ASSERT_EQ(host.Play(), 0);
  ASSERT_EQ(host.spawn_views.size(), 5u);
  const std::string &cleared = host.spawn_views[3];
  EXPECT_EQ(reference::CountOf(cleared, '#'), 0);
  EXPECT_EQ(FallingCells(cleared), reference::PlacedCells(host.next_pictures[2], 1, 6));
  EXPECT_EQ(reference::CountOf(cleared, '.'), 4);
  EXPECT_EQ(reference::CountOf(cleared, ' '), BOARD_CELLS - 8);
  // The settled board was emptied too: the next lock leaves only its own four blocks.
  EXPECT_EQ(reference::CountOf(host.spawn_views[4], '#'), 4);
}

TEST_F(Entry, ClearKeepsTheLevelTwoCounters) {
  FakeHost host;
  host.record.level2 = 1;
  host.record.lv2_block = 3;
  host.script = {CMD_DROP, CMD_DROP, CMD_CLEAR, CMD_DROP};
  ASSERT_EQ(host.Play(), 0);
  // The third lock closes the window although a clear came between: a row rose under it.
  int settled = reference::CountOf(host.spawn_views[4], '#');
  EXPECT_TRUE(settled == 4 + 13 || settled == 4 + 14) << settled;
}

// A steered game through the entry: every lock adds four blocks and every reported row takes
// sixteen away, so the blocks shown at each spawn tell whether the reports match the board.
TEST_F(Entry, ReportedRowsAccountForEveryBlockThatLeftTheBoard) {
  FakeHost host;
  host.tally_step = 10;
  SteeredPlayer player;
  size_t planned = 0;
  int reported_rows = 0;
  size_t counted_reports = 0;
  host.decide = [&](FakeHost &h) {
    if (h.spawn_views.size() > 300) return static_cast<int32_t>(CMD_QUIT);
    if (h.spawn_views.size() != planned) {
      planned = h.spawn_views.size();
      for (; counted_reports < h.reports.size(); ++counted_reports) {
        const ClearReport &r = h.reports[counted_reports];
        reported_rows += r.count[0] + 2 * r.count[1] + 3 * r.count[2] + 4 * r.count[3];
        EXPECT_EQ(r.count[0] + r.count[1] + r.count[2] + r.count[3], 1);
      }
      int locks = int(planned) - 1;
      EXPECT_EQ(reference::CountOf(h.spawn_views.back(), '#'), 4 * locks - 16 * reported_rows);
      EXPECT_EQ(h.tallies.back(), 10 * int(counted_reports));
      player.PlanFor(h.spawn_views.back());
    }
    return player.NextCommand();
  };
  EXPECT_EQ(host.Play(), 0);
  EXPECT_GE(reported_rows, 20);
  // Row 0 is only ever filled by rising rows, so it stays blank here.
  for (const std::string &view : host.spawn_views)
    EXPECT_EQ(view.substr(0, 16), std::string(16, ' '));
}

}  // namespace
