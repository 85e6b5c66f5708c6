#!/usr/bin/env python3
"""Turns the text pictures in pictures/ into the program's .bmp and .ico files.

    make_pictures.py OUTPUT.bmp PICTURE.txt
    make_pictures.py OUTPUT.ico PICTURE.txt [PICTURE.txt ...]   (one image per text picture)
    make_pictures.py OUTPUT.ico ... BLOCKS.txt@SIZE ...       (a grid of blocks at SIZE pixels)

A text picture is a few header lines and a grid of characters, one character per pixel:

    # anything after '#' on a header line is a comment
    bits 4                     4 (16-colour table) or 24 (true colour)
    colour . C0C0C0            a grid character and its colour as RRGGBB
    colour - transparent       (icons only) pixels left clear by the icon's mask
    picture                    the grid follows: every row the same width

Rows are written top row first, as the picture is seen; the files store them bottom-up.

A grid of blocks (see pictures/icon_blocks.txt) is drawn at any size as a 32-bit picture with
an alpha channel, for the large icon images; one of 256 pixels is stored PNG-compressed, as
Windows stores such images, the others as bitmaps.
"""

import struct
import sys
import zlib


def fail(message):
    sys.exit("make_pictures: " + message)


def read_picture(path):
    bits = None
    colours = {}  # character -> (r, g, b) or None for transparent
    order = []
    rows = []
    with open(path, encoding="utf-8") as source:
        lines = source.read().splitlines()
    in_grid = False
    for number, line in enumerate(lines, 1):
        where = "%s:%d" % (path, number)
        if in_grid:
            if line.strip():
                rows.append(line.rstrip())
            continue
        words = line.split("#", 1)[0].split()
        if not words:
            continue
        if words[0] == "bits" and len(words) == 2 and words[1] in ("4", "24"):
            bits = int(words[1])
        elif words[0] == "colour" and len(words) == 3 and len(words[1]) == 1:
            key, value = words[1], words[2]
            if key in colours:
                fail(where + ": colour '%s' given twice" % key)
            if value == "transparent":
                colours[key] = None
            else:
                try:
                    rgb = int(value, 16)
                except ValueError:
                    fail(where + ": bad colour " + value)
                if len(value) != 6:
                    fail(where + ": colours are six hex digits")
                colours[key] = ((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255)
            order.append(key)
        elif words == ["picture"]:
            in_grid = True
        else:
            fail(where + ": cannot read '%s'" % line.strip())
    if bits is None:
        fail(path + ": no 'bits' line")
    if not rows:
        fail(path + ": no picture")
    width = len(rows[0])
    for number, row in enumerate(rows):
        if len(row) != width:
            fail("%s: picture row %d is %d wide, not %d" % (path, number, len(row), width))
        for ch in row:
            if ch not in colours:
                fail("%s: picture row %d uses '%s', which has no colour" % (path, number, ch))
    return {"path": path, "bits": bits, "colours": colours, "order": order, "rows": rows,
            "width": width, "height": len(rows)}


def read_blocks(path, size):
    """A block grid drawn at size x size pixels, as a picture of bits 32."""
    blocks = {}
    grid = []
    with open(path, encoding="utf-8") as source:
        lines = source.read().splitlines()
    in_grid = False
    for number, line in enumerate(lines, 1):
        words = line.split("#", 1)[0].split()
        if in_grid:
            if words:
                grid.append(words[0])
            continue
        if not words:
            continue
        if words[0] == "block" and len(words) == 5 and len(words[1]) == 1:
            try:
                shades = [int(v, 16) for v in words[2:]]
            except ValueError:
                fail("%s:%d: bad colour" % (path, number))
            blocks[words[1]] = [((v >> 16) & 255, (v >> 8) & 255, v & 255) for v in shades]
        elif words == ["grid"]:
            in_grid = True
        else:
            fail("%s:%d: cannot read '%s'" % (path, number, line.strip()))
    if not grid or any(len(row) != len(grid) for row in grid):
        fail(path + ": the grid must be square")
    if size % len(grid):
        fail("%s: %d pixels do not divide into %d blocks" % (path, size, len(grid)))
    cell = size // len(grid)
    edge = max(1, cell // 8)
    colours = {"-": None}
    rows = []
    for y in range(size):
        row = ""
        for x in range(size):
            letter = grid[y // cell][x // cell]
            if letter == ".":
                row += "-"
                continue
            if letter not in blocks:
                fail("%s: grid letter '%s' has no block" % (path, letter))
            light, face, dark = blocks[letter]
            u, v = x % cell, y % cell
            # The dark edge wins the corners it shares with the light one, as in icon32.txt.
            if u >= cell - edge or v >= cell - edge:
                shade = dark
            elif u < edge or v < edge:
                shade = light
            else:
                shade = face
            key = chr(0x100 + len(colours))
            for known, rgb in colours.items():
                if rgb == shade:
                    key = known
                    break
            colours[key] = shade
            row += key
        rows.append(row)
    return {"path": path, "bits": 32, "colours": colours, "order": list(colours), "rows": rows,
            "width": size, "height": size}


def png_bytes(picture):
    """The picture as a PNG of 8-bit RGBA, rows top-down, unfiltered."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b""
    for row in picture["rows"]:
        raw += b"\0" + b"".join(bytes(rgb) + b"\xff" if rgb else b"\0\0\0\0"
                                for rgb in (picture["colours"][ch] for ch in row))
    header = struct.pack(">IIBBBBB", picture["width"], picture["height"], 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def palette_of(picture):
    """The 16-entry colour table and each character's index in it."""
    table = []
    index = {}
    for key in picture["order"]:
        # A clear icon pixel must be black in the colour bits so that the mask alone shows.
        rgb = picture["colours"][key] or (0, 0, 0)
        if rgb not in table:
            table.append(rgb)
        index[key] = table.index(rgb)
    if len(table) > 16:
        fail(picture["path"] + ": more than 16 colours in a 4-bit picture")
    table += [(0, 0, 0)] * (16 - len(table))
    return table, index


def colour_bits(picture):
    """Colour table bytes (empty for 24 bits) and the rows bottom-up, each padded to 4 bytes."""
    rows = []
    if picture["bits"] == 4:
        table, index = palette_of(picture)
        table_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in table)
        for row in reversed(picture["rows"]):
            nibbles = [index[ch] for ch in row] + [0] * (len(row) % 2)
            data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
            rows.append(data + b"\0" * (-len(data) % 4))
    elif picture["bits"] == 32:
        table_bytes = b""
        for row in reversed(picture["rows"]):
            rows.append(b"".join(struct.pack("<BBBB", *reversed(rgb), 255) if rgb else b"\0" * 4
                                 for rgb in (picture["colours"][ch] for ch in row)))
    else:
        table_bytes = b""
        for row in reversed(picture["rows"]):
            data = b"".join(struct.pack("<BBB", *reversed(picture["colours"][ch] or (0, 0, 0)))
                            for ch in row)
            rows.append(data + b"\0" * (-len(data) % 4))
    return table_bytes, b"".join(rows)


def info_header(width, height, bits, image_bytes, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_bytes, 0, 0,
                       colours_used, 0)


def write_bmp(output, picture):
    if any(rgb is None for rgb in picture["colours"].values()):
        fail(picture["path"] + ": a bitmap has no transparent colour")
    table, pixels = colour_bits(picture)
    offset = 14 + 40 + len(table)
    header = info_header(picture["width"], picture["height"], picture["bits"], len(pixels),
                         16 if picture["bits"] == 4 else 0)
    with open(output, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset))
        out.write(header + table + pixels)


def mask_bits(picture):
    """The icon's AND mask: 1 bit per pixel, set where the picture is clear, rows bottom-up."""
    rows = []
    for row in reversed(picture["rows"]):
        bits = [1 if picture["colours"][ch] is None else 0 for ch in row]
        bits += [0] * (-len(bits) % 8)
        data = bytes(sum(bit << (7 - i) for i, bit in enumerate(bits[n:n + 8]))
                     for n in range(0, len(bits), 8))
        rows.append(data + b"\0" * (-len(data) % 4))
    return b"".join(rows)


def write_ico(output, pictures):
    images = []
    for picture in pictures:
        if picture["width"] > 256 or picture["height"] > 256:
            fail(picture["path"] + ": icon images are at most 256 pixels")
        if picture["width"] == 256:
            images.append((picture, png_bytes(picture)))
            continue
        table, pixels = colour_bits(picture)
        mask = mask_bits(picture)
        # The image's header counts colour and mask rows together, hence twice the height.
        header = info_header(picture["width"], 2 * picture["height"], picture["bits"],
                             len(pixels) + len(mask), 0)
        images.append((picture, header + table + pixels + mask))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for picture, data in images:
        directory += struct.pack("<BBBBHHII", picture["width"] % 256, picture["height"] % 256,
                                 16 if picture["bits"] == 4 else 0, 0, 1, picture["bits"],
                                 len(data), offset)
        offset += len(data)
    with open(output, "wb") as out:
        out.write(directory)
        for _, data in images:
            out.write(data)


def main(argv):
    if len(argv) < 3:
        fail("usage: make_pictures.py OUTPUT.bmp|OUTPUT.ico PICTURE.txt...")
    output, sources = argv[1], argv[2:]
    pictures = [read_blocks(path.rsplit("@", 1)[0], int(path.rsplit("@", 1)[1]))
                if "@" in path else read_picture(path) for path in sources]
    if output.lower().endswith(".ico"):
        write_ico(output, pictures)
    elif output.lower().endswith(".bmp") and len(pictures) == 1:
        write_bmp(output, pictures[0])
    else:
        fail("a .bmp is made from exactly one picture, an .ico from one or more")


if __name__ == "__main__":
    main(sys.argv)
