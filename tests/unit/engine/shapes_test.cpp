// The piece pictures are constant data the host also draws (the next-piece preview), so every
// one of the 28 entries is checked against the game's own drawing of the pieces.
#include <gtest/gtest.h>

#include <string>

#include "reference_engine.h"
#include "shapes.h"

namespace {

TEST(ShapeTable, EveryPieceInEveryRotationMatchesItsPicture) {
  for (int q = 0; q < 4; ++q) {
    for (int p = 0; p < 7; ++p) {
      std::string stored(ShapeTable[q] + p * 16, 16);
      EXPECT_EQ(stored, reference::Picture(p, q)) << "piece " << p << " rotation " << q;
      EXPECT_EQ(ShapePicture(p, q), ShapeTable[q] + p * 16);
    }
  }
}

TEST(ShapeTable, NextRotationIsAClockwiseQuarterTurnForTheThreeByThreePieces) {
  for (int p : {2, 3, 6}) {
    for (int q = 0; q < 4; ++q) {
      const char *from = ShapePicture(p, q);
      const char *to = ShapePicture(p, (q + 1) % 4);
      // Turning clockwise on screen: the left column, read bottom to top, becomes the top row.
      for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
          EXPECT_EQ(to[r * 4 + c], from[(2 - c) * 4 + r]) << p << "/" << q << " " << r << c;
        }
      }
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(to[3 * 4 + i], ' ');
        EXPECT_EQ(to[i * 4 + 3], ' ');
      }
    }
  }
}

}  // namespace
