"""The program as Windows players have it: a burst of held-key repeats does not hold back the
next key, a saved position off every monitor opens on the screen, the end of the Windows
session saves "init.inf" like closing does, and a library left in the folder the program was
started from is not loaded."""
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import DIST, WINE_RUN, Program, SettingsFile, run, wait_until  # noqa: E402
from qm_x11 import Display  # noqa: E402
from test_settings_saving import settings_for  # noqa: E402
from test_version_panel import open_version_panel  # noqa: E402

CELL = 20


class WindowsSession(unittest.TestCase):
    def test_the_next_key_after_a_burst_of_repeats_takes_effect_at_once(self):
        # Level 0 with falls off: only the keys move the piece.
        settings = SettingsFile.defaults()
        settings["level"] = 0
        settings["wait_fall"] = 0x7FFFFFFF
        p = Program("key_burst", settings=settings.data).start()
        x = Display()
        try:
            cx, cy = p.window()[:2]
            p.focus()
            p.menu("g")
            time.sleep(1.0)

            def columns():
                """The columns the piece takes in the top rows of the well."""
                pixel = x.grab(cx + 1, cy + 1, 16 * CELL, 5 * CELL)
                return {c for r in range(5) for c in range(16)
                        if pixel(c * CELL + CELL // 2, r * CELL + CELL // 2) != (0, 0, 0)}
            self.assertTrue(columns(), "the first piece is in the well")

            # 60 Left presses 33 ms apart, as Windows repeats a held key 30 times a second, then
            # one Right 33 ms later.  Measured from the Right's press to the screen: a queue
            # of repeats left behind would hold it back by about a second.  A loaded machine
            # can stall any one run, a queue stalls all of them: three tries, the best counts.
            delays = []
            for attempt in range(3):
                start = time.monotonic()
                for k in range(61):
                    while time.monotonic() < start + 0.033 * k:
                        time.sleep(0.002)
                    x.tap("Left" if k < 60 else "Right")
                pressed = time.monotonic()
                moved = wait_until(lambda: min(columns() or {0}) == 1, 5, 0.003)
                delays.append(time.monotonic() - pressed if moved else 5.0)
                p.screenshot("burst-%d" % attempt)
                self.assertTrue(moved, "the Right key moved the piece off the wall")
                settled = columns()
                time.sleep(0.5)
                self.assertEqual(columns(), settled, "nothing moves after the last key")
                if delays[-1] <= 0.120:
                    break
            self.assertLessEqual(min(delays), 0.120, "Right after a burst, seconds: %s" % delays)
        finally:
            x.close()
            p.kill()

    def test_a_saved_position_off_every_monitor_opens_inside_the_screen(self):
        # The Xvfb screen is one 1280 x 1024 monitor.
        for saved, where in (((4000, 3000), "right-bottom"), ((-3000, 200), "left"),
                             ((300, -2500), "top")):
            p = Program("off_monitor_" + where)
            with open(p.settings_path, "wb") as f:
                f.write(bytes(settings_for(p, *saved).data))
            p.start()
            try:
                fx, fy, fw, fh = p.window()[4:8]
                expect = {"right-bottom": (1280 - fw, 1024 - fh), "left": (0, 200),
                          "top": (300, 0)}[where]
                self.assertEqual((fx, fy), expect, "saved at %s" % (saved,))
                p.screenshot("placed")
            finally:
                p.kill()

    def test_the_end_of_the_session_saves_init_inf_without_the_score_script(self):
        for during_game in (True, False):
            with self.subTest(during_game=during_game):
                p = Program("end_session" + ("_in_game" if during_game else "_idle"))
                if os.path.exists(p.settings_path):
                    os.remove(p.settings_path)
                p.start()
                try:
                    fx, fy = p.window()[4:6]
                    if during_game:
                        p.focus()
                        p.menu("g")
                        time.sleep(0.5)
                        p.key("space", "space", delay=0.4)
                    result = run([WINE_RUN, "wineboot", "--end-session"], timeout=60)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    self.assertTrue(wait_until(lambda: os.path.exists(p.settings_path), 20, 0.2),
                                    "init.inf written at the session's end")
                    time.sleep(1.0)
                    saved = SettingsFile(p.read_settings())
                    self.assertEqual(len(saved.data), 444)
                    expected = settings_for(p, fx, fy)
                    self.assertEqual(bytes(saved.data), bytes(expected.data),
                                     "the defaults, the game's counts (none) and where the window was")
                    self.assertFalse(os.path.exists(os.path.join(p.dir, "qmscore.log")),
                                     "the score script does not run while the system shuts down")
                finally:
                    p.kill()

    def test_a_library_in_the_starting_folder_is_not_loaded(self):
        # No interpreter in the program's folder; one under a fallback name where the player
        # started the program from.
        p = Program("planted_library")
        os.remove(os.path.join(p.dir, "Exprn40.dll"))
        start_folder = os.path.join(p.output, "downloads")
        os.makedirs(start_folder)
        shutil.copy(os.path.join(DIST, "Exprn40.dll"), os.path.join(start_folder, "Exprn35.dll"))
        p.start(cwd=start_folder)
        try:
            self.assertIsNotNone(p.window())
            text = open_version_panel(p)
            self.assertIsNotNone(text, "the version panel opened")
            self.assertEqual(text.splitlines()[1], "Quillomar Ver 1.0",
                             "no interpreter: the planted library was not loaded")
        finally:
            p.kill()


if __name__ == "__main__":
    unittest.main()
