"""The release zip as a user gets it: the six program files stripped and free of the build's
paths, the same bytes from every packing, its checksum beside it, a readme that lines up in a
Japanese fixed-pitch font; unpacked into an empty folder, the program starts from there, shows
its version panel and saves its settings beside itself."""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import DIST, OUTPUT, TOP, Program, run, wait_until  # noqa: E402

FOLDER = "Quillomar-1.0/"
PROGRAM_FILES = ["quillomar.exe", "quillcore.dll", "InfoPanel.dll", "Exprn40.dll", "block.bmp",
                 "qmscore.bas"]
MAKE_DIST = os.path.join(TOP, "scripts", "make-dist")
OBJDUMP = "i686-w64-mingw32-objdump"


def make_dist(dist, package):
    return subprocess.run([MAKE_DIST, dist, package], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT)


def columns(text):
    """Width in a Japanese fixed-pitch font: a character of two bytes in code page 932 takes
    two columns (the arrows and the full-width forms too), one of one byte a single column."""
    return len(text.encode("cp932"))


def table_columns(lines):
    """The column where each line of a two-column table starts its description: after the key
    and a gap of two or more spaces, or after the indent of a continued description."""
    starts = []
    for line in lines:
        match = re.match(r"^( {2}\S.*?\s{2,})\S", line) or re.match(r"^( {3,})\S", line)
        starts.append(columns(match.group(1)) if match else None)
    return starts


def section(text, title):
    """The lines of the readme's section `title`, up to the blank line that ends it."""
    lines = text.split("\r\n")
    first = lines.index(title) + 1
    last = lines.index("", first)
    return lines[first:last]


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = os.path.join(OUTPUT, "release_zip_build")
        shutil.rmtree(cls.work, ignore_errors=True)
        os.makedirs(cls.work)
        cls.package = os.path.join(cls.work, "Quillomar-1.0-win32.zip")
        result = make_dist(DIST, cls.package)
        assert result.returncode == 0, result.stdout.decode()

    def test_zip_is_lean_reproducible_and_carries_its_checksum(self):
        with zipfile.ZipFile(self.package) as z:
            infos = z.infolist()
            contents = {i.filename: z.read(i) for i in infos}
        self.assertEqual([i.filename for i in infos],
                         [FOLDER + n for n in PROGRAM_FILES + ["readme.txt"]], "fixed order")
        for info in infos:
            self.assertEqual(info.date_time, (2026, 1, 1, 0, 0, 0), info.filename)
            self.assertEqual(info.external_attr, 0o100644 << 16, info.filename)

        # Packed again from a copy whose files are newer and listed in another order: the
        # same bytes.
        copy = os.path.join(self.work, "dist-copy")
        shutil.rmtree(copy, ignore_errors=True)
        os.makedirs(copy)
        for name in reversed(PROGRAM_FILES):
            shutil.copy(os.path.join(DIST, name), copy)
        open(os.path.join(copy, "init.inf"), "wb").write(b"\0" * 444)
        again = os.path.join(self.work, "again", "Quillomar-1.0-win32.zip")
        os.makedirs(os.path.dirname(again))
        self.assertEqual(make_dist(copy, again).returncode, 0)
        with open(self.package, "rb") as a, open(again, "rb") as b:
            self.assertEqual(a.read(), b.read(), "two packings give the same zip")

        with open(os.path.join(self.work, "SHA256SUMS")) as f:
            sums = f.read()
        with open(self.package, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        self.assertEqual(sums, "%s  Quillomar-1.0-win32.zip\n" % digest)

        # Stripped: no symbols, no debugging sections, no path of this build or its sources.
        unpacked = os.path.join(self.work, "unpacked")
        shutil.rmtree(unpacked, ignore_errors=True)
        os.makedirs(unpacked)
        paths = {TOP, os.path.realpath(TOP), os.path.realpath(DIST),
                 os.path.realpath(os.path.join(TOP, ".deps"))}
        for name in PROGRAM_FILES:
            data = contents[FOLDER + name]
            if name.endswith((".exe", ".dll")):
                binary = os.path.join(unpacked, name)
                with open(binary, "wb") as f:
                    f.write(data)
                headers = run([OBJDUMP, "-h", binary]).stdout.decode()
                self.assertIn(".text", headers, name)
                self.assertNotIn(".debug", headers, name)
                self.assertIn("no symbols", run([OBJDUMP, "-t", binary]).stdout.decode(), name)
                for path in paths:
                    self.assertNotIn(path.encode(), data, (name, path))
                self.assertLess(len(data), os.path.getsize(os.path.join(DIST, name)), name)
            else:
                with open(os.path.join(DIST, name), "rb") as f:
                    self.assertEqual(data, f.read(), name)
        self.assertLess(os.path.getsize(self.package), 1024 * 1024, "under a megabyte")

    def test_every_program_file_is_required(self):
        for missing in PROGRAM_FILES:
            partial = os.path.join(self.work, "without")
            shutil.rmtree(partial, ignore_errors=True)
            os.makedirs(partial)
            for name in PROGRAM_FILES:
                if name != missing:
                    shutil.copy(os.path.join(DIST, name), partial)
            package = os.path.join(partial, "out.zip")
            result = make_dist(partial, package)
            self.assertNotEqual(result.returncode, 0, missing)
            self.assertIn(missing, result.stdout.decode(), "the message names it")
            self.assertFalse(os.path.exists(package), missing)

    def test_readme_lines_up_in_a_fixed_pitch_japanese_font(self):
        with zipfile.ZipFile(self.package) as z:
            readme = z.read(FOLDER + "readme.txt")
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"), "CRLF line ends")
        text = readme.decode("cp932")
        for title in ("■ キー操作", "■ ファイル"):
            starts = table_columns(section(text, title))
            self.assertNotIn(None, starts, title)
            self.assertEqual(len(set(starts)), 1, "%s: descriptions start at %s" % (title, starts))
        for line in text.split("\r\n"):
            self.assertLessEqual(columns(line), 80, line)
        version = "\n".join(section(text, "■ バージョン情報"))
        for words in ("Shift+A", "Ctrl", "クリック", "Ctrl+A"):
            self.assertIn(words, version)

    def test_program_runs_from_where_the_zip_is_unpacked(self):
        def unpack(directory):
            with tempfile.TemporaryDirectory(dir=self.work) as scratch:
                with zipfile.ZipFile(self.package) as z:
                    z.extractall(scratch)
                shutil.move(os.path.join(scratch, FOLDER.rstrip("/")), directory)

        p = Program("release_zip", fill=unpack).start()
        try:
            self.assertIsNotNone(p.window(), "the program started from the unpacked folder")
            p.focus()
            p.menu("a")
            text = wait_until(lambda: p.probe("panel"), 30, 0.3)
            self.assertIsNotNone(text, "InfoPanel.dll came along")
            self.assertIn("(Exprn40.dll)", text, "and so did the interpreter")
            p.screenshot("version-from-zip")
            p.key("Return", delay=1.0)
            self.assertEqual(p.exit(), 0)
        finally:
            p.kill()
        self.assertEqual(os.path.getsize(p.settings_path), 444)


if __name__ == "__main__":
    unittest.main()
