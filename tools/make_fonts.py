#!/usr/bin/python3
"""Makes the game's two bitmap fonts from DejaVu Sans Bold.

Writes data/small_font.fnt, data/large_font.fnt and their glyph strips
data/small_font.bmp, data/large_font.bmp: the 94 printable characters "!" to "~"
side by side on magenta (255, 0, 255), dark ink with a thin white outline.

Run by hand from the repository root whenever the look of the fonts should change,
then commit the four files:

    /usr/bin/python3 tools/make_fonts.py

Needs two Debian packages: fonts-dejavu-core (DejaVu Sans Bold) and python3-pil
(Debian's PIL). Neither the build nor the game runs this tool. It also copies the
DejaVu licence beside the outputs, as data/LICENSE.DejaVu.txt.

The game cuts a strip column by column: a glyph starts one column before its first
inked column and ends at the next column that holds nothing but magenta. So every
glyph here is inked in each of its columns (gaps are bridged with a line of the
outline colour), glyphs stand one magenta column apart, and the strip ends with a
magenta column. The tool cuts the strip again by the game's rule and stops with an
error unless exactly 94 glyphs of the intended widths come out.
"""

import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_COPYRIGHT = "/usr/share/doc/fonts-dejavu-core/copyright"
DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")

CHARS = "".join(chr(c) for c in range(33, 127))
MAGENTA = (255, 0, 255)
DARK_INK = (16, 16, 24)   # reads on white, pale blue, yellow and under the veils
RED_INK = (200, 16, 16)   # reads on the black screen too
OUTLINE = (255, 255, 255)  # keeps letters apart and anti-aliases the ink toward white
INK_FLOOR = 64            # coverage (of 255) below which a pixel is outline, not ink
OUTLINE_FLOOR = 96        # coverage from which the outline grows around a pixel

# (font name, strip and description base name, em size in pixels, strip height, ink)
FONTS = [
    ("QuorvelSmall", "small_font", 16, 20, RED_INK),
    ("QuorvelLarge", "large_font", 26, 34, DARK_INK),
]


def coverage(font, char):
    """The anti-aliased coverage of one character on a canvas with room all round,
    the baseline at a fixed row so that every glyph shares it."""
    size = font.size
    canvas = Image.new("L", (int(font.getlength(char)) + 2 * size, 3 * size), 0)
    ImageDraw.Draw(canvas).text((size, 2 * size), char, font=font, fill=255, anchor="ls")
    return canvas


def compose(cover, ink_colour):
    """Ink where the coverage is high, blended toward the outline colour at the edges;
    a one-pixel outline around it; magenta elsewhere. Returns the RGB image and the
    mask of its opaque pixels."""
    ink_mask = cover.point(lambda v: 255 if v >= INK_FLOOR else 0)
    outline_mask = cover.point(lambda v: 255 if v >= OUTLINE_FLOOR else 0)
    opaque = ImageChops.lighter(ink_mask, outline_mask.filter(ImageFilter.MaxFilter(3)))
    ink_level = cover.point(lambda v: v if v >= INK_FLOOR else 0)
    ink = Image.composite(Image.new("RGB", cover.size, ink_colour),
                          Image.new("RGB", cover.size, OUTLINE), ink_level)
    rgb = Image.composite(ink, Image.new("RGB", cover.size, MAGENTA), opaque)
    return rgb, opaque


def bridge_gaps(rgb, opaque):
    """Fills every column between the glyph's first and last opaque column that holds
    no opaque pixel, on the top row of the opaque column before the gap."""
    width, height = opaque.size
    pixels = opaque.load()
    inked = [any(pixels[x, y] for y in range(height)) for x in range(width)]
    first, last = inked.index(True), width - 1 - inked[::-1].index(True)
    row = 0
    for x in range(first, last + 1):
        if inked[x]:
            row = next(y for y in range(height) if pixels[x, y])
            continue
        rgb.putpixel((x, row), OUTLINE)
        opaque.putpixel((x, row), 255)


