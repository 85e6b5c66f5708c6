// Plain, independent restatements of the engine's rules for the tests to compare against: the
// piece pictures as the game's table draws them, the generator, the piece choice.  Used by the
// unit tests and by the tests of the real quillcore.dll.
#pragma once

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

namespace reference {

// Piece p in rotation q as 16 characters, "O" or blank, frame rows top to bottom.
std::string Picture(int piece, int rotation);

// The generator: seeded with the calendar seconds, first value thrown away.
struct Random {
  uint32_t state;
  explicit Random(uint32_t seconds);
  int Next();
};

// Piece for draw r with favoured piece `blockfreq` (negative: none) and its extra weight.
int Piece(int r, int blockfreq, int weight);
int Rotation(int r);

struct Spawn {
  int piece;
  int rotation;
};

// The first `count` pieces of a game seeded with `seconds` (the first entry is the first
// falling piece, the second the first "next" piece, and so on, one per Advance).
std::vector<Spawn> PieceSequence(uint32_t seconds, int count, int blockfreq, int weight);

// (row, col) of every cell of `board` (384 bytes) that holds `cell`.
std::vector<std::pair<int, int>> CellsOf(const std::string &board, char cell);

// (row, col) of the blocks of a 16-character picture placed with its frame at (row, col).
std::vector<std::pair<int, int>> PlacedCells(const std::string &picture, int row, int col);

int CountOf(const std::string &text, char cell);

}  // namespace reference
