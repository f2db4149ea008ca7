#!/usr/bin/python3
"""Draws the game's launcher icon: a 5 x 5 bingo card with one diagonal marked.

Writes packaging/quorvel.svg and the same picture as a 64 x 64 PNG, packaging/quorvel.png,
from one list of rectangles. Run by hand from the repository root when the icon should
change, then commit both files:

    /usr/bin/python3 tools/make_icon.py

Needs nothing but Python's standard library. Neither the build nor the game runs it.
"""

import struct
import zlib

SIZE = 64
PITCH, CELL, MARGIN = 11, 10, 4  # a one-unit grid line between the squares
BACKGROUND = (204, 204, 77)      # the buttons' yellow
GRID = (26, 26, 80)
SQUARE = (255, 255, 255)
MARKED = (51, 51, 173)           # the veil over a marked square


def rectangles():
    """(x, y, w, h, colour), drawn in order."""
    card = PITCH * 5 + 1
    rects = [(0, 0, SIZE, SIZE, BACKGROUND), (MARGIN, MARGIN, card, card, GRID)]
    for row in range(5):
        for col in range(5):
            colour = MARKED if row == col else SQUARE
            rects.append((MARGIN + 1 + col * PITCH, MARGIN + 1 + row * PITCH, CELL, CELL, colour))
    return rects


def svg(rects):
    lines = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
             f'viewBox="0 0 {SIZE} {SIZE}">']
    for x, y, w, h, (r, g, b) in rects:
        lines.append(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" '
                     f'fill="#{r:02x}{g:02x}{b:02x}"/>')
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def png(rects):
    pixels = [[(0, 0, 0)] * SIZE for _ in range(SIZE)]
    for x, y, w, h, colour in rects:
        for row in range(y, y + h):
            pixels[row][x:x + w] = [colour] * w
    raw = b"".join(b"\0" + bytes(c for p in line for c in p) for line in pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    shapes = rectangles()
    with open("packaging/quorvel.svg", "w") as f:
        f.write(svg(shapes))
    with open("packaging/quorvel.png", "wb") as f:
        f.write(png(shapes))
