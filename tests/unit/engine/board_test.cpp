// Collision, landing row, guide and turns over hand-made boards, through the engine's board
// module directly so that any stack shape can be set up.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "board.h"
#include "reference_engine.h"
#include "settled_game.h"

namespace {

// A piece placed on blank boards, with the landing guide on.
struct Position : SettledGame {
  Position(int piece, int rotation, int col, int row) {
    host.guide_shadow = 1;
    Place(piece, rotation, col, row);
  }
};

TEST(Collision, BlocksOutsideTheBoardCollideWhileTheFrameMayHangOver) {
  Position upright(5, 0, 6, 1);  // blocks in frame column 1, frame rows 0..3
  EXPECT_EQ(PieceCollides(&upright.state, -1, 1, 0), 0);
  EXPECT_EQ(PieceCollides(&upright.state, -2, 1, 0), 1);
  EXPECT_EQ(PieceCollides(&upright.state, 14, 1, 0), 0);
  EXPECT_EQ(PieceCollides(&upright.state, 15, 1, 0), 1);
  EXPECT_EQ(PieceCollides(&upright.state, 6, 20, 0), 0);
  EXPECT_EQ(PieceCollides(&upright.state, 6, 21, 0), 1);
  // Lying flat the blocks sit in frame row 1.
  EXPECT_EQ(PieceCollides(&upright.state, 6, 22, 1), 0);
  EXPECT_EQ(PieceCollides(&upright.state, 6, 23, 1), 1);
  EXPECT_EQ(PieceCollides(&upright.state, 6, -1, 1), 0);
  EXPECT_EQ(PieceCollides(&upright.state, 6, -2, 1), 1);
}

TEST(Collision, OnlySettledBlocksCollideNotThePieceOrGuideShown) {
  Position p(4, 0, 6, 10);  // blocks at rows 11..12, columns 7..8
  memset(p.view, 'O', BOARD_CELLS);
  EXPECT_EQ(PieceCollides(&p.state, 6, 10, 0), 0);
  p.Settle(12, 8);
  EXPECT_EQ(PieceCollides(&p.state, 6, 10, 0), 1);
  EXPECT_EQ(PieceCollides(&p.state, 7, 10, 0), 1);
  EXPECT_EQ(PieceCollides(&p.state, 8, 10, 0), 0);
}

TEST(LandingRow, PieceFallsToTheFloorOrOntoTheStack) {
  Position p(4, 0, 6, 1);
  EXPECT_EQ(LandingRow(&p.state), 21);
  p.Settle(20, 8);
  EXPECT_EQ(LandingRow(&p.state), 17);
  p.state.row = 17;
  EXPECT_EQ(LandingRow(&p.state), 17);
  // Already inside the stack (a blocked spawn): the current row.
  p.state.row = 18;
  EXPECT_EQ(LandingRow(&p.state), 18);
}

TEST(Refresh, GuideLiesUnderThePieceAndThePieceCoversItWhenResting) {
  Position p(2, 1, 3, 1);
  RefreshView(&p.state);
  EXPECT_EQ(p.redraws, 1);
  std::string view = p.View();
  EXPECT_EQ(reference::CellsOf(view, 'O'), reference::PlacedCells(reference::Picture(2, 1), 1, 3));
  EXPECT_EQ(reference::CellsOf(view, '.'), reference::PlacedCells(reference::Picture(2, 1), 22, 3));

  p.state.row = 22;
  RefreshView(&p.state);
  EXPECT_EQ(reference::CountOf(p.View(), '.'), 0);
  EXPECT_EQ(reference::CountOf(p.View(), 'O'), 4);

  p.host.guide_shadow = 0;
  p.state.row = 5;
  RefreshView(&p.state);
  EXPECT_EQ(reference::CountOf(p.View(), '.'), 0);
  EXPECT_EQ(reference::CountOf(p.View(), 'O'), 4);
}

TEST(Refresh, ViewIsRebuiltFromTheSettledBoardEachTime) {
  Position p(4, 0, 6, 1);
  p.Settle(23, 0);
  memset(p.view, 'O', BOARD_CELLS);
  RefreshView(&p.state);
  EXPECT_EQ(p.view[23 * 16], '#');
  EXPECT_EQ(reference::CountOf(p.View(), 'O'), 4);
  EXPECT_EQ(reference::CountOf(p.View(), '.'), 4);
}

TEST(Turns, TurnBlockedByWallOrStackLeavesThePieceUnchanged) {
  Position at_wall(5, 0, -1, 5);  // upright against the left wall
  EXPECT_EQ(TurnPiece(&at_wall.state, 1), 0);
  EXPECT_EQ(TurnPiece(&at_wall.state, -1), 0);
  EXPECT_EQ(at_wall.state.rotation, 0);
  EXPECT_EQ(at_wall.redraws, 0);

  Position by_stack(5, 0, 6, 1);
  by_stack.Settle(2, 9);
  EXPECT_EQ(TurnPiece(&by_stack.state, 1), 0);
  EXPECT_EQ(by_stack.state.rotation, 0);
  EXPECT_EQ(by_stack.redraws, 0);
  by_stack.settled[2 * 16 + 9] = ' ';
  EXPECT_EQ(TurnPiece(&by_stack.state, 1), 1);
  EXPECT_EQ(by_stack.state.rotation, 1);
  EXPECT_EQ(by_stack.redraws, 1);
}

TEST(Turns, RotationWrapsBothWays) {
  Position p(6, 0, 6, 5);
  EXPECT_EQ(TurnPiece(&p.state, -1), 1);
  EXPECT_EQ(p.state.rotation, 3);
  EXPECT_EQ(TurnPiece(&p.state, 1), 1);
  EXPECT_EQ(p.state.rotation, 0);
  p.state.rotation = 3;
  EXPECT_EQ(TurnPiece(&p.state, 1), 1);
  EXPECT_EQ(p.state.rotation, 0);
}

TEST(Turns, SquarePieceTurnsInAnyGapItFitsWithoutChangingItsCells) {
  Position p(4, 2, 6, 21);  // resting on the floor, hemmed in on both sides
  for (int r = 21; r < 24; ++r) {
    p.Settle(r, 6);
    p.Settle(r, 9);
  }
  RefreshView(&p.state);
  std::string before = p.View();
  EXPECT_EQ(TurnPiece(&p.state, 1), 1);
  EXPECT_EQ(p.View(), before);
}

TEST(Moves, ShiftIsRefusedAtTheWallAndTheStack) {
  Position p(4, 0, -1, 5);  // square's blocks in columns 0..1
  EXPECT_EQ(ShiftPiece(&p.state, -1), 0);
  EXPECT_EQ(p.state.col, -1);
  p.Settle(6, 2);
  EXPECT_EQ(ShiftPiece(&p.state, 1), 0);
  EXPECT_EQ(p.redraws, 0);
  p.settled[6 * 16 + 2] = ' ';
  EXPECT_EQ(ShiftPiece(&p.state, 1), 1);
  EXPECT_EQ(p.state.col, 0);
  EXPECT_EQ(p.redraws, 1);
}

}  // namespace
