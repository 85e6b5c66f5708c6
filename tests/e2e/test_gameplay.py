"""A game played with real key presses: pieces move, turn and drop as keys say, the preview
shows the next piece, Down speeds the fall, Pause and deactivation hold the game, Delete clears
the well, and the statistics in the score dialog and in "init.inf" match the rows cleared."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_board import (Model, PICTURES, differences, identify, plan, read_preview,  # noqa: E402
                      read_well)
from qm_e2e import PROBE, WINE_RUN, Program, SettingsFile, run, wait_until  # noqa: E402
from qm_x11 import Display  # noqa: E402


def level0_settings():
    s = SettingsFile.defaults()
    s["level"] = 0
    return s


def rows_fallen(before, after):
    """Rows the falling piece went down between two readings of the well.  A piece that came to
    rest in between (the next piece has appeared, so there are more cells) fell all the way:
    how long the screenshots take must not turn a fast fall into a short one."""
    start = min(r for r, _ in before)
    if len(after) > len(before):
        return 24 - start
    return min(r for r, _ in after) - start


class Game:
    """A running program with a game started."""

    def __init__(self, name, settings=None):
        self.p = Program(name, settings=(settings or level0_settings()).data).start()
        geometry = self.p.window()
        assert geometry, "main window"
        self.cx, self.cy = geometry[0], geometry[1]
        time.sleep(0.5)
        self.p.focus()

    def start(self):
        self.p.menu("g")
        time.sleep(0.4)

    def shot(self, label):
        return self.p.screenshot(label)

    def well(self, label):
        return read_well(self.shot(label), self.cx, self.cy)

    def occupied_cells(self, label):
        well = self.well(label)
        return {(r, c) for r in range(24) for c in range(16) if well[r][c]}

    def exit(self):
        return self.p.exit()

    def score_file(self, name):
        """The lines of a file the score script keeps in the program directory (none yet: [])."""
        try:
            with open(os.path.join(self.p.dir, name), "rb") as f:
                return f.read().decode("cp932").splitlines()
        except FileNotFoundError:
            return []


class Gameplay(unittest.TestCase):
    def test_played_pieces_follow_the_keys_and_the_counts_match_the_rows_cleared(self):
        g = Game("played_game")
        try:
            g.start()
            model = Model()
            screen = g.shot("first-piece")
            well = read_well(screen, g.cx, g.cy)
            cells = frozenset((r, c) for r in range(24) for c in range(16) if well[r][c])
            top = min(r for r, _ in cells)
            current = None
            for row in range(1, top + 1):
                shifted = frozenset((r - row, c - 6) for r, c in cells)
                current = identify(shifted)
                if current:
                    break
            self.assertIsNotNone(current, "the first piece stands at column 6 of its frame")
            upcoming = identify(read_preview(screen, g.cx, g.cy))
            self.assertIsNotNone(upcoming, "the preview shows a piece")

            pieces = 0
            x = Display()
            try:
                while sum(model.runs) < 4 and pieces < 60:
                    piece, rotation = current
                    turns, col = plan(model, piece, rotation)
                    keys = ["Up"] * turns + (["Left"] * (6 - col) if col < 6 else
                                             ["Right"] * (col - 6))
                    # Each press and its release reach the X server together: a loaded machine
                    # that stalls between the two would let the server repeat the key.
                    for k in keys + ["space"]:
                        x.tap(k)
                        time.sleep(0.08)
                    cells = PICTURES[(piece, (rotation - turns) % 4)]
                    model.lock(cells, model.landing_row(cells, 1, col), col)
                    pieces += 1
                    # A loaded machine may show the drop late: look again until the well shows
                    # it, and judge the last look.
                    entering = PICTURES[upcoming]
                    deadline = time.monotonic() + 8
                    while True:
                        screen = g.shot("piece-%02d" % pieces)
                        well = read_well(screen, g.cx, g.cy)
                        wrong = differences(well, model, entering)
                        if wrong == [] or time.monotonic() > deadline:
                            break
                        time.sleep(0.3)
                    self.assertIsNotNone(wrong, "piece %d entered as the preview showed" % pieces)
                    self.assertEqual(wrong, [], "piece %d: (row, column, shown) of the cells "
                                     "that differ from where the keys placed them" % pieces)
                    current = upcoming
                    upcoming = identify(read_preview(screen, g.cx, g.cy))
                    self.assertIsNotNone(upcoming)
            finally:
                x.close()

            self.assertGreaterEqual(sum(model.runs), 4, "the player cleared rows")
            counts = [model.runs.count(n) for n in (1, 2, 3, 4)]
            expected = " ".join(str(v) for v in counts + [sum(model.runs)])

            g.p.menu("d")
            time.sleep(0.6)
            self.assertEqual(g.p.probe("score").strip(), expected, "score dialog counts")
            g.shot("score-dialog")
            g.p.key("Return", delay=0.5)
            self.assertIsNone(g.p.probe("score"), "Enter closes the score dialog")
            self.assertEqual(g.exit(), 0)
            saved = SettingsFile(g.p.read_settings())
            self.assertEqual([saved["linecnt%d" % k] for k in range(4)], counts,
                             "init.inf holds the running game's counts")

            # Closing the window ended the game through Stop, which ran the score script once
            # with the game's counts: one line in the log, one entry in the table.
            rows = sum(model.runs)
            log = g.score_file("qmscore.log")
            self.assertEqual(len(log), 1, log)
            self.assertIn(" lines=%d clears=%d/%d/%d/%d level=0 " % tuple([rows] + counts), log[0])
            table = g.score_file("qmscore.txt")
            self.assertEqual(len(table), 1, table)
            score = (counts[0] + 3 * counts[1] + 6 * counts[2] + 10 * counts[3]) * 100
            fields = table[0].split(",")
            self.assertEqual([fields[0], fields[3], fields[4]], [str(score), str(rows), "0"])
        finally:
            g.p.kill()

    def test_pause_key_and_deactivation_hold_the_piece_and_down_speeds_it(self):
        g = Game("holds")
        try:
            g.start()
            time.sleep(0.3)
            g.p.key("Pause", delay=1.5)
            held = g.occupied_cells("pause-held")
            g.p.key("Left", "Left", "space", delay=0.3)
            self.assertEqual(g.occupied_cells("pause-keys-dropped"), held,
                             "the Pause key holds the piece and throws keys away")
            self.assertTrue(held, "a piece is in the well")
            g.p.key("Pause", delay=1.4)
            moved = g.occupied_cells("after-pause")
            self.assertNotEqual(moved, held, "a second Pause lets the piece fall again")
            self.assertEqual({c for _, c in moved}, {c for _, c in held},
                             "the keys pressed during the hold had no effect")

            # Another program comes to the front, as when the player switches away.
            other = subprocess.Popen([WINE_RUN, PROBE, "steal", "6"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
            try:
                self.assertEqual(wait_until(lambda: g.p.probe("foreground") == "inactive\n", 10, 0.2),
                                 True, "the other window took the foreground")
                time.sleep(0.6)
                inactive = g.occupied_cells("inactive-1")
                time.sleep(1.2)
                self.assertEqual(g.occupied_cells("inactive-2"), inactive,
                                 "an inactive window holds the game")
                g.p.focus()
                self.assertEqual(wait_until(lambda: g.p.probe("foreground") == "active\n", 10, 0.2),
                                 True, "a click brings the window back to the front")
                time.sleep(1.4)
                self.assertNotEqual(g.occupied_cells("reactivated"), inactive,
                                    "activating the window again lets the piece fall")
            finally:
                other.wait(timeout=30)

            # Down held: rows fallen in a second, with and without it.
            g.p.key("space", delay=0.5)
            before = g.occupied_cells("down-start")
            time.sleep(1.1)
            slow = rows_fallen(before, g.occupied_cells("down-slow"))
            g.p.key("space", delay=0.5)
            before = g.occupied_cells("down-start-2")
            run(["xdotool", "keydown", "Down"])
            time.sleep(0.6)
            fast = rows_fallen(before, g.occupied_cells("down-held"))
            run(["xdotool", "keyup", "Down"])
            self.assertGreater(fast, slow + 2, "holding Down makes the piece fall faster")
        finally:
            g.p.kill()

    def test_delete_clears_the_well_and_a_game_played_to_its_end_frees_start(self):
        g = Game("to_the_end")
        try:
            g.start()
            g.p.key("space", "space", "space", delay=0.4)
            bottom = {c for r, c in g.occupied_cells("stacked") if r >= 20}
            self.assertTrue(bottom, "dropped pieces lie at the bottom")
            g.p.key("Delete", delay=0.4)
            cleared = g.occupied_cells("cleared")
            self.assertFalse({cell for cell in cleared if cell[0] >= 8},
                             "Delete empties the well but for the new piece at the top")

            g.p.menu("d")
            time.sleep(0.6)
            self.assertIsNotNone(g.p.probe("score"), "the score dialog opens during a game")
            g.p.key("Escape", delay=0.5)
            self.assertIsNotNone(g.p.probe("score"), "Escape does not close it")
            held = g.occupied_cells("score-dialog-open")
            time.sleep(1.2)
            self.assertEqual(g.occupied_cells("score-dialog-still"), held,
                             "the game stands still while the score dialog is open")
            g.p.key("Return", delay=0.5)

            # Drop pieces until the stack reaches the top: the game ends, the well is empty.
            def ended():
                g.p.key("space", delay=0.1)
                return not g.occupied_cells("filling")
            self.assertTrue(wait_until(ended, 180, 0.05), "the game ends when the well is full")
            time.sleep(1.5)
            self.assertFalse(g.occupied_cells("after-game-over"), "the well stays empty")
            # The game's end ran the score script: straight drops clear no row.
            self.assertTrue(wait_until(lambda: len(g.score_file("qmscore.log")) == 1, 10, 0.2))
            self.assertIn(" lines=0 clears=0/0/0/0 level=0 ", g.score_file("qmscore.log")[0])
            g.start()
            self.assertTrue(g.occupied_cells("started-again"), "Start works again after the end")
            self.assertEqual(g.exit(), 0)
            self.assertEqual(len(g.score_file("qmscore.log")), 2, "once more for the second game")
            self.assertEqual(len(g.score_file("qmscore.txt")), 2)
        finally:
            g.p.kill()


if __name__ == "__main__":
    unittest.main()
