#include "steered_player.h"

#include "quillcore.h"
#include "reference_engine.h"

namespace {

struct Board {
  char cells[24][16];
};

bool Fits(const Board &b, const std::string &picture, int row, int col) {
  for (int i = 0; i < 16; ++i) {
    if (picture[i] != 'O') continue;
    int r = row + i / 4, c = col + i % 4;
    if (r < 0 || r > 23 || c < 0 || c > 15 || b.cells[r][c] != ' ') return false;
  }
  return true;
}

// Higher is better: cleared rows count most, then few holes, low and even stacks.
long Score(Board b) {
  long lines = 0;
  for (int r = 0; r < 24; ++r) {
    bool full = true;
    for (int c = 0; c < 16; ++c) full = full && b.cells[r][c] != ' ';
    if (!full) continue;
    ++lines;
    for (int k = r; k > 0; --k) {
      for (int c = 0; c < 16; ++c) b.cells[k][c] = b.cells[k - 1][c];
    }
    for (int c = 0; c < 16; ++c) b.cells[0][c] = ' ';
  }
  long height_sum = 0, holes = 0, bumps = 0, previous = -1;
  for (int c = 0; c < 16; ++c) {
    int top = 24;
    for (int r = 0; r < 24; ++r) {
      if (b.cells[r][c] != ' ') {
        if (top == 24) top = r;
      } else if (top != 24) {
        ++holes;
      }
    }
    long height = 24 - top;
    height_sum += height;
    if (previous >= 0) bumps += height > previous ? height - previous : previous - height;
    previous = height;
  }
  return lines * 760 - height_sum * 510 - holes * 356 - bumps * 184;
}

}  // namespace

void SteeredPlayer::PlanFor(const std::string &view) {
  commands.clear();
  Board settled;
  std::string falling(16, ' ');
  for (int r = 0; r < 24; ++r) {
    for (int c = 0; c < 16; ++c) {
      char cell = view[r * 16 + c];
      settled.cells[r][c] = cell == '#' ? '#' : ' ';
      if (cell == 'O' && r >= 1 && r <= 4 && c >= 6 && c <= 9) falling[(r - 1) * 4 + c - 6] = 'O';
    }
  }
  int piece = -1, rotation = 0;
  for (int p = 0; p < 7 && piece < 0; ++p) {
    for (int q = 0; q < 4; ++q) {
      if (reference::Picture(p, q) == falling) {
        piece = p;
        rotation = q;
        break;
      }
    }
  }
  if (piece < 0) return;

  bool found = false;
  long best = 0;
  int best_turns = 0, best_col = 6;
  for (int turns = 0; turns < 4; ++turns) {
    bool turnable = true;
    for (int t = 1; t <= turns; ++t) {
      turnable = turnable && Fits(settled, reference::Picture(piece, (rotation + t) % 4), 1, 6);
    }
    if (!turnable) break;
    std::string picture = reference::Picture(piece, (rotation + turns) % 4);
    for (int col = -3; col <= 15; ++col) {
      bool reachable = true;
      int step = col < 6 ? -1 : 1;
      for (int c = 6; reachable && c != col + step; c += step)
        reachable = Fits(settled, picture, 1, c);
      if (!reachable) continue;
      int row = 1;
      while (Fits(settled, picture, row + 1, col)) ++row;
      Board after = settled;
      for (int i = 0; i < 16; ++i) {
        if (picture[i] == 'O') after.cells[row + i / 4][col + i % 4] = '#';
      }
      long score = Score(after);
      if (!found || score > best) {
        found = true;
        best = score;
        best_turns = turns;
        best_col = col;
      }
    }
  }
  for (int t = 0; t < best_turns; ++t) commands.push_back(CMD_ROTATE_RIGHT);
  for (int c = 6; c > best_col; --c) commands.push_back(CMD_LEFT);
  for (int c = 6; c < best_col; ++c) commands.push_back(CMD_RIGHT);
  commands.push_back(CMD_DROP);
}

int32_t SteeredPlayer::NextCommand() {
  if (commands.empty()) return CMD_DROP;
  int32_t command = commands.front();
  commands.pop_front();
  return command;
}