def glyph_images(font, ink):
    """Each character's glyph, cropped to its opaque columns, all on the same rows."""
    glyphs = []
    for char in CHARS:
        rgb, opaque = compose(coverage(font, char), ink)
        bridge_gaps(rgb, opaque)
        glyphs.append((rgb, opaque))
    return glyphs


def vertical_extent(glyphs):
    """The rows, shared by all glyphs, between the highest and the lowest opaque pixel."""
    boxes = [opaque.getbbox() for _, opaque in glyphs]
    return min(b[1] for b in boxes), max(b[3] for b in boxes)


def cap_centre_row(font):
    """The row, on the glyph canvases, halfway up the capitals and digits."""
    top, bottom = coverage(font, "H").getbbox()[1::2]
    return (top + bottom) / 2


def strip_rows(font, glyphs, height):
    """The canvas rows the strip keeps: all the ink, with the spare rows placed so that
    the capitals sit as near the middle of the strip as the ink allows. Callers centre
    text in a box by the strip's height, so this centres capitals and digits."""
    top, bottom = vertical_extent(glyphs)
    if bottom - top > height:
        sys.exit(f"error: glyphs need {bottom - top} rows, the strip has {height}")
    wanted_top = round(cap_centre_row(font) - height / 2)
    start = min(max(wanted_top, bottom - height), top)
    return start, start + height


def build_strip(glyphs, rows):
    """Glyphs left to right, each after one magenta column, and a magenta column last."""
    crops = [(rgb.crop((b[0], rows[0], b[2], rows[1])), b[2] - b[0])
             for rgb, opaque in glyphs for b in [opaque.getbbox()]]
    width = sum(w + 1 for _, w in crops) + 1
    strip = Image.new("RGB", (width, rows[1] - rows[0]), MAGENTA)
    x = 1
    for crop, w in crops:
        strip.paste(crop, (x, 0))
        x += w + 1
    return strip, [w + 1 for _, w in crops]


def cut_widths(strip):
    """The widths of the glyphs that the game's cutting rule finds in the strip."""
    width, height = strip.size
    pixels = strip.load()
    has_ink = [any(pixels[x, y] != MAGENTA for y in range(height)) for x in range(width)]
    widths, onchar, left = [], False, 0
    for x in range(width):
        if not onchar and has_ink[x]:
            left = x - 1 if x > 0 else left
            onchar = True
        if onchar and not has_ink[x]:
            onchar = False
            widths.append(x - left)
    return widths


def write_font(name, base, em, height, ink):
    font = ImageFont.truetype(FONT_FILE, em)
    glyphs = glyph_images(font, ink)
    strip, widths = build_strip(glyphs, strip_rows(font, glyphs, height))
    if cut_widths(strip) != widths or len(widths) != len(CHARS):
        sys.exit(f"error: {base}: the game would not cut {len(CHARS)} glyphs as made")
    strip.save(os.path.join(DATA_DIR, base + ".bmp"))
    with open(os.path.join(DATA_DIR, base + ".fnt"), "w") as fnt:
        # name, space glyph (negative: a space is a gap as wide as "n"), glyph count, strip
        fnt.write(f"{name}\n-1\n{len(CHARS)}\n{base}.bmp\n")
    print(f"{base}: {len(widths)} glyphs, {strip.size[0]} x {strip.size[1]}")


def write_licence():
    with open(FONT_COPYRIGHT) as source:
        terms = source.read()
    with open(os.path.join(DATA_DIR, "LICENSE.DejaVu.txt"), "w") as licence:
        licence.write("The glyph strips small_font.bmp and large_font.bmp are rendered from\n"
                      "DejaVu Sans Bold (Debian package fonts-dejavu-core) by\n"
                      "tools/make_fonts.py. The font's copyright and licence follow.\n\n")
        licence.write(terms)


def main():
    for entry in FONTS:
        write_font(*entry)
    write_licence()


if __name__ == "__main__":
    main()
