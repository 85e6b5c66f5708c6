"""A score script cannot touch the program itself: under the real program and the real
Exprn40.dll, scripts try to replace, rename, delete or plant each kind of protected file (the
program and its libraries, the block picture, the settings file, libraries and manifests that
Windows would load from the program's folder), in the spellings Windows folds (letter case,
trailing dots and blanks, streams, short aliases, the full path).  One attempt ends a run, so
the script takes its next attempt at each game's end; afterwards every program file is
byte-identical, nothing was planted, and the program starts again."""
import hashlib
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import SETTINGS_SIZE, Program, SettingsFile, wait_until  # noqa: E402


def attempts(program_dir):
    """One BASIC statement list per attempt; each must be refused (and so end its run)."""
    full = "Z:" + program_dir.replace("/", "\\") + "\\"
    write = 'open "%s" for output as #2 : print #2, "planted" : close #2'
    append = 'open "%s" for append as #2 : print #2, "planted" : close #2'
    return [
        # Replacing the interpreter library, as a downloaded script would.
        'name "Exprn40.dll" as "Exprn40.old"',
        write % "Exprn40.dll",
        append % "EXPRN40.DLL ",
        # The program and its other libraries.
        'name "quillcore.dll" as "quillcore.old"',
        'name "InfoPanel.dll" as "InfoPanel.old"',
        'name "QUILLOMAR.EXE" as "quillomar.old"',
        'kill "quillcore.dll."',
        'kill "INFOPANEL.DLL"',
        # The block picture, without which the program does not start.
        'kill "block.bmp"',
        'kill "BLOCK.BMP "',
        write % "block.bmp. ",
        # The settings file and its scratch file.
        write % "Init.Inf.",
        write % "init.inf::$DATA",
        'kill "init.inf"',
        write % (full + "INIT.INF"),
        'name "init.inf" as "init.old"',
        'name "bait.txt" as "Init.inf "',
        write % "init.in~",
        # Planting what Windows loads from the program's folder.
        write % "version.dll",
        'name "bait.txt" as "Exprn35.dll"',
        write % "quillomar.exe.manifest",
        write % "quillomar.exe.local",
        # Short aliases.
        write % "QUILLO~1.EXE",
        append % "INFOPA~1.DLL",
    ]


def step_script(tries):
    """The script: counts its runs in step.txt, then makes the attempt of that run.  An attempt
    that is not refused goes on to line 900, which leaves its number in through.txt."""
    lines = ['10 open "step.txt" for input as #1 : input #1, s : close #1',
             '20 s = s + 1 : open "step.txt" for output as #1 : print #1, s : close #1']
    for i, attempt in enumerate(tries, start=1):
        lines.append("%d if s = %d then %s : goto 900" % (100 + i, i, attempt))
    lines += ["890 end",
              '900 open "through.txt" for append as #1 : print #1, s : close #1']
    return "\n".join(lines) + "\n"


def digests(directory):
    result = {}
    for name in os.listdir(directory):
        with open(os.path.join(directory, name), "rb") as f:
            result[name] = hashlib.sha256(f.read()).hexdigest()
    return result


class ProgramFiles(unittest.TestCase):
    def read_step(self, p):
        try:
            with open(os.path.join(p.dir, "step.txt"), "rb") as f:
                return int(f.read().strip() or b"0")
        except (OSError, ValueError):
            return None

    def play_one_game(self, p, expected_step):
        """Starts a game and stops it, which runs the script; tried again when a key was lost."""
        for _ in range(3):
            p.menu("g")
            time.sleep(0.5)
            p.menu("p")
            if wait_until(lambda: self.read_step(p) == expected_step, 8, 0.2):
                return True
            p.focus()
        return False

    def test_a_script_cannot_touch_the_program(self):
        p = Program("program_files", settings=SettingsFile.defaults().data)
        tries = attempts(p.dir)
        with open(os.path.join(p.dir, "qmscore.bas"), "w") as f:
            f.write(step_script(tries))
        for name, text in (("step.txt", "0\n"), ("bait.txt", "bait\n")):
            with open(os.path.join(p.dir, name), "w") as f:
                f.write(text)
        program_files = {n for n in os.listdir(p.dir)
                         if n not in ("qmscore.bas", "step.txt", "bait.txt")}
        before = digests(p.dir)
        p.start()
        try:
            self.assertIsNotNone(p.window(), "the main window appeared")
            time.sleep(0.5)
            p.focus()
            # Every attempt, then one run more: the script still runs after all of them.
            for step in range(1, len(tries) + 2):
                self.assertTrue(self.play_one_game(p, step), "game %d ran the script" % step)
            through = os.path.join(p.dir, "through.txt")
            if os.path.exists(through):
                with open(through) as f:
                    self.fail("attempts that got through: " + " ".join(f.read().split()))
            # While the program runs (it writes init.inf only when it ends), every file is as
            # it was, and nothing was planted beside them.
            now = digests(p.dir)
            now.pop("step.txt")
            before.pop("step.txt")
            self.assertEqual(now, before)
            self.assertEqual(p.exit(timeout=15), 0, "the program ends with exit code 0")
        finally:
            p.kill()
        self.assertEqual(os.path.getsize(p.settings_path), SETTINGS_SIZE, "init.inf is saved")
        after = digests(p.dir)
        for name in program_files - {"init.inf"}:
            self.assertEqual(after.get(name), before[name], name)

        # The program starts again from its folder, and ends as it should.
        p.start()
        try:
            self.assertIsNotNone(p.window(), "the main window appeared again")
            time.sleep(0.5)
            self.assertEqual(p.exit(timeout=15), 0)
        finally:
            p.kill()


if __name__ == "__main__":
    unittest.main()
