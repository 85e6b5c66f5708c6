"""Drives the real quillomar.exe under Wine in a private X server, as a player would.

Each test copies the program directory into a scratch folder, starts the program there, presses
real keys with xdotool, looks at the screen through X screenshots and asks the running program
what it shows through qmprobe.exe (window positions, message boxes, dialog fields).
"""
import os
import shutil
import struct
import subprocess
import time

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(TOP, "scripts", "wine-run")
DIST = os.environ.get("QM_DIST", os.path.join(TOP, "build", "win32", "dist"))
PROBE = os.environ.get("QM_PROBE", os.path.join(TOP, "build", "win32", "bin", "qmprobe.exe"))
OUTPUT = os.environ.get("QM_E2E_OUTPUT", os.path.join(TOP, "build", "win32", "e2e-output"))
QMPICTURE = os.environ.get("QM_QMPICTURE", os.path.join(TOP, "build", "host", "bin", "qmpicture"))

SETTINGS_SIZE = 444


def crc32_bzip2(data):
    """CRC-32/BZIP2, bit by bit: the obvious form, independent of the program's table."""
    crc = 0xFFFFFFFF
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else (crc << 1)
            crc &= 0xFFFFFFFF
    return crc ^ 0xFFFFFFFF


def bmp_pixel_words(path):
    """The block picture's pixel block as the program holds it: words R | G << 8 | B << 16,
    rows top-down.  Handles the uncompressed 24-bit pictures the tests use."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    assert bits == 24, "test pictures are 24-bit"
    stride = (width * 24 + 31) // 32 * 4
    rows = []
    for file_row in range(height):
        start = offset + file_row * stride
        row = bytearray()
        for x in range(width):
            b, g, r = data[start + 3 * x], data[start + 3 * x + 1], data[start + 3 * x + 2]
            row += bytes((r, g, b, 0))
        rows.append(bytes(row))
    rows.reverse()
    return b"".join(rows)


def write_bmp24(path, width, height, pixel):
    """Writes a 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    stride = (width * 3 + 3) // 4 * 4
    body = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - 3 * width)
        body += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


class SettingsFile:
    """Reads and writes the fields of "init.inf" at their offsets."""

    FIELDS = {
        "linecnt0": 0, "linecnt1": 4, "linecnt2": 8, "linecnt3": 12, "wait_fall": 16,
        "wait_poll": 20, "level": 24, "lv1_norma": 28, "lv1_speed": 32, "guide_shadow": 36,
        "guide_stripe": 40, "block_crc": 44, "window_x": 48, "window_y": 52, "image_shown": 56,
        "stripe_intensity": 320, "transparent_colour": 388, "lv2_norma": 392, "lv2_block": 396,
        "lv2_upline": 400, "transparent_enabled": 404, "blockfreq": 408,
    }
    SIGNED = {"window_x", "window_y", "blockfreq", "level"}

    def __init__(self, data=None):
        self.data = bytearray(data if data is not None else SETTINGS_SIZE)

    def __getitem__(self, name):
        fmt = "<i" if name in self.SIGNED else "<I"
        return struct.unpack_from(fmt, self.data, self.FIELDS[name])[0]

    def __setitem__(self, name, value):
        fmt = "<i" if name in self.SIGNED else "<I"
        struct.pack_into(fmt, self.data, self.FIELDS[name], value)

    def image_path(self):
        raw = bytes(self.data[60:320])
        return raw.split(b"\0", 1)[0]

    def set_image_path(self, path_bytes):
        self.data[60:320] = path_bytes.ljust(260, b"\0")[:260]

    def custom_colours(self):
        return list(struct.unpack_from("<16I", self.data, 324))

    @staticmethod
    def defaults():
        s = SettingsFile()
        for name, value in (("wait_fall", 500), ("wait_poll", 50), ("level", 1),
                            ("lv1_norma", 30), ("lv1_speed", 70), ("stripe_intensity", 127),
                            ("lv2_norma", 1), ("lv2_block", 6), ("lv2_upline", 1),
                            ("blockfreq", -1)):
            s[name] = value
        struct.pack_into("<16I", s.data, 324, *([0xFFFFFF] * 16))
        return s


