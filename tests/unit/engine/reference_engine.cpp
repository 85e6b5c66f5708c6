#include "reference_engine.h"

#include <algorithm>

namespace reference {

namespace {

// The pieces as a player sees them, "-" for an empty cell.
const char *const kPictures[7][4] = {
    {"-O-- / -OO- / --O- / ----", "---- / -OO- / OO-- / ----", "-O-- / -OO- / --O- / ----",
     "---- / -OO- / OO-- / ----"},
    {"--O- / -OO- / -O-- / ----", "---- / OO-- / -OO- / ----", "--O- / -OO- / -O-- / ----",
     "---- / OO-- / -OO- / ----"},
    {"-O-- / -O-- / OO-- / ----", "O--- / OOO- / ---- / ----", "-OO- / -O-- / -O-- / ----",
     "---- / OOO- / --O- / ----"},
    {"-O-- / -O-- / -OO- / ----", "---- / OOO- / O--- / ----", "OO-- / -O-- / -O-- / ----",
     "--O- / OOO- / ---- / ----"},
    {"---- / -OO- / -OO- / ----", "---- / -OO- / -OO- / ----", "---- / -OO- / -OO- / ----",
     "---- / -OO- / -OO- / ----"},
    {"-O-- / -O-- / -O-- / -O--", "---- / OOOO / ---- / ----", "-O-- / -O-- / -O-- / -O--",
     "---- / OOOO / ---- / ----"},
    {"-O-- / OOO- / ---- / ----", "-O-- / -OO- / -O-- / ----", "---- / OOO- / -O-- / ----",
     "-O-- / OO-- / -O-- / ----"},
};

}  // namespace

std::string Picture(int piece, int rotation) {
  std::string out;
  for (const char *p = kPictures[piece][rotation]; *p; ++p) {
    if (*p == 'O') out += 'O';
    if (*p == '-') out += ' ';
  }
  return out;
}

Random::Random(uint32_t seconds) : state(seconds) {
  Next();
}

int Random::Next() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

int Piece(int r, int blockfreq, int weight) {
  if (blockfreq < 0) return static_cast<int>(static_cast<uint64_t>(r) * 7 / 32768);
  uint64_t v = static_cast<uint64_t>(r) * static_cast<uint64_t>(weight + 7) / 32768;
  return v >= 7 ? blockfreq : static_cast<int>(v);
}

int Rotation(int r) {
  return r * 4 / 32768;
}

std::vector<Spawn> PieceSequence(uint32_t seconds, int count, int blockfreq, int weight) {
  Random random(seconds);
  std::vector<Spawn> out;
  for (int i = 0; i < count; ++i) {
    Spawn s;
    s.piece = Piece(random.Next(), blockfreq, weight);
    s.rotation = Rotation(random.Next());
    out.push_back(s);
  }
  return out;
}

std::vector<std::pair<int, int>> CellsOf(const std::string &board, char cell) {
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < static_cast<int>(board.size()); ++i) {
    if (board[i] == cell) out.emplace_back(i / 16, i % 16);
  }
  return out;
}

std::vector<std::pair<int, int>> PlacedCells(const std::string &picture, int row, int col) {
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < 16; ++i) {
    if (picture[i] == 'O') out.emplace_back(row + i / 4, col + i % 4);
  }
  std::sort(out.begin(), out.end());
  return out;
}

int CountOf(const std::string &text, char cell) {
  return static_cast<int>(std::count(text.begin(), text.end(), cell));
}

}  // namespace reference
