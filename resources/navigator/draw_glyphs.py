#!/usr/bin/env python3
"""Draws the ten navigator glyph images into this folder.

Each image is 13 pixels high and holds two glyphs side by side: the normal
one (black) and the one for a disabled button (grey with a white shadow).
Glyphs are 14 pixels wide, 10 for prior and next. The images use the 16
standard colours; the bottom-left pixel carries the colour the navigator
makes transparent (fuchsia). Needs nothing beyond Python's standard library:
    python3 draw_glyphs.py
"""
import math
import os
import struct
import zlib

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, KEY, WHITE = 0, 8, 13, 15
HEIGHT = 13


def tri_left(ax, cy, h):
    return {(x, cy + dy) for dy in range(-h, h + 1) for x in range(ax + abs(dy), ax + h + 1)}


def tri_right(ax, cy, h):
    return {(x, cy + dy) for dy in range(-h, h + 1) for x in range(ax - h, ax - abs(dy) + 1)}


def box(x0, x1, y0, y1):
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def check():
    pts = [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4), (10, 3)]
    return {(x, y + d) for x, y in pts for d in (0, 1)}


def cross():
    s = set()
    for i in range(8):
        s |= {(3 + i, 2 + i), (4 + i, 2 + i), (10 - i, 2 + i), (9 - i, 2 + i)}
    return s


def up_triangle():
    return {(x, y) for y in range(4, 9) for x in range(6 - (y - 4), 8 + (y - 4))}


def refresh():
    # A ring open at the upper right, with an arrow head at the open end.
    s = set()
    for y in range(HEIGHT):
        for x in range(14):
            d = math.hypot(x - 6.5, y - 6.5)
            angle = math.degrees(math.atan2(6.5 - y, x - 6.5))
            if 2.6 <= d <= 4.4 and not (10 <= angle <= 80):
                s.add((x, y))
    s |= {(8, 1), (9, 1), (10, 1), (11, 1), (12, 1), (9, 2), (10, 2), (11, 2), (12, 2),
          (10, 3), (11, 3), (12, 3), (11, 4), (12, 4), (12, 5)}
    return s


GLYPHS = {
    "db_first": (14, box(4, 5, 3, 9) | tri_left(7, 6, 3)),
    "db_prior": (10, tri_left(3, 6, 3)),
    "db_next": (10, tri_right(6, 6, 3)),
    "db_last": (14, tri_right(6, 6, 3) | box(8, 9, 3, 9)),
    "db_insert": (14, box(6, 7, 2, 9) | box(3, 10, 5, 6)),
    "db_delete": (14, box(3, 10, 5, 6)),
    "db_edit": (14, up_triangle()),
    "db_post": (14, check()),
    "db_cancel": (14, cross()),
    "db_refresh": (14, refresh()),
}


def image(width, shape):
    rows = [[KEY] * (2 * width) for _ in range(HEIGHT)]
    for x, y in shape:
        if 0 <= x < width and 0 <= y < HEIGHT:
            rows[y][x] = BLACK
            if x + 1 < width and y + 1 < HEIGHT and (x + 1, y + 1) not in shape:
                rows[y + 1][width + x + 1] = WHITE
    for x, y in shape:
        if 0 <= x < width and 0 <= y < HEIGHT:
            rows[y][width + x] = GREY
    return rows


def write_png(path, rows):
    width, height = len(rows[0]), len(rows)
    raw = b""
    for r in rows:
        padded = r + [0] * (len(r) % 2)
        raw += b"\0" + bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0))
    png += chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (width, shape) in GLYPHS.items():
        rows = image(width, shape)
        write_png(os.path.join(here, name + ".png"), rows)
        print(name)
        for r in rows:
            print("".join({BLACK: "#", GREY: "+", WHITE: "o", KEY: "."}[c] for c in r))