def run(args, timeout=30, **kwargs):
    """Runs a helper command; one that hangs counts as failed instead of stalling the test."""
    try:
        return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=timeout, **kwargs)
    except subprocess.TimeoutExpired:
        return subprocess.CompletedProcess(args, 124, b"", b"timed out")


def wait_until(predicate, timeout, step=0.1):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


_wine_warm = []


def warm_up_wine(wrapper=()):
    """The first Wine program of a session starts the Wine server and its desktop, which takes
    seconds; do that once before anything is timed.  The server runs with the rights of the
    program that started it, so `wrapper` (a command prefix) applies to the whole session."""
    if not _wine_warm:
        run(list(wrapper) + [WINE_RUN, "cmd", "/c", "exit", "0"], timeout=120)
        _wine_warm.append(True)


def end_wine_session():
    """Ends every Wine program and the server, so that the next program starts a new session
    (which reads the desktop afresh)."""
    run(["wineserver", "-k"], timeout=30)
    _wine_warm.clear()


# The Wine server opens files for its programs, so a session whose files are to obey a
# directory's permissions must start without root's right to override them.  A user who is
# not root obeys them anyway.
WITHOUT_ROOT_FILE_RIGHTS = (
    ["setpriv", "--inh-caps=-dac_override,-dac_read_search",
     "--bounding-set=-dac_override,-dac_read_search", "--"] if os.geteuid() == 0 else [])


