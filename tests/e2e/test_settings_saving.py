"""Where "init.inf" keeps the window and whether it can be written at all, on desktops and in
program directories that are not the plain case: a panel at the top of the screen, and a shared
install where only "init.inf" itself may be written."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import (WINE_RUN, WITHOUT_ROOT_FILE_RIGHTS, Program, SettingsFile,  # noqa: E402
                    TopPanel, bmp_pixel_words, crc32_bzip2, end_wine_session, run)


def settings_for(program, x, y):
    """Defaults with a saved position that the program's block picture accepts."""
    settings = SettingsFile.defaults()
    settings["block_crc"] = crc32_bzip2(bmp_pixel_words(os.path.join(program.dir, "block.bmp")))
    settings["window_x"], settings["window_y"] = x, y
    return settings


class SettingsSaving(unittest.TestCase):
    def test_position_stays_put_over_minimise_and_close_below_a_top_panel(self):
        with TopPanel(height=40):
            p = Program("position_below_panel")
            with open(p.settings_path, "wb") as f:
                f.write(bytes(settings_for(p, 200, 130).data))
            try:
                for cycle in range(3):
                    p.start()
                    geometry = p.window()
                    self.assertIsNotNone(geometry, "cycle %d: the window appeared" % cycle)
                    if cycle == 0:
                        # Without the panel this test could not tell a converted position.
                        self.assertEqual(p.probe("workarea"),
                                         "monitor 0 0 1280 1024 work 0 40 1280 984\n")
                        p.screenshot("below-panel")
                    self.assertEqual(geometry[4:6], (200, 130), "cycle %d: where it was" % cycle)
                    self.assertTrue(p.minimise(), "cycle %d: minimised" % cycle)
                    self.assertIsNotNone(p.probe("close"))
                    self.assertEqual(p.wait_exit(), 0)
                    saved = SettingsFile(p.read_settings())
                    self.assertEqual((saved["window_x"], saved["window_y"]), (200, 130),
                                     "cycle %d: saved where it will be restored" % cycle)
            finally:
                p.kill()

    def test_read_only_program_directory_with_a_writable_init_inf_still_saves(self):
        stored = settings_for(Program("read_only_directory"), 37, 61)
        stored["linecnt2"] = 4
        # Reserved bytes are written as zeros: their going shows the file was written.
        stored.data[412:444] = b"\xee" * 32
        p = Program("read_only_directory", settings=stored.data)
        before = sorted(os.listdir(p.dir))
        os.chmod(p.settings_path, 0o644)
        os.chmod(p.dir, 0o555)
        end_wine_session()
        try:
            p.start(WITHOUT_ROOT_FILE_RIGHTS)
            run(WITHOUT_ROOT_FILE_RIGHTS + [WINE_RUN, "cmd", "/c", "echo x > other.txt"],
                cwd=p.dir)
            self.assertFalse(os.path.exists(os.path.join(p.dir, "other.txt")),
                             "the program directory takes no new file")
            geometry = p.window()
            self.assertIsNotNone(geometry)
            self.assertEqual(geometry[4:6], (37, 61), "the settings were read")
            self.assertEqual(p.exit(), 0)
        finally:
            p.kill()
            end_wine_session()
            os.chmod(p.dir, 0o755)
        data = p.read_settings()
        self.assertEqual(len(data), 444)
        self.assertEqual(bytes(data[412:444]), b"\0" * 32, "init.inf was written")
        saved = SettingsFile(data)
        self.assertEqual(saved["linecnt2"], 4)
        self.assertEqual((saved["window_x"], saved["window_y"]), (37, 61))
        self.assertEqual(sorted(os.listdir(p.dir)), before, "no file was added")


if __name__ == "__main__":
    unittest.main()
