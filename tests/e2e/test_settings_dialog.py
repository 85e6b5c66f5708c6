"""The settings dialog as a player uses it: opened from the menu, choices made with the mouse
and the keyboard, OK pressed; the background shows the chosen picture with stripes at once,
and "init.inf" keeps the choices."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import Program, SettingsFile, run, wait_until, write_bmp24  # noqa: E402
from test_background import (CLIENT_H, CLIENT_W, client_rgb, differences,  # noqa: E402
                             qmpicture_compose)


class SettingsDialog(unittest.TestCase):
    def control(self, p, control_id):
        """Screen rectangle (x, y, w, h) of a control of the open dialog."""
        def ask():
            text = p.probe("control", str(control_id))
            return tuple(int(v) for v in text.split()) if text else None
        return wait_until(ask, 10, 0.3)

    def click(self, p, control_id):
        rect = self.control(p, control_id)
        self.assertIsNotNone(rect, "control %d is on the dialog" % control_id)
        x, y, w, h = rect
        run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"], timeout=10)
        time.sleep(0.3)

    def test_choices_made_in_the_dialog_reach_the_window_and_the_settings_file(self):
        p = Program("settings_dialog")
        picture = os.path.join(p.dir, "back.bmp")
        write_bmp24(picture, 120, 90, lambda x, y: (x * 2 % 256, y * 2 % 256, (x + y) % 256))
        expected = qmpicture_compose(picture, os.path.join(p.output, "expected.ppm"),
                                     "--stripes", "127", "--frame")
        try:
            p.start()
            geometry = p.window()
            self.assertIsNotNone(geometry, "the main window appeared")
            cx, cy = geometry[:2]
            p.focus()
            p.menu("s")
            self.assertIsNotNone(self.control(p, 1012), "Settings opens the dialog")
            time.sleep(1)
            p.screenshot("dialog-opened")

            self.click(p, 1003)  # level 2
            self.click(p, 1010)  # piece 5 comes more often
            self.click(p, 1036)  # stripes
            self.click(p, 1037)  # picture
            self.click(p, 1015)
            p.key("End")
            run(["xdotool", "type", "--delay", "80", "back.bmp"], timeout=30)
            time.sleep(0.5)
            p.screenshot("dialog-filled")
            self.click(p, 1)
            self.assertTrue(wait_until(lambda: self.control(p, 1012) is None, 10, 0.5),
                            "OK closes the dialog")

            last = []

            def shown():
                screen = p.screenshot("background")
                last[:] = [differences(client_rgb(screen, cx, cy), expected)]
                return last[0][0] == 0
            self.assertTrue(wait_until(shown, 15, 0.5),
                            "the picture with stripes fills the window: %d of %d pixels differ"
                            % (last[0][0], CLIENT_W * CLIENT_H))
            self.assertEqual(p.exit(), 0)
            saved = SettingsFile(p.read_settings())
        finally:
            p.kill()
        self.assertEqual(saved["level"], 2)
        self.assertEqual(saved["blockfreq"], 5)
        self.assertEqual(saved["guide_stripe"], 1)
        self.assertEqual(saved["image_shown"], 1)
        self.assertEqual(saved.image_path(), b"back.bmp")
        self.assertEqual((saved["wait_poll"], saved["wait_fall"]), (50, 500))


if __name__ == "__main__":
    unittest.main()