class TopPanel:
    """A desktop whose usable area starts below a panel at the top, as a Linux desktop's panel
    announces it: the root window's _NET_WORKAREA, which Wine reads when its session starts.
    The Wine session is restarted on entering and on leaving."""

    def __init__(self, height=40):
        self.height = height
        self.holder = None

    def __enter__(self):
        end_wine_session()
        # An X server whose last client leaves resets and forgets the root window's
        # properties: keep one client connected for as long as the panel is there.
        self.holder = subprocess.Popen(["xprop", "-root", "-spy", "_NET_WORKAREA"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        size = run(["xdpyinfo"]).stdout.decode()
        width, height = (int(v) for v in
                         size.split("dimensions:")[1].split()[0].split("x"))
        run(["xprop", "-root", "-f", "_NET_WORKAREA", "32cccc", "-set", "_NET_WORKAREA",
             "0, %d, %d, %d" % (self.height, width, height - self.height)])
        return self

    def __exit__(self, *exc):
        end_wine_session()
        run(["xprop", "-root", "-remove", "_NET_WORKAREA"])
        self.holder.kill()
        self.holder.wait()
        return False


class Program:
    """One run of quillomar.exe in a scratch copy of the program directory."""

    def __init__(self, test_name, block=None, settings=None, fill=None):
        """fill(directory), when given, puts the program's files into the scratch program
        directory instead of a copy of the build's dist/."""
        self.output = os.path.join(OUTPUT, test_name)
        shutil.rmtree(self.output, ignore_errors=True)
        self.dir = os.path.join(self.output, "program")
        if fill is None:
            shutil.copytree(DIST, self.dir)
        else:
            fill(self.dir)
        if block is not None:
            block(os.path.join(self.dir, "block.bmp"))
        if settings is not None:
            with open(self.settings_path, "wb") as f:
                f.write(bytes(settings))
        self.process = None
        self.shots = 0

    @property
    def settings_path(self):
        return os.path.join(self.dir, "init.inf")

    def read_settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

    def start(self, wrapper=(), cwd=None):
        """Starts the program; from its own directory unless `cwd` names another folder."""
        warm_up_wine(wrapper)
        self.process = subprocess.Popen(
            list(wrapper) + [WINE_RUN, os.path.join(self.dir, "quillomar.exe")],
            cwd=cwd or self.dir,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def wait_exit(self, timeout=20):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        """Ends a program that is still running, and with it the Wine session, so that the
        next test starts from a clean slate (no leftover window or mutex)."""
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
            run(["wineserver", "-k"], timeout=30)
            _wine_warm.clear()

    # --- what the program shows ------------------------------------------------------------
    def probe(self, *args):
        # A probe started while Wine is still bringing up the program's desktop can stall;
        # give up on it after a few seconds and let the caller ask again.
        result = run([WINE_RUN, PROBE] + list(args), timeout=8)
        if result.returncode != 0:
            return None
        return result.stdout.decode("cp932").replace("\r", "")

    def window(self, timeout=30):
        """(client x, y, w, h, frame x, y, w, h) once the main window exists."""
        def ask():
            text = self.probe("window")
            if not text:
                return None
            parts = text.split()
            return tuple(int(v) for v in parts[1:5] + parts[6:10])
        # The window exists from the start of its set-up, before it is sized and placed: wait
        # until two readings half a second apart agree.
        last = [None]

        def settled():
            now = ask()
            stable = now if now is not None and now == last[0] else None
            last[0] = now
            return stable
        found = wait_until(settled, timeout, 0.5)
        if found is None:
            # What the screen showed instead, and whether the program was still running.
            running = self.process is not None and self.process.poll() is None
            self.screenshot("no-window-" + ("running" if running else "ended"))
        return found

    def x_window(self, timeout=30):
        def ask():
            r = run(["xdotool", "search", "--onlyvisible", "--name", "^Quillomar$"])
            ids = r.stdout.decode().split()
            return ids[-1] if ids else None
        return wait_until(ask, timeout, 0.3)

    def focus(self):
        """Activates the main window as a player does: a click into its client area (the
        bottom of the side area, where a click does nothing else)."""
        xid = self.x_window()
        assert xid, "the main window is on the X screen"
        geometry = self.window()
        x, y = geometry[0] + geometry[2] - 8, geometry[1] + geometry[3] - 8
        run(["xdotool", "mousemove", str(x), str(y), "click", "1"], timeout=10)
        # Keys go where Wine has put the focus: wait until the click has made the window the
        # foreground window before anything is typed.
        wait_until(lambda: self.probe("foreground") == "active\n", 5, 0.2)
        time.sleep(0.2)

    def key(self, *keys, delay=0.15):
        for k in keys:
            run(["xdotool", "key", "--clearmodifiers", k])
            time.sleep(delay)

    def exit(self, timeout=10):
        """Exit from the menu, as a player does; returns the exit code, or None if the program
        is still running.  A second try covers keys that the X server dropped."""
        for _ in range(2):
            self.focus()
            self.menu("x")
            code = self.wait_exit(timeout)
            if code is not None:
                return code
        return None

    def minimise(self):
        """Minimises the window from its window menu (Alt+Space, then N); true once it is.
        Tried again when a loaded machine let the menu open too late for the N."""
        for _ in range(3):
            self.focus()
            self.key("alt+space", delay=1.0)
            self.key("n", delay=0.5)
            if wait_until(lambda: self.probe("state") == "minimised\n", 8, 0.3):
                return True
            self.key("Escape", "Escape", delay=0.3)
        return False

    def menu(self, letter):
        """Opens the menu with Alt+M and chooses the item with that mnemonic."""
        self.key("alt+m", delay=0.4)
        self.key(letter, delay=0.4)

    def screenshot(self, label):
        """Saves the whole screen as a PNG in the test's output folder and returns a Screen."""
        self.shots += 1
        path = os.path.join(self.output, "%02d-%s.png" % (self.shots, label))
        run(["import", "-window", "root", path])
        return Screen(path)


class Screen:
    def __init__(self, path):
        self.path = path
        info = run(["identify", "-format", "%w %h", path]).stdout.decode().split()
        self.width, self.height = int(info[0]), int(info[1])
        self.rgb = run(["convert", path, "-depth", "8", "rgb:-"]).stdout

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def region(self, x, y, w, h):
        """Rows of (r, g, b) tuples."""
        return [[self.pixel(x + i, y + j) for i in range(w)] for j in range(h)]


def read_ppm(path):
    """(width, height, RGB bytes) of a binary PPM; exactly one whitespace byte ends the header."""
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    assert fields[0] == b"P6" and fields[3] == b"255"
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1: pos + 1 + width * height * 3]
