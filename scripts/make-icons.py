#!/usr/bin/env python3
"""Writes the program's .ico files from the pixel descriptions below.

Run from anywhere: python3 scripts/make-icons.py. The output is committed in
src/resources/icons/, so a build needs no Python; rerun after changing a
picture here. Standard library only.
"""

import math
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "src" / "resources" / "icons"

# The sixteen colours every display of the 16-colour era had.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

TRANSPARENT = None

# A page under a magnifying glass: the program's own mark.
MARK = [
    "................",
    ".##########.....",
    ".#wwwwwwww##....",
    ".#wwwwwwww#w#...",
    ".#wwkkkkww####..",
    ".#wkkkkkkwwww#..",
    ".#wwwwwwwwwww#..",
    ".#wwwwbbbbwww#..",
    ".#wwwbllllbww#..",
    ".#wwbllllllbw#..",
    ".#wwbllllllbw#..",
    ".#wwbllllllbw#..",
    ".#wwwbllllbhw#..",
    ".#wwwwbbbbwwhh..",
    ".###########hhh.",
    "..............hh",
]

# Colours of the mark: the 256-colour icons take these, the 16-colour ones
# the nearest VGA colour.
MARK_COLOURS = {
    ".": TRANSPARENT,
    "#": (40, 40, 40),
    "w": (255, 255, 255),
    "k": (150, 150, 150),
    "b": (20, 60, 160),
    "l": (170, 210, 250),
    "h": (140, 80, 30),
}

EXCLAMATION = [
    "................",
    "................",
    "................",
    ".......rr.......",
    ".......rr.......",
    ".......rr.......",
    ".......rr.......",
    ".......rr.......",
    ".......rr.......",
    "................",
    ".......rr.......",
    ".......rr.......",
    "................",
    "................",
    "................",
    "................",
]

QUESTION = [
    "................",
    "................",
    "................",
    "......rrrr......",
    ".....rr..rr.....",
    ".........rr.....",
    "........rr......",
    ".......rr.......",
    ".......rr.......",
    "................",
    ".......rr.......",
    ".......rr.......",
    "................",
    "................",
    "................",
    "................",
]


# The sizes a small icon has at 96, 120, 144 and 192 DPI (100 % to 200 %),
# and those of the program's large icon besides.
SMALL_SIZES = [16, 20, 24, 32]
LARGE_SIZES = [16, 20, 24, 32, 40, 48, 64]


def disc_with(glyph, size=16):
    """A white disc with a grey rim, the glyph's red pixels on top: drawn at
    `size`, the glyph's pixels taken from the 16-pixel art nearest to each."""
    k = size / 16
    centre = (size - 1) / 2
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - centre, y - centre) / k
            if glyph[int(y / k)][int(x / k)] == "r":
                row.append((255, 0, 0))
            elif d <= 6.6:
                row.append((255, 255, 255))
            elif d <= 7.6:
                row.append((128, 128, 128))
            else:
                row.append(TRANSPARENT)
        pixels.append(row)
    return pixels


def from_art(art, colours):
    return [[colours[c] for c in line] for line in art]


def resized(pixels, size):
    """Nearest-neighbour: each new pixel takes the old one it lies on."""
    k = len(pixels) / size
    return [[pixels[int(y * k)][int(x * k)] for x in range(size)] for y in range(size)]


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def image(pixels, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour bits, mask bits."""
    size = len(pixels)
    colours = 1 << bits
    if bits == 4:
        palette = list(VGA16)
    else:
        palette = list(VGA16)
        for row in pixels:
            for p in row:
                if p is not TRANSPARENT and p not in palette:
                    palette.append(p)
        palette += [(0, 0, 0)] * (colours - len(palette))
    assert len(palette) == colours

    def row_bytes(width_bits):
        return (width_bits + 31) // 32 * 4

    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        indices = [0 if p is TRANSPARENT else nearest(p, palette) for p in row]
        packed = bytearray()
        if bits == 4:
            for i in range(0, size, 2):
                packed.append(indices[i] << 4 | indices[i + 1])
        else:
            packed.extend(indices)
        packed += b"\0" * (row_bytes(size * bits) - len(packed))
        xor += packed
        m = bytearray(row_bytes(size))
        for x, p in enumerate(row):
            if p is TRANSPARENT:
                m[x // 8] |= 0x80 >> (x % 8)
        mask += m

    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + pal + bytes(xor) + bytes(mask), size, colours


def ico(images):
    entries = []
    data = b""
    offset = 6 + 16 * len(images)
    for blob, size, colours in images:
        bits = 4 if colours == 16 else 8
        entries.append(struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, bits,
                                   len(blob), offset + len(data)))
        data += blob
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + data


def main():
    mark = from_art(MARK, MARK_COLOURS)
    icons = {
        "app.ico": [image(resized(mark, n), 8) for n in reversed(LARGE_SIZES)],
        "tray.ico": [image(resized(mark, n), 8) for n in SMALL_SIZES],
        "tray_classic.ico": [image(resized(mark, n), 4) for n in SMALL_SIZES],
        "message.ico": [image(disc_with(EXCLAMATION, n), 4) for n in SMALL_SIZES],
        "question.ico": [image(disc_with(QUESTION, n), 4) for n in SMALL_SIZES],
    }
    OUT.mkdir(parents=True, exist_ok=True)
    for name, images in icons.items():
        (OUT / name).write_bytes(ico(images))
        print(OUT / name)


if __name__ == "__main__":
    main()
