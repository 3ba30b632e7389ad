#!/usr/bin/env python3
"""Write the example font sheet and the README's pictures of the round trip.

    python3 tools/make_sheet_examples.py [KORVEX_CLI]

KORVEX_CLI defaults to build/bin/korvex-cli. Writes

- examples/font.dxf: a font sheet (korvex-cli template --font) with the letters, digits and
  signs of Korvex's own stroke font (Support/SHPTXT.SHP, 6 units high) drawn in it as
  LINEs, ten drawing units to a unit, so that the capitals reach from the baseline to the
  cap line;
- docs/font-preview.png: the font converted from it (convert --font), previewed;
- docs/edit-after.png: the example drawing's shapes (docs/preview-example.png) after
  drawing them back on a sheet (korvex-cli sheet), editing two cells and converting again.

Standard library only.
"""
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PITCH, BOX, COLS = 125, 100, 16
SHEET = PITCH * (COLS - 1) + BOX
BASELINE = 25
GLYPH_SCALE = 10  # 6 glyph units to the 60 of the cap height


def cell_box(n):
    """(left, bottom) of cell n."""
    row, col = divmod(n - 1, COLS)
    return PITCH * col, SHEET - BOX - PITCH * row


def glyph_strokes(path):
    """{code: [((x1, y1), (x2, y2)), ...]} of the font's pen-down vectors (codes 1, 2, 8)."""
    text = open(path, "rb").read().decode("ascii").split("\x1a")[0]
    glyphs, code, body = {}, None, []
    for line in text.split("\r\n") + ["*"]:
        line = line.split(";")[0].strip()
        if not line:
            continue
        if line.startswith("*"):
            if code is not None:
                glyphs[code] = strokes_of(body)
            code = int(line[1:].split(",")[0]) if line != "*" else None
            body = []
        else:
            body += [int(t) for t in re.sub(r"[()]", "", line).split(",") if t]
    return glyphs


def strokes_of(codes):
    x = y = 0
    down, i, strokes = True, 0, []
    while i < len(codes) and codes[i] != 0:
        c = codes[i]
        if c in (1, 2):
            down = c == 1
            i += 1
        elif c == 8:
            nx, ny = x + codes[i + 1], y + codes[i + 2]
            if down:
                strokes.append(((x, y), (nx, ny)))
            x, y = nx, ny
            i += 3
        else:
            raise ValueError("the font uses only codes 1, 2 and 8")
    return strokes


def line(x1, y1, x2, y2):
    tags = [(0, "LINE"), (8, "SHAPES"), (10, x1), (20, y1), (30, 0.0), (11, x2), (21, y2),
            (31, 0.0)]
    return "".join("%3d\r\n%s\r\n" % (c, ("%.1f" % v) if isinstance(v, float) else v)
                   for c, v in tags)


def insert_entities(path, entities):
    """Adds the entities at the end of the drawing's ENTITIES section."""
    text = open(path, "rb").read().decode("latin-1")
    end = text.rindex("  0\r\nENDSEC\r\n")
    with open(path, "wb") as f:
        f.write((text[:end] + entities + text[end:]).encode("latin-1"))


def run(cli, *arguments):
    subprocess.run([cli] + list(arguments), check=True, stdout=subprocess.DEVNULL)


def main(cli):
    examples, docs = os.path.join(ROOT, "examples"), os.path.join(ROOT, "docs")
    scratch = tempfile.mkdtemp(prefix="korvex-examples-")

    # The font sheet with the stroke font drawn on it.
    font_sheet = os.path.join(examples, "font.dxf")
    run(cli, "template", font_sheet, "--font", "--force")
    glyphs = glyph_strokes(os.path.join(ROOT, "Support", "SHPTXT.SHP"))
    entities = ""
    for code in range(33, 127):
        left, bottom = cell_box(code)
        for (x1, y1), (x2, y2) in glyphs.get(code, []):
            entities += line(float(left + x1 * GLYPH_SCALE), float(bottom + BASELINE + y1 * GLYPH_SCALE),
                             float(left + x2 * GLYPH_SCALE), float(bottom + BASELINE + y2 * GLYPH_SCALE))
    insert_entities(font_sheet, entities)
    run(cli, "convert", font_sheet, "--font", "Korvex Example", "-o",
        os.path.join(scratch, "font.shx"), "--preview", os.path.join(docs, "font-preview.png"))

    # The example shapes, drawn back on a sheet, two cells edited, converted again.
    shapes = os.path.join(scratch, "shapes.shx")
    run(cli, "convert", os.path.join(examples, "shapes.dxf"), "-o", shapes)
    sheet = os.path.join(scratch, "shapes-sheet.dxf")
    run(cli, "sheet", shapes, "-o", sheet)
    left, bottom = cell_box(3)   # the star gets a frame
    edit = "".join(line(float(left + a), float(bottom + b), float(left + c), float(bottom + d))
                   for a, b, c, d in [(10, 10, 90, 10), (90, 10, 90, 90), (90, 90, 10, 90),
                                      (10, 90, 10, 10)])
    left, bottom = cell_box(9)   # a new shape: a cross
    edit += line(float(left + 20), float(bottom + 50), float(left + 80), float(bottom + 50))
    edit += line(float(left + 50), float(bottom + 20), float(left + 50), float(bottom + 80))
    insert_entities(sheet, edit)
    run(cli, "convert", sheet, "-o", os.path.join(scratch, "edited.shx"), "--preview",
        os.path.join(docs, "edit-after.png"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "bin", "korvex-cli"))
