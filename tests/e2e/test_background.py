"""The background as the window shows it: a JPEG or BMP picture stretched over the client area,
stripes over every other well column, the frame inverting what lies beneath it; compared pixel
for pixel with what the picture tool computes on the host, and a picture that cannot be shown
leaving the well black and the picture switch off in "init.inf"."""
import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from qm_e2e import QMPICTURE, Program, SettingsFile, read_ppm, run, wait_until  # noqa: E402

CELL = 20
CLIENT_W, CLIENT_H = 22 * CELL + 2, 24 * CELL + 2  # from the 20 x 20 block.bmp
WELL_W, WELL_H = 16 * CELL, 24 * CELL


# --- pictures the tests make ------------------------------------------------------------------
def pattern_rgb(x, y, width, height):
    """Gradients in all three channels, with hard-edged shapes on top, so that both the smooth
    interpolation and the filter's ringing at edges are exercised."""
    r = x * 255 // (width - 1)
    g = y * 255 // (height - 1)
    b = (x + y) * 255 // (width + height - 2)
    if width // 5 <= x < width // 3 and height // 4 <= y < 3 * height // 4:
        return 250, 250, 20
    if (x - 3 * width // 4) ** 2 + (y - height // 2) ** 2 < (height // 5) ** 2:
        return 10, 10, 10
    if y < height // 10 and (x // 8) % 2 == 0:
        return 255, 255, 255
    return r, g, b


def write_pattern_jpeg(path, width, height):
    ppm = path + ".ppm"
    body = bytearray()
    for y in range(height):
        for x in range(width):
            body += bytes(pattern_rgb(x, y, width, height))
    with open(ppm, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + bytes(body))
    result = run(["convert", ppm, "-quality", "90", "jpg:" + path])
    os.remove(ppm)
    assert result.returncode == 0, result.stderr


def write_bmp8(path, width, height):
    """An 8-bit palette BMP (bottom-up, 40-byte header): the palette is a colour ramp, the pixel
    indices a diagonal pattern with a sharp-edged bar."""
    palette = [(i, 255 - i, (i * 7) & 255) for i in range(256)]  # (r, g, b)
    stride = (width + 3) // 4 * 4
    body = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            index = (x * 2 + y) & 255
            if height // 3 <= y < height // 2:
                index = 255 if x < width // 2 else 0
            row.append(index)
        body += row + b"\0" * (stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(body), 0, 0, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + table + body)


def wine_path(unix_path):
    """The path under which Wine's Z: drive shows a Unix file."""
    return b"Z:" + os.path.abspath(unix_path).replace("/", "\\").encode("ascii")


# --- what the window must show ----------------------------------------------------------------
def frame_pixel(x, y):
    return ((x in (0, WELL_W + 1) and 0 <= y <= WELL_H + 1)
            or (y in (0, WELL_H + 1) and 1 <= x <= WELL_W))


def striped_cell(x, y):
    return 1 <= x <= WELL_W and 1 <= y <= WELL_H and ((x - 1) // CELL) % 2 == 0


def with_stripes_and_frame(rgb, intensity):
    """The background of `rgb` (client-area RGB rows) with stripes of `intensity` (None: none)
    and the frame, from the pixel rules alone."""
    out = bytearray(rgb)
    for y in range(CLIENT_H):
        for x in range(CLIENT_W):
            i = (y * CLIENT_W + x) * 3
            for k in range(3):
                if intensity is not None and striped_cell(x, y):
                    out[i + k] = min(rgb[i + k] + intensity, 255)
                if frame_pixel(x, y):
                    out[i + k] = 255 - rgb[i + k]
    return bytes(out)


def black_background(intensity=None):
    return with_stripes_and_frame(bytes(CLIENT_W * CLIENT_H * 3), intensity)


def qmpicture_compose(picture, out, *options):
    # The plain whole-picture composition on the host: the window must show exactly its pixels.
    result = run([QMPICTURE, "compose", picture, str(CLIENT_W), str(CLIENT_H), out,
                  "--reference"] + list(options), timeout=120)
    assert result.returncode == 0, result.stderr.decode(errors="replace")
    width, height, rgb = read_ppm(out)
    assert (width, height) == (CLIENT_W, CLIENT_H)
    return rgb


def client_rgb(screen, cx, cy):
    rows = []
    for y in range(cy, cy + CLIENT_H):
        start = (y * screen.width + cx) * 3
        rows.append(screen.rgb[start:start + CLIENT_W * 3])
    return b"".join(rows)


def differences(a, b):
    """Differing pixels of two client-area RGB strings, and the first few of them."""
    count, first = 0, []
    for i in range(0, min(len(a), len(b)), 3):
        if a[i:i + 3] != b[i:i + 3]:
            count += 1
            if len(first) < 5:
                p = i // 3
                first.append(((p % CLIENT_W, p // CLIENT_W), tuple(a[i:i + 3]),
                              tuple(b[i:i + 3])))
    return count, first


class Background(unittest.TestCase):
    def show(self, p, expected, label):
        """Starts `p` and waits until its client area shows exactly `expected`; fails with the
        number of differing pixels of the last screenshot otherwise.  Returns the program,
        still running."""
        p.start()
        geometry = p.window()
        self.assertIsNotNone(geometry, "the main window appeared")
        cx, cy, cw, ch = geometry[:4]
        self.assertEqual((cw, ch), (CLIENT_W, CLIENT_H))
        last = []

        # The window is shown while the picture is still being resampled; give the paint time.
        def shown():
            time.sleep(0.5)
            screen = p.screenshot(label)
            last[:] = [differences(client_rgb(screen, cx, cy), expected), screen.path]
            return last[0][0] == 0
        if not wait_until(shown, 15, 0.5):
            count, first = last[0]
            self.fail("%d of %d client pixels differ (see %s); first (x, y), shown, expected: %s"
                      % (count, CLIENT_W * CLIENT_H, last[1], first))

    def exit_and_read_settings(self, p):
        self.assertEqual(p.exit(), 0, "Exit ends the program with code 0")
        return SettingsFile(p.read_settings())

    def settings(self, image_path, shown=1, stripes=0, intensity=127):
        s = SettingsFile.defaults()
        s["image_shown"], s["guide_stripe"], s["stripe_intensity"] = shown, stripes, intensity
        s.set_image_path(image_path)
        return s

    def test_jpeg_backgrounds_with_stripes_match_the_host_composition_exactly(self):
        # The picture beside the program under its bare name, and outside it under its Z: path
        # with the extension in capitals.
        for name, outside in (("jpeg_in_program_dir", False), ("jpeg_by_wine_path", True)):
            with self.subTest(name):
                p = Program("background_" + name)
                folder = p.output if outside else p.dir
                picture = os.path.join(folder, "scene.JPG" if outside else "scene.jpg")
                write_pattern_jpeg(picture, 700, 300)
                image_path = wine_path(picture) if outside else b"scene.jpg"
                with open(p.settings_path, "wb") as f:
                    f.write(bytes(self.settings(image_path, stripes=1, intensity=60).data))

                plain = qmpicture_compose(picture, os.path.join(p.output, "plain.ppm"))
                expected = qmpicture_compose(picture, os.path.join(p.output, "expected.ppm"),
                                             "--stripes", "60", "--frame")
                self.assertEqual(differences(expected, with_stripes_and_frame(plain, 60))[0], 0,
                                 "the tool's stripes and frame follow the pixel rules")
                self.assertNotEqual(plain, bytes(len(plain)), "the picture was composed")
                try:
                    self.show(p, expected, "jpeg")
                    saved = self.exit_and_read_settings(p)
                finally:
                    p.kill()
                self.assertEqual(saved["image_shown"], 1, "a shown picture keeps the switch on")
                self.assertEqual(saved.image_path(), image_path)

    def test_bmp_background_without_stripes_matches_the_host_composition_exactly(self):
        p = Program("background_bmp")
        picture = os.path.join(p.dir, "ramp.bmp")
        write_bmp8(picture, 150, 97)  # smaller than the window, rows padded by 2 bytes
        with open(p.settings_path, "wb") as f:
            f.write(bytes(self.settings(wine_path(picture), stripes=0, intensity=200).data))
        plain = qmpicture_compose(picture, os.path.join(p.output, "plain.ppm"))
        expected = with_stripes_and_frame(plain, None)
        try:
            self.show(p, expected, "bmp")
        finally:
            p.kill()

    def test_a_picture_that_cannot_be_shown_leaves_black_and_turns_the_switch_off(self):
        for name in ("scene.jpeg", "missing.bmp"):
            with self.subTest(name):
                p = Program("background_unshown_" + name.replace(".", "_"))
                if name.endswith(".jpeg"):
                    # A good JPEG: only its extension is wrong.
                    write_pattern_jpeg(os.path.join(p.dir, name), 700, 300)
                image_path = wine_path(os.path.join(p.dir, name))
                with open(p.settings_path, "wb") as f:
                    f.write(bytes(self.settings(image_path).data))
                try:
                    self.show(p, black_background(), "black")
                    saved = self.exit_and_read_settings(p)
                finally:
                    p.kill()
                self.assertEqual(saved["image_shown"], 0, "the switch is turned off")
                self.assertEqual(saved.image_path(), image_path, "the path is kept")

    def test_full_intensity_stripes_without_a_picture_are_white_on_black(self):
        p = Program("background_stripes_255")
        with open(p.settings_path, "wb") as f:
            f.write(bytes(self.settings(b"", shown=0, stripes=1, intensity=255).data))
        expected = black_background(255)
        try:
            self.show(p, expected, "stripes")
        finally:
            p.kill()


if __name__ == "__main__":
    unittest.main()
