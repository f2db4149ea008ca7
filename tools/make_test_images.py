#!/usr/bin/python3
"""Makes the images the unit tests read, in tests/images/.

Run by hand from the repository root when they should change, then commit them:

    python3 tools/make_test_images.py

Needs only Python. Every image is a BMP laid out as SDL writes one (a 54-byte header,
rows bottom-up, each padded to 4 bytes), magenta where nothing is drawn.

headers/: images at the limits of the loader's header check, each named for what it
holds; a name starting "loads_" is an image that loads, "refused_" one the loader refuses.
strip_*.bmp: glyph strips 10 rows tall, ink on rows 2 to 7, 24 bits a pixel unless named
otherwise; the font tests describe them.
"""

import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "images")
MAGENTA, BLACK = (255, 0, 255), (0, 0, 0)


def packed(rgb, bits):
    """One pixel as a BMP of `bits` bits stores it: 8 bits index a palette of magenta and
    black; 16 bits are 5 a colour; 24 and 32 bits are blue, green, red (and a spare byte)."""
    r, g, b = rgb
    if bits == 8:
        return bytes([rgb == BLACK])
    if bits == 16:
        return struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
    return bytes((b, g, r)) + bytes(bits // 8 - 3)


def bmp(w, h, pixel=lambda x, y: MAGENTA, bits=24):
    """A w x h image; pixel(x, y) gives each pixel's RGB, row 0 at the top."""
    pitch = (w * bits // 8 + 3) & ~3
    palette = bytes((255, 0, 255, 0, 0, 0, 0, 0)) if bits == 8 else b""
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(packed(pixel(x, y), bits) for x in range(w))
        rows += row + bytes(pitch - len(row))
    start = 54 + len(palette)
    head = struct.pack("<2sIHHI", b"BM", start + len(rows), 0, 0, start)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(rows), 2835, 2835,
                       len(palette) // 4, 0)
    return head + info + palette + rows


def patched(image, at, size, value, more=0):
    """`image` with the `size`-byte field at `at` set to `value`, and `more` bytes added
    (zeros) or, when negative, cut from its end."""
    data = bytearray(image)
    data[at:at + size] = (value & (1 << 8 * size) - 1).to_bytes(size, "little")
    return bytes(data + bytes(more)) if more >= 0 else bytes(data[:more])


def paletted(w, h):
    """A w x h 8-bit image with all 256 palette colours; rows of w bytes, padded."""
    pitch = (w + 3) & ~3
    palette = b"".join(bytes((i, 0, 255 - i, 0)) for i in range(256))
    rows = b"".join(bytes(range(w)) + bytes(pitch - w) for _ in range(h))
    start = 54 + len(palette)
    head = struct.pack("<2sIHHI", b"BM", start + len(rows), 0, 0, start)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(rows), 2835, 2835, 256, 256)
    return head + info + palette + rows


def old_header(more):
    """A 4 x 2 24-bit image with the 12-byte header of old BMPs; `more` as in `patched`."""
    head = struct.pack("<2sIHHIIHHHH", b"BM", 0, 0, 0, 26, 12, 4, 2, 1, 24)
    return head + bmp(4, 2)[54:54 + 24 + more]


def strip(columns, bits=24):
    """A glyph strip: '#' columns inked on rows 2 to 7, "'" columns on the top row alone."""
    def pixel(x, y):
        inked = (columns[x] == "#" and 2 <= y <= 7) or (columns[x] == "'" and y == 0)
        return BLACK if inked else MAGENTA
    return bmp(len(columns), 10, pixel, bits)


def glyphs(count, width=1):
    """`count` glyphs `width` columns wide, each after a background column, and one more."""
    return (" " + "#" * width) * count + " "


def ninety_four():
    """94 glyphs, 2 columns wide but '!' (1, at the strip's edge), '"' (9), 'A' (100), 'B'
    (7) and 'n' (5)."""
    widths = {1: 9, 32: 100, 33: 7, 77: 5}
    return "#" + "".join(" " + "#" * widths.get(g, 2) for g in range(1, 94)) + " "


HEADERS = {
    "loads_paletted_256_colours": paletted(3, 2),
    "loads_4x2": bmp(4, 2),
    "refused_4x2_a_byte_short": patched(bmp(4, 2), 0, 0, 0, -1),
    "loads_3x2_rows_padded": bmp(3, 2),
    "refused_3x2_padding_cut": patched(bmp(3, 2), 0, 0, 0, -1),
    "loads_8192_wide": bmp(8192, 1),
    "refused_8193_wide": patched(bmp(8192, 1), 18, 4, 8193, 4),
    "loads_8192_tall": bmp(1, 8192),
    "refused_8193_tall": patched(bmp(1, 8192), 22, 4, 8193, 4),
    "loads_rows_from_the_top": patched(bmp(1, 2), 22, 4, -2),
    "loads_32_bits": patched(bmp(4, 2), 28, 2, 32, 8),
    "refused_33_bits": patched(bmp(4, 2), 28, 2, 33, 64),
    "loads_256_colours_declared": patched(bmp(4, 2), 46, 4, 256),
    "refused_257_colours": patched(bmp(4, 2), 46, 4, 257),
    "loads_old_12_byte_header": old_header(0),
    "refused_old_header_a_byte_short": old_header(-1),
    # No width, rows or bits; bit counts SDL lays out in rows too short for their pixels.
    "refused_no_width": patched(bmp(4, 2), 18, 4, 0),
    "refused_no_rows": patched(bmp(4, 2), 22, 4, 0),
    "refused_no_bits": patched(bmp(4, 2), 28, 2, 0),
    "refused_2_bits": patched(bmp(4, 2), 28, 2, 2),
    "refused_32769_bits": patched(bmp(4, 2), 28, 2, 0x8001),
    "refused_empty": b"",
    "refused_not_a_picture": b"no picture",
}

STRIPS = {
    "strip_94_glyphs": ninety_four(),
    "strip_128_glyphs": glyphs(128),
    "strip_55_glyphs_inked_to_the_edge": glyphs(55) + "##",
    "strip_inked_on_the_top_row": " ''" + glyphs(55),
    "strip_no_glyphs": glyphs(0),
    "strip_54_glyphs": glyphs(54),
    "strip_129_glyphs": glyphs(129),
}


def main():
    os.makedirs(os.path.join(ROOT, "headers"), exist_ok=True)
    for name, data in HEADERS.items():
        with open(os.path.join(ROOT, "headers", name + ".bmp"), "wb") as f:
            f.write(data)
    for name, columns in STRIPS.items():
        with open(os.path.join(ROOT, name + ".bmp"), "wb") as f:
            f.write(strip(columns))
    for bits in (8, 16, 32):  # the 94 glyphs again, in the other depths SDL keeps as they are
        with open(os.path.join(ROOT, f"strip_94_glyphs_{bits}_bits.bmp"), "wb") as f:
            f.write(strip(ninety_four(), bits))


if __name__ == "__main__":
    main()
