"""The Version command as a player meets it: the still panel with the program's texts and
icon, and with Shift held the spinning tiles; the panel closes without ending the program."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import Program, run, wait_until  # noqa: E402

TILE_COLOURS = {(0, 0, 128), (0, 128, 0), (128, 0, 0), (128, 128, 0)}
TITLE = "Quillomar Version Information"


def open_version_panel(p, shift=False):
    """Alt+M, then A; with Shift held from before the A until the panel is up."""
    p.focus()
    p.key("alt+m", delay=0.4)
    if shift:
        run(["xdotool", "keydown", "shift"])
        time.sleep(0.2)
    run(["xdotool", "key", "a"])
    text = wait_until(lambda: p.probe("panel"), 30, 0.3)
    if shift:
        run(["xdotool", "keyup", "shift"])
    return text


def panel_area(text):
    lines = text.splitlines()
    return lines[:3], tuple(int(v) for v in lines[3].split()[1:5])


def tile_colours_in(screen, area):
    x, y, w, h = area
    seen = set()
    for row in screen.region(x, y, w, h):
        seen.update(c for c in row if c in TILE_COLOURS)
    return seen


class VersionPanel(unittest.TestCase):
    def test_plain_panel_shows_texts_and_icon_and_escape_does_not_close_it(self):
        p = Program("version_plain").start()
        try:
            self.assertIsNotNone(p.window())
            text = open_version_panel(p)
            self.assertIsNotNone(text, "the panel opened")
            texts, area = panel_area(text)
            self.assertEqual(texts[0], TITLE)
            self.assertEqual(texts[1], "Quillomar Ver 1.0 (Exprn40.dll)")
            self.assertTrue(texts[2], "a credit line")
            time.sleep(0.8)
            screen = p.screenshot("plain-panel")
            x, y, w, h = area
            # Icon 103's top row: eight clear pixels, then its first block's light edge.
            ix, iy = x + (w - 32) // 2, y + (h - 32) // 2
            self.assertEqual(screen.pixel(ix + 8, iy), (0xF0, 0xA8, 0xF0), "icon centred")
            self.assertEqual(screen.pixel(ix + 7, iy), screen.pixel(x + 1, y + 1))
            self.assertFalse(tile_colours_in(screen, area), "no tiles in the plain panel")

            p.key("Escape", delay=0.8)
            self.assertIsNotNone(p.probe("panel"), "Escape leaves the panel open")
            p.key("alt+F4", delay=0.8)
            wait_until(lambda: p.probe("panel") is None, 10)
            self.assertIsNone(p.probe("panel"), "Alt+F4 closed it")
            self.assertIsNotNone(p.window(timeout=5), "the program goes on")
            self.assertEqual(p.exit(), 0)
        finally:
            p.kill()

    def test_with_shift_held_two_tiles_spin_until_ok(self):
        p = Program("version_spin").start()
        try:
            self.assertIsNotNone(p.window())
            text = open_version_panel(p, shift=True)
            self.assertIsNotNone(text, "the panel opened")
            _, area = panel_area(text)
            time.sleep(1.0)
            first = p.screenshot("spin-1")
            time.sleep(0.7)
            second = p.screenshot("spin-2")
            seen = tile_colours_in(first, area) | tile_colours_in(second, area)
            self.assertEqual(len(seen), 2, "two faces: two tile colours, %s" % seen)
            x, y, w, h = area
            self.assertNotEqual(first.region(x, y, w, h), second.region(x, y, w, h), "they turn")

            p.key("Return", delay=1.0)  # OK is the default button
            wait_until(lambda: p.probe("panel") is None, 10)
            self.assertIsNone(p.probe("panel"), "OK closed it")
            self.assertEqual(p.exit(), 0)
        finally:
            p.kill()


if __name__ == "__main__":
    unittest.main()
