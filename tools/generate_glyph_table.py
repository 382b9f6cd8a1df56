#!/usr/bin/env python3
"""Regenerates src/screen/glyph_set_cp437.cpp, the 8x14 code page 437 glyph
set compiled into arrowgrid, from the Terminus Font console fonts of Debian's
console-setup-linux package (SIL Open Font License 1.1, see
licenses/terminus-font-OFL.txt).

Each code page 437 position is mapped to its Unicode character and looked up
in the font's Unicode table. FullGreek-Terminus14 is the main source because
its table maps every character to a glyph of its own (the Uni* fonts of the
same family substitute single lines for double box drawing and arrows for
triangles). The few Latin letters it lacks come from Uni2-Terminus14, drawn
by the same design; what neither font has is drawn by hand below.

Usage:
  tools/generate_glyph_table.py [--output FILE] [--preview FILE.pgm]
Standard library only.
"""

import argparse
import gzip
import os
import struct
import sys
import unicodedata

FONT_DIR = "/usr/share/consolefonts"
MAIN_FONT = "FullGreek-Terminus14.psf.gz"
FALLBACK_FONT = "Uni2-Terminus14.psf.gz"
WIDTH = 8
HEIGHT = 14

# The IBM graphic symbols that code page 437 shows for the control codes 1..31.
CONTROL_SYMBOLS = (
    "\u263A\u263B\u2665\u2666\u2663\u2660\u2022\u25D8\u25CB\u25D9\u2642"
    "\u2640\u266A\u266B\u263C\u25BA\u25C4\u2195\u203C\u00B6\u00A7\u25AC"
    "\u21A8\u2191\u2193\u2192\u2190\u221F\u2194\u25B2\u25BC")


def cp437_characters():
    """The Unicode character of each of the 256 positions (0 is a blank)."""
    chars = [" "] + list(CONTROL_SYMBOLS) + [chr(c) for c in range(32, 127)]
    chars.append("\u2302")  # 127, the house
    # Python's codec holds the standard table for 128..255 (255 is U+00A0).
    chars += [bytes([c]).decode("cp437") for c in range(128, 256)]
    assert len(chars) == 256
    return chars


# Glyphs neither font has, one string per row, "#" = pixel set. They follow
# the Terminus triangles (U+25B6 and U+25C0): same height, same rows.
HAND_DRAWN = {
    "\u25BA": [  # 16, black right-pointing pointer
        "........",
        "........",
        "........",
        "#.......",
        "###.....",
        "#####...",
        "#######.",
        "#####...",
        "###.....",
        "#.......",
        "........",
        "........",
        "........",
        "........",
    ],
    "\u25C4": [  # 17, black left-pointing pointer
        "........",
        "........",
        "........",
        "......#.",
        "....###.",
        "..#####.",
        "#######.",
        "..#####.",
        "....###.",
        "......#.",
        "........",
        "........",
        "........",
        "........",
    ],
}


def load_psf(path):
    """Returns (width, height, glyph bitmaps, {character: glyph index})."""
    with gzip.open(path, "rb") as f:
        data = f.read()
    table = {}
    if data[:2] == b"\x36\x04":  # PSF1: always 8 wide, 16-bit Unicode table
        mode, height = data[2], data[3]
        count = 512 if mode & 0x01 else 256
        if not mode & 0x02:
            sys.exit(f"{path}: no Unicode table")
        glyphs = [data[4 + i * height:4 + (i + 1) * height] for i in range(count)]
        pos = 4 + count * height
        for index in range(count):
            while True:
                (code,) = struct.unpack_from("<H", data, pos)
                pos += 2
                if code == 0xFFFF:
                    break
                if code != 0xFFFE:  # sequences are not needed here
                    table.setdefault(chr(code), index)
        return 8, height, glyphs, table
    magic, _version, header_size, flags, count, glyph_bytes, height, width = (
        struct.unpack_from("<8I", data, 0))
    if magic != 0x864AB572:
        sys.exit(f"{path}: not a PSF font")
    if not flags & 0x01:
        sys.exit(f"{path}: no Unicode table")
    glyphs = [data[header_size + i * glyph_bytes:header_size + (i + 1) * glyph_bytes]
              for i in range(count)]
    pos = header_size + count * glyph_bytes
    for index in range(count):
        while data[pos] != 0xFF:
            if data[pos] == 0xFE:  # start of a sequence: skip to the next entry
                pos += 1
                continue
            lead = data[pos]
            length = 1 if lead < 0x80 else 2 if lead < 0xE0 else 3 if lead < 0xF0 else 4
            table.setdefault(data[pos:pos + length].decode("utf-8"), index)
            pos += length
        pos += 1
    return width, height, glyphs, table


def parse_drawing(rows):
    assert len(rows) == HEIGHT and all(len(r) == WIDTH for r in rows)
    return [sum(0x80 >> x for x, p in enumerate(r) if p == "#") for r in rows]


def box_arms(char):
    """Which cell edges a box-drawing character's strokes must reach."""
    name = unicodedata.name(char)
    words = set(name.replace("BOX DRAWINGS ", "").split())
    arms = set()
    if "VERTICAL" in words:
        arms |= {"up", "down"}
    if "HORIZONTAL" in words:
        arms |= {"left", "right"}
    for arm in ("UP", "DOWN", "LEFT", "RIGHT"):
        if arm in words:
            arms.add(arm.lower())
    return arms


