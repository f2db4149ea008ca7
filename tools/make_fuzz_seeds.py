#!/usr/bin/python3
"""Makes the small seed files of the fuzz targets in tests/fuzz/corpus/.

Run by hand from the repository root when the seeds should change, then commit them:

    python3 tools/make_fuzz_seeds.py

Needs only Python. The fuzz script adds the shipped data files (layouts, font
descriptions, the small glyph strip) to these seeds at run time, so they are not copied.

Glyph strips: BMP images of every depth SDL reads (1, 4, 8, 16, 24, 32 bits), a few
pixels high, magenta background and black ink, cut by the game's rule into fonts that
load (56 glyphs, ink at the first and last columns) and fonts that do not (3 glyphs).
Font descriptions name "s.bmp", the 56-glyph strip the description target writes.
Layout files: items spread over lines, numbers of every form, too many items, long words.
High-score files: whole tables and the malformed lines the reader must survive.
"""

import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fuzz", "corpus")
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)


def glyph_columns(count, first=1):
    """Inked columns of `count` one-column glyphs, each after a background column."""
    return {first + 2 * g for g in range(count)}


def bmp(width, height, inked, bits):
    """A bottom-up BMP, BI_RGB, whose inked columns are black and the rest magenta."""
    palette = b""
    if bits <= 8:
        palette = bytes([255, 0, 255, 0]) + bytes(4 * ((1 << bits) - 1))  # 0 magenta, 1+ black
    row_bits = width * bits
    stride = (row_bits + 31) // 32 * 4
    rows = []
    for _ in range(height):
        pixels = [BLACK if x in inked else MAGENTA for x in range(width)]
        rows.append(pack_row(pixels, bits).ljust(stride, b"\0"))
    data = b"".join(rows)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    return header + info + palette + data


def pack_row(pixels, bits):
    if bits == 24:
        return b"".join(bytes([b, g, r]) for r, g, b in pixels)
    if bits == 32:
        return b"".join(bytes([b, g, r, 0]) for r, g, b in pixels)
    if bits == 16:  # 5-5-5
        return b"".join(struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
                        for r, g, b in pixels)
    indices = [0 if p == MAGENTA else 1 for p in pixels]
    per_byte = 8 // bits
    out = bytearray()
    for i in range(0, len(indices), per_byte):
        byte = 0
        for j, index in enumerate(indices[i:i + per_byte]):
            byte |= index << (8 - bits * (j + 1))
        out.append(byte)
    return bytes(out)


def write(folder, name, content):
    path = os.path.join(ROOT, folder)
    os.makedirs(path, exist_ok=True)
    mode = "wb" if isinstance(content, bytes) else "w"
    with open(os.path.join(path, name), mode) as f:
        f.write(content)


def glyph_strips():
    whole = glyph_columns(56)
    for bits in (1, 4, 8, 16, 24, 32):
        write("glyph_strip", f"strip56_{bits}bit.bmp", bmp(113, 4, whole, bits))
    # Ink in the first column, touching glyphs, and ink reaching the last column.
    edges = glyph_columns(57, first=0) | {115}
    write("glyph_strip", "strip_edges_24bit.bmp", bmp(116, 3, edges, 24))
    write("glyph_strip", "strip3_24bit.bmp", bmp(7, 2, glyph_columns(3), 24))


def font_descriptions():
    write("font_description", "lines.fnt", "tiny\n-1\n94\ns.bmp\n")
    write("font_description", "one_line.fnt", "tiny 5 94 s.bmp")
    write("font_description", "long_words.fnt", "n" * 40 + " 1 94 " + "s" * 40 + ".bmp\n")
    write("font_description", "not_numbers.fnt", "tiny x y s.bmp\n")


def layout_files():
    write("layout", "spread.layout", "name\n\na\n1\n2\t3\n  4 b 5 6 7 8 c 9\n10 11 12")
    write("layout", "numbers.layout", "n\nt -5.5 1e2 +48 0.25\nu 1e5 -1e5 0x10 .5e-3\n")
    write("layout", "thirty_three.layout",
          "big\n" + "".join(f"item{k} {k} 1 2 3\n" for k in range(33)))
    write("layout", "long_words.layout", "n" * 40 + "\n" + "t" * 40 + " 1 2 3 4\n")


def hiscore_files():
    whole = "".join(f"{9000 - 10 * n} {chr(65 + n % 26) * 3}\n" for n in range(60))
    write("hiscore", "whole.dat", whole)
    write("hiscore", "empty_initials.dat", "1520 ABC\n0 \n" * 30)
    write("hiscore", "malformed.dat",
          "1234 ABCDEFG\nabc XYZ\n\n2147483648 BIG\n  55  QR\r\n12abc\n-2147483648 MIN\n88")
    write("hiscore", "too_many.dat", "7 XYZ\n" * 70)


if __name__ == "__main__":
    glyph_strips()
    font_descriptions()
    layout_files()
    hiscore_files()
