"""Hostile score scripts under the real program and the real Exprn40.dll: a print whose text
would not fit in memory, a read from a serial port, writes to the null device, strings emptied
again and again, a statement too slow for the run's time, a run that makes files without end,
and the shipped script over a damaged table.  Each game ends (Exit during the game runs the script), the
program closes within seconds with exit code 0, "init.inf" is saved, and nothing appears
outside the program directory."""
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import SETTINGS_SIZE, Program  # noqa: E402

# Every hostile script first leaves a mark, so the test knows that it ran.
MARK = '10 open "ran.txt" for output as #1 : print #1, "ran" : close #1\n'
BUILD = '20 a$ = "x" : for i = 1 to 14 : a$ = a$ + a$ : next i\n'

HOSTILE = {
    # 45000 copies of a 16 KB string joined by one print: 720 MB, more than a 32-bit process
    # can hold in one piece.
    "join_bomb": MARK + BUILD + "30 print a$" + ";a$" * 45000 + "\n"
                 + '40 open "after.txt" for output as #2\n',
    "com1_read": MARK + '20 open "com1:" for input as #2\n30 input #2, a$\n'
                 + '40 open "after.txt" for output as #3\n',
    "nul_write": MARK + BUILD + '30 open "nul:" for output as #2\n40 print #2, a$ : goto 40\n',
    "device_names": MARK + '20 open "nul.txt:" for output as #2\n'
                    + '30 open "lpt1:" for output as #3\n40 open "conin$" for input as #4\n',
    # Strings of 16 KB set and emptied again for as long as the run may last: what is emptied
    # is given back, so the 32-bit program keeps its memory for the background and the save.
    "emptied_strings": MARK + BUILD + '30 dim b$(99980)\n'
                       + '40 for i = 0 to 99980 : b$(i) = a$ : b$(i) = "" : next : goto 40\n',
    # The slow statement: thousands of comparisons of 16 KB strings on one line; the run is
    # stopped inside it when its time is spent.
    "slow_statement": MARK + BUILD + "30 x = (a$ = a$)" + "+(a$ = a$)" * 15000 + "\n40 goto 30\n",
    # Files made until the run may make no more: the next open fails.
    "many_files": MARK + '20 for i = 1 to 300 : open "f" + str$(i) for output as #2 : close #2'
                  + ' : next\n30 open "after.txt" for output as #3\n',
}

DAMAGED_TABLE = (b"5000,2020/01/01,12:00:00,20,1\r\n\r\n300,2020/01/02\nwords,a,b,c,d\n"
                 b"4000,2020/01/03,12:00:00,10,1,7\n900x,2020/01/04,12:00:00,9,0\n\n")
TABLE_LINE = re.compile(r"\d+,\d{4}/\d\d/\d\d,\d\d:\d\d:\d\d,\d+,\d+$")


class ScoreScript(unittest.TestCase):
    def play_and_exit(self, name, fill):
        """Starts the program, starts a game and exits during it; returns the program."""
        p = Program("score_" + name)
        fill(p.dir)
        before = set(os.listdir(p.output))
        p.start()
        try:
            self.assertIsNotNone(p.window(), "the main window appeared")
            time.sleep(0.5)
            p.focus()
            p.menu("g")
            time.sleep(1.0)
            started = time.time()
            code = p.exit(timeout=15)
            self.assertEqual(code, 0, "the program ends with exit code 0")
            self.assertLess(time.time() - started, 25, "within seconds of the run's budget")
        finally:
            p.kill()
        self.assertEqual(os.path.getsize(p.settings_path), SETTINGS_SIZE, "init.inf is saved")
        after = {f for f in os.listdir(p.output) if not f.endswith(".png")}
        self.assertEqual(after, before, "nothing appears outside the program directory")
        return p

    def test_hostile_scripts_end_cleanly(self):
        for name, script in HOSTILE.items():
            with self.subTest(script=name):
                def fill(directory, script=script):
                    with open(os.path.join(directory, "qmscore.bas"), "w") as f:
                        f.write(script)
                p = self.play_and_exit(name, fill)
                self.assertTrue(os.path.exists(os.path.join(p.dir, "ran.txt")), "the script ran")
                self.assertFalse(os.path.exists(os.path.join(p.dir, "after.txt")),
                                 "the run ended at the refused statement")
                made = [f for f in os.listdir(p.dir) if f.startswith("f")]
                self.assertLessEqual(len(made), 256, "a run makes at most 256 files")

    def test_the_shipped_script_mends_a_damaged_table(self):
        def fill(directory):
            with open(os.path.join(directory, "qmscore.txt"), "wb") as f:
                f.write(DAMAGED_TABLE)
        p = self.play_and_exit("damaged_table", fill)
        with open(os.path.join(p.dir, "qmscore.txt"), "rb") as f:
            table = f.read().decode("ascii").splitlines()
        # The one whole entry is kept, the game is added after it, the rest is gone.
        self.assertEqual(len(table), 2, table)
        self.assertEqual(table[0], "5000,2020/01/01,12:00:00,20,1")
        self.assertRegex(table[1], TABLE_LINE)
        self.assertTrue(table[1].startswith("0,"), table)
        with open(os.path.join(p.dir, "qmscore.log"), "rb") as f:
            log = f.read().decode("ascii").splitlines()
        self.assertEqual(len(log), 1, log)
        self.assertIn(" score=0 lines=0 ", log[0])


if __name__ == "__main__":
    unittest.main()
