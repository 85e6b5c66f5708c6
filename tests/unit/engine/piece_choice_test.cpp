// The random source and the choice of pieces, against the generator and choice rules written
// out plainly in reference_engine.cpp.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "random_source.h"
#include "reference_engine.h"
#include "settled_game.h"

namespace {

TEST(RandomSource, DrawsFollowTheGeneratorAfterOneDiscardedValue) {
  for (uint32_t seed : {0u, 1u, 12345u, 1765000000u, 0xFFFFFFFFu}) {
    SettledGame game(seed);
    reference::Random expected(seed);
    for (int i = 0; i < 1000; ++i)
      ASSERT_EQ(DrawRandom(&game.state), expected.Next()) << seed << " " << i;
  }
}

TEST(PieceChoice, EveryDrawMapsAsThePlainAndFavouredRulesSay) {
  HostRecord host = HostRecord();
  // 100000 makes r * (weight + 7) pass 2^31 for large draws: only unsigned products stay right.
  for (int weight : {0, 7, 100000}) {
    for (int blockfreq : {-1, -5, 0, 3, 6}) {
      host.blockfreq = blockfreq;
      host.freq_weight = weight;
      for (int r = 0; r < 32768; ++r) {
        ASSERT_EQ(ChoosePiece(&host, r), reference::Piece(r, blockfreq, weight))
            << "r " << r << " blockfreq " << blockfreq << " weight " << weight;
      }
    }
  }
  for (int r = 0; r < 32768; ++r) ASSERT_EQ(ChooseRotation(r), reference::Rotation(r)) << r;
}

TEST(PieceChoice, FavouredPieceComesAboutEightTimesInFourteen) {
  SettledGame game(4242);
  game.host.blockfreq = 3;
  game.host.freq_weight = 7;
  const int kPieces = 14000;
  int counts[7] = {0};
  for (int i = 0; i < kPieces; ++i) {
    AdvancePiece(&game.state);
    counts[game.state.piece]++;
  }
  EXPECT_NEAR(counts[3] / double(kPieces), 8.0 / 14.0, 0.02);
  for (int p : {0, 1, 2, 4, 5, 6}) EXPECT_NEAR(counts[p] / double(kPieces), 1.0 / 14.0, 0.012) << p;
}

class GameStart : public EngineTest {};

// Plays `clears` board clears and checks every spawn against the seeded sequence: the spawned
// piece at column 6, row 1 and the preview of the one after it.
void ExpectSpawnsFollowTheSequence(int blockfreq, int clears) {
  FakeHost host;
  host.record.blockfreq = blockfreq;
  for (int i = 0; i < clears; ++i) host.script.push_back(CMD_CLEAR);
  ASSERT_EQ(host.Play(), 0);
  ASSERT_EQ(host.spawn_views.size(), size_t(clears + 1));
  std::vector<reference::Spawn> seq =
      reference::PieceSequence(fake_clock::seconds, clears + 2, blockfreq, 7);
  for (int k = 0; k <= clears; ++k) {
    std::string falling = reference::Picture(seq[k].piece, seq[k].rotation);
    EXPECT_EQ(FallingCells(host.spawn_views[k]), reference::PlacedCells(falling, 1, 6)) << k;
    EXPECT_EQ(host.next_pictures[k], reference::Picture(seq[k + 1].piece, seq[k + 1].rotation))
        << k;
    EXPECT_EQ(host.tallies[k], 0);
  }
}

TEST_F(GameStart, SpawnedPiecesAndPreviewsFollowTheSeededSequence) {
  ExpectSpawnsFollowTheSequence(-1, 40);
  fake_clock::seconds = 1765000123u;
  ExpectSpawnsFollowTheSequence(3, 40);
}

TEST_F(GameStart, AnyNegativeFavouredPieceMeansNone) {
  FakeHost plain, negative;
  negative.record.blockfreq = -5;
  for (int i = 0; i < 30; ++i) {
    plain.script.push_back(CMD_CLEAR);
    negative.script.push_back(CMD_CLEAR);
  }
  ASSERT_EQ(plain.Play(), 0);
  ASSERT_EQ(negative.Play(), 0);
  EXPECT_EQ(negative.spawn_views, plain.spawn_views);
  EXPECT_EQ(negative.next_pictures, plain.next_pictures);
}

}  // namespace
