"""The program starts from its directory as a stranger would: the empty well in its frame, the
menu, "init.inf" written at exit and read back at the next start, one copy only."""
import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import Program, SettingsFile, bmp_pixel_words, crc32_bzip2, run  # noqa: E402

WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def check_empty_well(test, screen, cx, cy, cell=20):
    """Frame white over black, interior, side area and preview black."""
    well_w, well_h = 16 * cell, 24 * cell
    for x in (0, well_w + 1):
        for y in range(0, well_h + 2, 7):
            test.assertEqual(screen.pixel(cx + x, cy + y), WHITE, ("frame column", x, y))
    for y in (0, well_h + 1):
        for x in range(1, well_w + 1, 7):
            test.assertEqual(screen.pixel(cx + x, cy + y), WHITE, ("frame row", x, y))
    for x, y in ((1, 1), (well_w, well_h), (well_w // 2, well_h // 2), (well_w + 2, 0),
                 (17 * cell + 5, 5 * cell + 5), (22 * cell + 1, 24 * cell + 1)):
        test.assertEqual(screen.pixel(cx + x, cy + y), BLACK, ("inside", x, y))


class ProgramStart(unittest.TestCase):
    def test_first_start_shows_the_empty_well_and_exit_saves_the_defaults(self):
        p = Program("first_start").start()
        try:
            geometry = p.window()
            self.assertIsNotNone(geometry, "the main window appeared")
            cx, cy, cw, ch, fx, fy, fw, fh = geometry
            self.assertEqual((cw, ch), (442, 482), "client area from a 20 x 20 block.bmp")
            time.sleep(1.0)
            check_empty_well(self, p.screenshot("empty-well"), cx, cy)

            # The menu opens over the well (its captions and states are checked in-process by
            # the window tests; here the screenshot is for the eye).
            p.focus()
            p.key("alt+m", delay=0.6)
            opened = p.screenshot("menu-open")
            self.assertNotEqual(opened.pixel(cx + 30, cy + 30), BLACK, "the menu opened")
            p.key("Escape", "Escape", delay=0.4)
            self.assertEqual(p.exit(), 0, "Exit ends the program with code 0")
        finally:
            p.kill()

        data = p.read_settings()
        self.assertEqual(len(data), 444)
        saved = SettingsFile(data)
        defaults = SettingsFile.defaults()
        for name in ("wait_fall", "wait_poll", "level", "lv1_norma", "lv1_speed",
                     "stripe_intensity", "lv2_norma", "lv2_block", "lv2_upline", "blockfreq",
                     "guide_shadow", "guide_stripe", "image_shown", "transparent_enabled",
                     "transparent_colour", "linecnt0", "linecnt3"):
            self.assertEqual(saved[name], defaults[name], name)
        self.assertEqual(saved.custom_colours(), [0xFFFFFF] * 16)
        self.assertEqual(saved.image_path(), b"")
        self.assertEqual(bytes(data[412:444]), b"\0" * 32, "reserved bytes are zero")
        block = bmp_pixel_words(os.path.join(p.dir, "block.bmp"))
        self.assertEqual(saved["block_crc"], crc32_bzip2(block))
        self.assertEqual((saved["window_x"], saved["window_y"]), (fx, fy))

    def test_saved_position_is_reused_only_while_the_block_picture_is_unchanged(self):
        probe = Program("position_probe")
        block = bmp_pixel_words(os.path.join(probe.dir, "block.bmp"))
        settings = SettingsFile.defaults()
        settings["block_crc"] = crc32_bzip2(block)
        settings["window_x"], settings["window_y"] = 37, 61
        settings["linecnt0"] = 5

        p = Program("position_reused", settings=settings.data).start()
        try:
            geometry = p.window()
            self.assertEqual(geometry[4:6], (37, 61), "saved position used while the CRC matches")
            self.assertEqual(p.exit(), 0)
        finally:
            p.kill()
        again = SettingsFile(p.read_settings())
        self.assertEqual(again["linecnt0"], 5, "the last game's counts survive a restart")

        settings["block_crc"] ^= 1
        p = Program("position_centred", settings=settings.data).start()
        try:
            cx, cy, cw, ch, fx, fy, fw, fh = p.window()
            self.assertEqual((fx, fy), ((1280 - fw) // 2, (1024 - fh) // 2),
                             "a changed block picture centres the window")
        finally:
            p.kill()

    def test_a_second_copy_exits_at_once_and_the_first_always_exits_with_0(self):
        p = Program("single_instance").start()
        try:
            self.assertIsNotNone(p.window())
            second = Program("single_instance_second")
            second.start()
            self.assertEqual(second.wait_exit(timeout=15), 0, "the second copy exits with 0")
            self.assertFalse(os.path.exists(second.settings_path), "and writes nothing")
            self.assertIsNotNone(p.window(timeout=2), "the first copy is still there")
            # A quit request that carries a code of its own still ends the program with 0.
            self.assertIsNotNone(p.probe("quit", "7"))
            self.assertEqual(p.wait_exit(timeout=15), 0)
        finally:
            p.kill()

    def test_missing_block_picture_stops_the_start_with_a_message_and_keeps_init_inf(self):
        stored = SettingsFile.defaults()
        stored["linecnt1"] = 9
        p = Program("missing_block", settings=stored.data)
        os.remove(os.path.join(p.dir, "block.bmp"))
        p.start()
        try:
            text = None
            deadline = time.time() + 30
            while time.time() < deadline and text is None:
                text = p.probe("message")
                time.sleep(0.3)
            self.assertEqual(text, "block.bmp が読み込めません\n")
            self.assertEqual(p.wait_exit(), 0)
        finally:
            p.kill()
        self.assertEqual(p.read_settings(), bytes(stored.data), "init.inf left as it was")


if __name__ == "__main__":
    unittest.main()
