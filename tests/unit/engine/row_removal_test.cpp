// Locking a piece and removing full rows, run by run, over hand-made stacks.
#include <gtest/gtest.h>

#include <string>

#include "reference_engine.h"
#include "settled_game.h"

namespace {

std::string Blank() {
  return std::string(BOARD_CELLS, ' ');
}

void Put(std::string &board, int row, int col) {
  board[row * 16 + col] = '#';
}

// The view shown after a lock is the settled board with the new piece and its guide on top.
std::string Underneath(const SettledGame &g) {
  std::string view(g.view, BOARD_CELLS);
  for (char &cell : view) {
    if (cell == 'O' || cell == '.') cell = ' ';
  }
  return view;
}

// An upright bar locked against the left wall, its blocks in column 0 of rows 20 to 23.
const int kBar = 5, kUpright = 0, kBarCol = -1, kBarRow = 20;

TEST(RowRemoval, RunOfAdjacentFullRowsIsReportedAsOneClearOfThatSize) {
  for (int n = 1; n <= 4; ++n) {
    SettledGame g;
    g.state.rows_since_check = 2;
    for (int r = 24 - n; r < 24; ++r) g.FillRow(r, {0});
    g.Settle(10, 5);
    g.LockAt(kBar, kUpright, kBarCol, kBarRow);

    ASSERT_EQ(g.reports.size(), 1u) << n;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(g.reports[0].count[k], k == n - 1 ? 1 : 0) << n;
    EXPECT_EQ(g.state.rows_since_check, 2 + n);
    std::string expected = Blank();
    for (int r = 20 + n; r < 24; ++r) Put(expected, r, 0);  // what is left of the bar
    Put(expected, 10 + n, 5);
    EXPECT_EQ(g.Settled(), expected) << n;
    EXPECT_EQ(Underneath(g), expected) << n;
    EXPECT_EQ(g.spawns, 1);
  }
}

TEST(RowRemoval, SeparatedFullRowsAreReportedSeparately) {
  SettledGame g;
  g.FillRow(20, {0});
  g.FillRow(21, {0, 1});
  g.FillRow(22, {0});
  g.FillRow(23, {0, 5});
  g.LockAt(kBar, kUpright, kBarCol, kBarRow);

  ASSERT_EQ(g.reports.size(), 2u);
  for (const ClearReport &report : g.reports) {
    EXPECT_EQ(report.count[0], 1);
    EXPECT_EQ(report.count[1] + report.count[2] + report.count[3], 0);
  }
  EXPECT_EQ(g.state.rows_since_check, 2);
  std::string expected = Blank();
  for (int c = 0; c < 16; ++c) {
    if (c != 1) Put(expected, 22, c);
    if (c != 5) Put(expected, 23, c);
  }
  EXPECT_EQ(g.Settled(), expected);
}

TEST(RowRemoval, LockThatFillsNoRowReportsNothing) {
  SettledGame g;
  g.FillRow(23, {3, 4});
  g.state.rows_since_check = 3;
  g.LockAt(4, 0, 5, 20);  // the square fills columns 6 and 7 of rows 21 and 22
  EXPECT_TRUE(g.reports.empty());
  EXPECT_EQ(g.state.rows_since_check, 3);
  EXPECT_EQ(g.state.pieces_since_check, 1);
  EXPECT_EQ(reference::CountOf(g.Settled(), '#'), 14 + 4);
  EXPECT_EQ(reference::CountOf(g.Settled(), 'O'), 0);
  EXPECT_EQ(g.spawns, 1);
}

TEST(RowRemoval, TopRowMovesDownAndIsLeftBlank) {
  SettledGame g;
  g.Settle(0, 0);
  g.Settle(0, 15);
  g.FillRow(23, {0});
  g.LockAt(kBar, kUpright, kBarCol, kBarRow);
  ASSERT_EQ(g.reports.size(), 1u);
  EXPECT_EQ(g.Row(0), std::string(16, ' '));
  EXPECT_EQ(g.Row(1), "#              #");
  EXPECT_EQ(Underneath(g).substr(16, 16), "#              #");
}

TEST(RowRemoval, NewPieceBlockedAtItsStartEndsTheGame) {
  SettledGame g;
  for (int r = 1; r < 24; ++r) g.Settle(r, 7);
  g.Settle(2, 6);
  g.Settle(2, 8);
  EXPECT_EQ(g.LockAt(4, 0, 12, 18), 1);
  EXPECT_EQ(g.spawns, 1);

  SettledGame open;
  EXPECT_EQ(open.LockAt(4, 0, 12, 18), 0);
}

}  // namespace