def check_edges(code, char, rows):
    """Box drawing must join up with its neighbours: a stroke that leaves the
    cell touches the edge, and no other edge is touched."""
    arms = box_arms(char)
    touches = {
        "up": rows[0] != 0,
        "down": rows[HEIGHT - 1] != 0,
        "left": any(r & 0x80 for r in rows),
        "right": any(r & 0x01 for r in rows),
    }
    wrong = [arm for arm, touched in touches.items() if touched != (arm in arms)]
    if wrong:
        sys.exit(f"code {code} ({char}): strokes do not meet the cell edge as "
                 f"expected at {', '.join(wrong)}")


def build_table():
    main = load_psf(os.path.join(FONT_DIR, MAIN_FONT))
    fallback = load_psf(os.path.join(FONT_DIR, FALLBACK_FONT))
    for name, (width, height, _, _) in ((MAIN_FONT, main), (FALLBACK_FONT, fallback)):
        if (width, height) != (WIDTH, HEIGHT):
            sys.exit(f"{name} is {width}x{height}, not {WIDTH}x{HEIGHT}")
    chars = cp437_characters()
    table, sources = [], []
    for code, char in enumerate(chars):
        if code == 0:
            rows, source = [0] * HEIGHT, "blank"
        elif char in HAND_DRAWN:
            rows, source = parse_drawing(HAND_DRAWN[char]), "hand-drawn"
        elif char in main[3]:
            rows, source = list(main[2][main[3][char]]), MAIN_FONT
        elif char in fallback[3]:
            rows, source = list(fallback[2][fallback[3][char]]), FALLBACK_FONT
        else:
            sys.exit(f"code {code} (U+{ord(char):04X}) is in neither font and "
                     f"not drawn by hand")
        table.append(rows)
        sources.append(source)
    # The block that stands for a grid block must cover the cell completely.
    if table[219] != [0xFF] * HEIGHT:
        sys.exit("code 219 is not a full block")
    for code, char in enumerate(chars):
        if unicodedata.name(char, "").startswith("BOX DRAWINGS"):
            check_edges(code, char, table[code])
    return chars, table, sources


def describe(code, char):
    if code == 0:
        return "0 blank"
    if unicodedata.category(char) in ("Zs", "Cc"):
        return f"{code} U+{ord(char):04X}"
    # Quoted, since a trailing backslash would continue the C++ comment.
    return f"{code} U+{ord(char):04X} '{char}'"


def write_source(path, chars, table, sources):
    by_source = {}
    for code, source in enumerate(sources):
        by_source.setdefault(source, []).append(code)
    lines = [
        "// The 8x14 code page 437 glyph set: GENERATED by "
        "tools/generate_glyph_table.py, do not edit.",
        f"// Source: {MAIN_FONT} from Debian's console-setup-linux "
        f"(Terminus Font,",
        "// Copyright (c) 2010 Dimitar Toshkov Zhekov, SIL Open Font License 1.1,",
        "// see licenses/terminus-font-OFL.txt).",
    ]
    if FALLBACK_FONT in by_source:
        codes = " ".join(str(c) for c in by_source[FALLBACK_FONT])
        lines.append(f"// Codes {codes} from {FALLBACK_FONT} of the same package;")
    if "hand-drawn" in by_source:
        codes = " ".join(str(c) for c in by_source["hand-drawn"])
        lines.append(f"// codes {codes} drawn by hand in the script; code 0 blank.")
    lines += [
        "",
        '#include "screen/glyph_set.h"',
        "",
        "namespace arrowgrid {",
        "",
        "const uint8_t GLYPH_BITMAPS[256][14] = {",
    ]
    for code, rows in enumerate(table):
        data = ", ".join(f"0x{r:02X}" for r in rows)
        lines.append(f"    {{{data}}},  // {describe(code, chars[code])}")
    lines += ["};", "", "}  // namespace arrowgrid", ""]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def write_preview(path, table, scale=3, gap=2):
    """All 256 glyphs, 16 per row, white on black, as a binary PGM."""
    cell_w, cell_h = WIDTH * scale + gap, HEIGHT * scale + gap
    width, height = 16 * cell_w + gap, 16 * cell_h + gap
    pixels = bytearray([60]) * (width * height)  # grey separators
    for code, rows in enumerate(table):
        left = gap + (code % 16) * cell_w
        top = gap + (code // 16) * cell_h
        for y in range(HEIGHT * scale):
            bits = rows[y // scale]
            for x in range(WIDTH * scale):
                on = bits & (0x80 >> (x // scale))
                pixels[(top + y) * width + left + x] = 255 if on else 0
    with open(path, "wb") as f:
        f.write(f"P5 {width} {height} 255\n".encode("ascii"))
        f.write(pixels)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output",
                        default=os.path.join(root, "src/screen/glyph_set_cp437.cpp"))
    parser.add_argument("--preview", help="also write a PGM picture of the set")
    args = parser.parse_args()
    chars, table, sources = build_table()
    write_source(args.output, chars, table, sources)
    if args.preview:
        write_preview(args.preview, table)


if __name__ == "__main__":
    main()
