"""The release zip as a user gets it: unpacked into an empty folder, the program starts from
there, shows its version panel and saves its settings beside itself."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import DIST, OUTPUT, TOP, Program, wait_until  # noqa: E402

FOLDER = "Quillomar-1.0/"


class ReleaseZip(unittest.TestCase):
    def test_zip_holds_the_program_directory_and_runs_from_where_it_is_unpacked(self):
        work = os.path.join(OUTPUT, "release_zip_build")
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)
        package = os.path.join(work, "Quillomar-1.0-win32.zip")
        subprocess.run([os.path.join(TOP, "scripts", "make-dist"), DIST, package], check=True)

        with zipfile.ZipFile(package) as z:
            names = sorted(z.namelist())
            readme = z.read(FOLDER + "readme.txt")
        expected = ["quillomar.exe", "quillcore.dll", "InfoPanel.dll", "block.bmp", "readme.txt"]
        expected += [n for n in ("Exprn40.dll", "qmscore.bas")
                     if os.path.isfile(os.path.join(DIST, n))]
        self.assertEqual(names, sorted(FOLDER + n for n in expected))
        text = readme.decode("cp932")
        self.assertIn("キー", text)
        self.assertIn("init.inf", text)
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"), "CRLF line ends")

        def unpack(directory):
            with tempfile.TemporaryDirectory(dir=work) as scratch:
                with zipfile.ZipFile(package) as z:
                    z.extractall(scratch)
                shutil.move(os.path.join(scratch, FOLDER.rstrip("/")), directory)

        p = Program("release_zip", fill=unpack).start()
        try:
            self.assertIsNotNone(p.window(), "the program started from the unpacked folder")
            p.focus()
            p.menu("a")
            text = wait_until(lambda: p.probe("panel"), 30, 0.3)
            self.assertIsNotNone(text, "InfoPanel.dll came along")
            p.screenshot("version-from-zip")
            p.key("Return", delay=1.0)
            self.assertEqual(p.exit(), 0)
        finally:
            p.kill()
        self.assertEqual(os.path.getsize(p.settings_path), 444)


if __name__ == "__main__":
    unittest.main()
