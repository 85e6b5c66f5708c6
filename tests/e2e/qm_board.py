"""What the well shows, read back from a screenshot, and a small player that places pieces.

The piece pictures below are the game's own piece table, written out again here so the test can
tell from the preview which piece comes next and where each turn and move will put it.
"""

SHAPES = {  # piece: pictures of rotations 0..3, four rows of four, "-" blank
    0: ["-O--/-OO-/--O-/----", "----/-OO-/OO--/----", "-O--/-OO-/--O-/----", "----/-OO-/OO--/----"],
    1: ["--O-/-OO-/-O--/----", "----/OO--/-OO-/----", "--O-/-OO-/-O--/----", "----/OO--/-OO-/----"],
    2: ["-O--/-O--/OO--/----", "O---/OOO-/----/----", "-OO-/-O--/-O--/----", "----/OOO-/--O-/----"],
    3: ["-O--/-O--/-OO-/----", "----/OOO-/O---/----", "OO--/-O--/-O--/----", "--O-/OOO-/----/----"],
    4: ["----/-OO-/-OO-/----"] * 4,
    5: ["-O--/-O--/-O--/-O--", "----/OOOO/----/----", "-O--/-O--/-O--/-O--", "----/OOOO/----/----"],
    6: ["-O--/OOO-/----/----", "-O--/-OO-/-O--/----", "----/OOO-/-O--/----", "-O--/OO--/-O--/----"],
}


def cells_of(picture):
    rows = picture.split("/")
    return frozenset((r, c) for r in range(4) for c in range(4) if rows[r][c] == "O")


PICTURES = {(p, q): cells_of(SHAPES[p][q]) for p in SHAPES for q in range(4)}


def occupied(screen, cx, cy, x, y, cell=20):
    """A cell shows a block when its centre is not the black background."""
    return screen.pixel(cx + x + cell // 2, cy + y + cell // 2) != (0, 0, 0)


def read_well(screen, cx, cy, cell=20):
    return [[occupied(screen, cx, cy, 1 + c * cell, 1 + r * cell, cell) for c in range(16)]
            for r in range(24)]


def read_preview(screen, cx, cy, cell=20):
    """The preview's occupied cells as (row, column) pairs."""
    return frozenset((i, j) for i in range(4) for j in range(4)
                     if occupied(screen, cx, cy, (17 + j) * cell, (5 + i) * cell, cell))


def identify(cells):
    """(piece, rotation) whose picture is exactly these cells, or None."""
    for key, picture in PICTURES.items():
        if picture == cells:
            return key
    return None


def find_falling(well, piece_cells):
    """Frame row at which the picture, at frame column 6, matches occupied well cells."""
    for row in range(1, 20):
        if all(well[row + r][6 + c] for r, c in piece_cells):
            return row
    return None


def differences(well, model, entering):
    """The cells, as (row, column, shown), where the well differs from the board the keys
    built, leaving out the piece that has just entered (the one the preview showed); None when
    that piece is not to be seen."""
    frame_row = find_falling(well, entering)
    if frame_row is None:
        return None
    falling = {(frame_row + r, 6 + c) for r, c in entering}
    return [(r, c, well[r][c]) for r in range(24) for c in range(16)
            if (r, c) not in falling and well[r][c] != model.board[r][c]]


class Model:
    """The settled board as the player expects it, with the same rules as the game."""

    def __init__(self):
        self.board = [[False] * 16 for _ in range(24)]
        self.runs = []  # lengths of the runs of rows removed, in the order they were reported

    def collides(self, cells, row, col):
        for r, c in cells:
            rr, cc = row + r, col + c
            if rr < 0 or rr > 23 or cc < 0 or cc > 15 or self.board[rr][cc]:
                return True
        return False

    def landing_row(self, cells, row, col):
        while not self.collides(cells, row + 1, col):
            row += 1
        return row

    def lock(self, cells, row, col):
        for r, c in cells:
            self.board[row + r][col + c] = True
        run, index = 0, 23
        while index > 0:
            if all(self.board[index]):
                del self.board[index]
                self.board.insert(0, [False] * 16)
                run += 1
            else:
                if run:
                    self.runs.append(run)
                run = 0
                index -= 1
        if run:
            self.runs.append(run)

    def score(self, cells, col):
        """Lower is better: a plain height, holes and bumpiness measure after the drop."""
        if self.collides(cells, 1, col):
            return None
        saved = [row[:] for row in self.board]
        runs = len(self.runs)
        row = self.landing_row(cells, 1, col)
        self.lock(cells, row, col)
        cleared = sum(self.runs[runs:])
        heights, holes = [], 0
        for c in range(16):
            top = next((r for r in range(24) if self.board[r][c]), 24)
            heights.append(24 - top)
            holes += sum(1 for r in range(top, 24) if not self.board[r][c])
        bump = sum(abs(heights[i] - heights[i + 1]) for i in range(15))
        self.board, self.runs = saved, self.runs[:runs]
        return holes * 8 + sum(heights) + bump * 2 - cleared * 30


def plan(model, piece, rotation):
    """Best (turns, column) for a piece entering in `rotation`: turns are Up presses, each
    turning the piece counter-clockwise (rotation - 1)."""
    best = None
    for turns in range(4):
        q = (rotation - turns) % 4
        cells = PICTURES[(piece, q)]
        for col in range(-3, 16):
            s = model.score(cells, col)
            if s is not None and (best is None or s < best[0]):
                best = (s, turns, col)
    return best[1], best[2]
