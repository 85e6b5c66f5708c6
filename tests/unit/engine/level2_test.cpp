// The level-2 quota rule and the rows it pushes up from the bottom.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "fake_host.h"
#include "reference_engine.h"
#include "row_removal.h"
#include "settled_game.h"

namespace {

// The row pushed up with the generator at `random`: "#" with three picked holes, a pick equal
// to the one just before it drawn again.
std::string PushedRow(reference::Random &random, bool *repeated = nullptr) {
  std::string row(16, '#');
  int previous = -1;
  for (int i = 0; i < 3; ++i) {
    int col = random.Next() * 16 / 32768;
    while (col == previous) {
      if (repeated) *repeated = true;
      col = random.Next() * 16 / 32768;
    }
    row[col] = ' ';
    previous = col;
  }
  return row;
}

reference::Random GeneratorAt(uint32_t state) {
  reference::Random random(0);
  random.state = state;
  return random;
}

TEST(RisingRows, HolesFollowTheRandomSequenceAndOnlyNeighbouringPicksMustDiffer) {
  bool saw_two_holes = false, saw_three_holes = false, saw_redraw = false;
  for (uint32_t i = 0; i < 3000; ++i) {
    SettledGame g;
    g.state.random_state = i * 2654435761u;
    g.FillRow(23, {2});
    g.Settle(1, 9);
    g.Settle(0, 4);
    reference::Random random = GeneratorAt(g.state.random_state);
    bool repeated = false;
    std::string expected = PushedRow(random, &repeated);

    PushUpRow(&g.state);
    ASSERT_EQ(g.Row(23), expected) << i;
    ASSERT_EQ(g.Row(22), "## #############") << i;
    ASSERT_EQ(g.Row(0), "         #      ") << i;
    ASSERT_EQ(g.state.random_state, random.state) << i;
    int blocks = reference::CountOf(expected, '#');
    saw_two_holes = saw_two_holes || blocks == 14;
    saw_three_holes = saw_three_holes || blocks == 13;
    saw_redraw = saw_redraw || repeated;
  }
  EXPECT_TRUE(saw_two_holes);
  EXPECT_TRUE(saw_three_holes);
  EXPECT_TRUE(saw_redraw);
}

// Squares locked in the air, apart, so no row ever fills.
void LockApartSquare(SettledGame &g, int i) {
  g.LockAt(4, 0, (i % 7) * 2 - 1, 8 + (i / 7) * 2);
}

TEST(Level2, DefaultsRaiseOneRowAfterSixLocksThatClearedNothing) {
  SettledGame g;
  g.host.level2 = 1;
  for (int i = 0; i < 5; ++i) {
    LockApartSquare(g, i);
    EXPECT_EQ(g.state.pieces_since_check, i + 1);
  }
  std::string before = g.Settled();
  reference::Random random = GeneratorAt(g.state.random_state);
  LockApartSquare(g, 5);
  EXPECT_EQ(g.Row(23), PushedRow(random));
  EXPECT_EQ(g.state.pieces_since_check, 0);
  EXPECT_EQ(g.state.rows_since_check, 0);
  // Everything else, including the sixth square, moved up by one row.
  std::string expected = before;
  expected[9 * 16 + 10] = expected[9 * 16 + 11] = '#';
  expected[10 * 16 + 10] = expected[10 * 16 + 11] = '#';
  EXPECT_EQ(g.Settled().substr(0, 23 * 16), expected.substr(16, 23 * 16));
  std::string view(g.view, BOARD_CELLS);
  EXPECT_EQ(view.substr(23 * 16), g.Row(23));
}

TEST(Level2, RowClearedByTheLockThatClosesTheWindowMeetsTheQuota) {
  SettledGame g;
  g.host.level2 = 1;
  g.FillRow(23, {14, 15});
  for (int i = 0; i < 5; ++i) LockApartSquare(g, i);
  g.LockAt(4, 0, 13, 21);  // fills columns 14 and 15 of rows 22 and 23
  ASSERT_EQ(g.reports.size(), 1u);
  EXPECT_EQ(g.state.pieces_since_check, 0);
  EXPECT_EQ(g.state.rows_since_check, 0);
  EXPECT_EQ(reference::CountOf(g.Settled(), '#'), 6 * 4 + 14 - 16);
}

TEST(Level2, WindowOfZeroOrOneLockClosesAfterEveryLock) {
  for (uint32_t block : {0u, 1u}) {
    SettledGame g;
    g.host.level2 = 1;
    g.host.lv2_block = block;
    for (int i = 0; i < 3; ++i) {
      LockApartSquare(g, i);
      EXPECT_EQ(g.state.pieces_since_check, 0);
    }
    for (int r = 21; r < 24; ++r) {
      int blocks = reference::CountOf(g.Row(r), '#');
      EXPECT_TRUE(blocks == 13 || blocks == 14) << block << " row " << r;
    }
    EXPECT_EQ(g.Row(20), std::string(16, ' '));
  }
}

TEST(Level2, QuotaOfZeroIsAlwaysMet) {
  SettledGame g;
  g.host.level2 = 1;
  g.host.lv2_block = 1;
  g.host.lv2_norma = 0;
  for (int i = 0; i < 10; ++i) LockApartSquare(g, i);
  EXPECT_EQ(reference::CountOf(g.Settled(), '#'), 40);
}

TEST(Level2, MissedQuotaWithNoRowsToRaiseStillResetsBothCounters) {
  SettledGame g;
  g.host.level2 = 1;
  g.host.lv2_block = 2;
  g.host.lv2_norma = 5;
  g.host.lv2_upline = 0;
  g.FillRow(23, {0});
  LockApartSquare(g, 3);
  g.LockAt(5, 0, -1, 20);  // completes row 23: one row towards a quota of five
  ASSERT_EQ(g.reports.size(), 1u);
  EXPECT_EQ(g.state.rows_since_check, 0);
  EXPECT_EQ(g.state.pieces_since_check, 0);
  EXPECT_EQ(reference::CountOf(g.Settled(), '#'), 15 + 4 + 4 - 16);

  g.state.pieces_since_check = 2;
  std::string before = g.Settled();
  EXPECT_EQ(ApplyLevel2Rule(&g.state), 1);
  EXPECT_EQ(g.Settled(), before);
}

TEST(Level2, RuleIsOffOutsideLevelTwo) {
  SettledGame g;
  g.host.lv2_block = 1;
  for (int i = 0; i < 4; ++i) LockApartSquare(g, i);
  EXPECT_EQ(reference::CountOf(g.Settled(), '#'), 16);
  EXPECT_EQ(g.state.pieces_since_check, 4);
}

class Level2Game : public EngineTest {};

TEST_F(Level2Game, HoleDrawsComeBeforeTheDrawsOfTheNextPiece) {
  FakeHost host;
  host.record.level2 = 1;
  host.record.lv2_block = 1;
  host.script = {CMD_DROP};
  ASSERT_EQ(host.Play(), 0);
  ASSERT_EQ(host.spawn_views.size(), 2u);

  reference::Random random(fake_clock::seconds);
  reference::Spawn pieces[2];
  for (reference::Spawn &s : pieces) {
    s.piece = reference::Piece(random.Next(), -1, 7);
    s.rotation = reference::Rotation(random.Next());
  }
  std::string pushed = PushedRow(random);
  int next_piece = reference::Piece(random.Next(), -1, 7);
  int next_rotation = reference::Rotation(random.Next());

  const std::string &view = host.spawn_views[1];
  EXPECT_EQ(view.substr(23 * 16), pushed);
  EXPECT_EQ(FallingCells(view),
            reference::PlacedCells(reference::Picture(pieces[1].piece, pieces[1].rotation), 1, 6));
  EXPECT_EQ(host.next_pictures[1], reference::Picture(next_piece, next_rotation));
}

}  // namespace
