#!/usr/bin/env python3
"""Write the Korvex shape-sheet drawings as ASCII DXF (R12, AC1009).

    python3 tools/make_drawings.py [REPO_ROOT]

writes Support/ShapesTemplate.dxf (the empty sheet) and examples/shapes.dxf
(the sheet with example shapes). Standard library only.

To make another working drawing, build a list of entities with the helpers
below (cell_xy, line, stroke, text, point, circle, arc, polyline) and call
write_drawing(path, entities); they are added after the template's entities.
"""
import os
import sys

PITCH, BOX, BAND = 125.0, 100.0, 21.0
COLS = ROWS = 16
SHEET = PITCH * (COLS - 1) + BOX              # 1975.0
MARKERS = ("KORVEX SHAPE SHEET", "TEMPLATE REV 1")
CAPTION = "KORVEX SHAPE SHEET - draw one shape per box, name it in the band above"
# layer name, colour number (all with linetype CONTINUOUS)
LAYERS = [("0", 7), ("ID", 3), ("GRID", 8), ("MARKER", 1), ("SHAPES", 7)]
# Words that may appear in ENTITIES only as an entity name after "  0".
RESERVED = {"LINE", "ARC", "CIRCLE", "POLYLINE", "LWPOLYLINE", "TEXT", "POINT",
            "ELLIPSE", "SPLINE", "MTEXT", "INSERT", "ATTRIB",
            "VIEWPORT", "DESCRIPTION", "ENDSEC", "ENTITIES"}


# ---------------------------------------------------------------- geometry
def cell_box(n):
    """(left, bottom) of cell n (1..256, row by row from the top left)."""
    row, col = divmod(n - 1, COLS)
    return PITCH * col, SHEET - BOX - PITCH * row


def cell_xy(n, x, y):
    """Absolute point for (x, y) given relative to cell n's lower-left corner."""
    left, bottom = cell_box(n)
    return left + x, bottom + y


# ---------------------------------------------------------------- tags
def fmt(code, value):
    """One group as two lines: code right-aligned in 3, value in DXF style."""
    if isinstance(value, str):
        v = value
    elif 60 <= code <= 99 or 170 <= code <= 179:          # integer groups
        v = "%6d" % value
    else:                                                  # real groups
        v = ("%.6f" % value).rstrip("0")
        v = v + "0" if v.endswith(".") else v
        v = "0.0" if v == "-0.0" else v
    return ["%3d" % code, v]


def xyz(p, base=10):
    return [(base, float(p[0])), (base + 10, float(p[1])), (base + 20, 0.0)]


def line(layer, p1, p2):
    return [(0, "LINE"), (8, layer)] + xyz(p1) + xyz(p2, 11)


def text(layer, p, height, value):
    return [(0, "TEXT"), (8, layer)] + xyz(p) + [(40, height), (1, value)]


def point(layer, p):
    return [(0, "POINT"), (8, layer)] + xyz(p)


def circle(layer, c, r):
    return [(0, "CIRCLE"), (8, layer)] + xyz(c) + [(40, r)]


def arc(layer, c, r, start, end):
    """Counter-clockwise from start to end angle (degrees)."""
    return [(0, "ARC"), (8, layer)] + xyz(c) + [(40, r), (50, start), (51, end)]


def polyline(layer, vertices, closed=False):
    """R12 POLYLINE; vertices are (x, y) or (x, y, bulge to the next vertex)."""
    tags = [(0, "POLYLINE"), (8, layer), (66, 1)] + xyz((0, 0)) + [(70, 1 if closed else 0)]
    for v in vertices:
        tags += [(0, "VERTEX"), (8, layer)] + xyz(v)
        if len(v) > 2 and v[2]:
            tags.append((42, v[2]))
    return tags + [(0, "SEQEND"), (8, layer)]


def insert(layer, block, p):
    return [(0, "INSERT"), (8, layer), (2, block)] + xyz(p)


def stroke(layer, n, points):
    """Connected stroke of LINEs through points relative to cell n."""
    pts = [cell_xy(n, x, y) for x, y in points]
    return [t for a, b in zip(pts, pts[1:]) for t in line(layer, a, b)]


# ---------------------------------------------------------------- sections
def section(name, tags):
    return [(0, "SECTION"), (2, name)] + tags + [(0, "ENDSEC")]


def table(name, entries):
    tags = [(0, "TABLE"), (2, name), (70, len(entries))]
    for e in entries:
        tags += [(0, name), (2, e[0]), (70, 0)] + list(e[1:])
    return tags + [(0, "ENDTAB")]


def header():
    var = lambda name, *tags: [(9, name)] + list(tags)
    pt2 = lambda x, y: [(10, x), (20, y)]
    return section("HEADER",
        var("$ACADVER", (1, "AC1009")) + var("$INSBASE", *xyz((0, 0))) +
        var("$EXTMIN", *xyz((0, 0))) + var("$EXTMAX", *xyz((SHEET, SHEET))) +
        var("$LIMMIN", *pt2(0.0, 0.0)) + var("$LIMMAX", *pt2(SHEET, SHEET)) +
        var("$LTSCALE", (40, 1.0)) + var("$TEXTSIZE", (40, 5.0)) +
        var("$TEXTSTYLE", (7, "STANDARD")) + var("$CLAYER", (8, "SHAPES")) +
        var("$CELTYPE", (6, "BYLAYER")) + var("$LUNITS", (70, 2)) +
        var("$LUPREC", (70, 2)) + var("$AUNITS", (70, 0)) +
        var("$AUPREC", (70, 0)) + var("$ANGBASE", (50, 0.0)) +
        var("$ANGDIR", (70, 0)) + var("$PDMODE", (70, 3)) +
        var("$PDSIZE", (40, 3.0)) + var("$HANDLING", (70, 0)))


def tables():
    mid = SHEET / 2
    vport = ("*ACTIVE", (10, 0.0), (20, 0.0), (11, 1.0), (21, 1.0),
             (12, mid), (22, mid + 40), (13, 0.0), (23, 0.0), (14, 5.0), (24, 5.0),
             (15, 25.0), (25, 25.0), (16, 0.0), (26, 0.0), (36, 1.0),
             (17, 0.0), (27, 0.0), (37, 0.0), (40, SHEET + 160), (41, 1.5),
             (42, 50.0), (43, 0.0), (44, 0.0), (50, 0.0), (51, 0.0),
             (71, 0), (72, 100), (73, 1), (74, 1), (75, 0), (76, 0), (77, 0), (78, 0))
    ltypes = [("CONTINUOUS", (3, "Solid line"), (72, 65), (73, 0), (40, 0.0)),
              ("DASHED", (3, "Dashed __ __ __"), (72, 65), (73, 2), (40, 6.0),
               (49, 4.0), (49, -2.0))]
    layers = [(n, (62, c), (6, "CONTINUOUS")) for n, c in LAYERS]
    styles = [("STANDARD", (40, 0.0), (41, 1.0), (50, 0.0), (71, 0), (42, 5.0), (3, "txt"))]
    dimstyles = [("STANDARD", (40, 1.0), (41, 2.5), (140, 2.5))]
    return section("TABLES",
        table("VPORT", [vport]) + table("LTYPE", ltypes) + table("LAYER", layers) +
        table("STYLE", styles) + table("VIEW", []) + table("UCS", []) +
        table("APPID", [("ACAD",)]) + table("DIMSTYLE", dimstyles))


def block(name, entities):
    return ([(0, "BLOCK"), (8, "0"), (2, name), (70, 0)] + xyz((0, 0)) +
            [(3, name)] + entities + [(0, "ENDBLK"), (8, "0")])


def blocks():
    corners = [(0, 0), (BOX, 0), (BOX, BOX), (0, BOX), (0, 0)]
    cellbox = [t for a, b in zip(corners, corners[1:]) for t in line("GRID", a, b)]
    band_top = line("GRID", (0, BOX + BAND), (BOX, BOX + BAND))
    band_top[2:2] = [(6, "DASHED")]                 # linetype right after the layer
    return section("BLOCKS", block("$MODEL_SPACE", []) + block("$PAPER_SPACE", []) +
                   block("CELLBOX", cellbox + band_top))


def template_entities():
    """Cell outlines (INSERTs), cell numbers and caption (layer ID), markers."""
    tags = []
    for n in range(1, COLS * ROWS + 1):
        tags += insert("GRID", "CELLBOX", cell_box(n))
        tags += text("ID", cell_xy(n, 2.0, 2.0), 5.0, str(n))
    tags += text("ID", (0.0, SHEET + 60), 20.0, CAPTION)
    tags += text("ID", (0.0, SHEET + 35), 10.0,
                 "Cell numbers, outlines and the marker above cell 256 are not read.")
    left, bottom = cell_box(COLS * ROWS)
    tags += text("MARKER", (left + 3, bottom + BOX + 12), 6.0, MARKERS[0])
    tags += text("MARKER", (left + 3, bottom + BOX + 3), 6.0, MARKERS[1])
    return tags


def check_entities(tags):
    """Reserved words may appear in ENTITIES only as entity names."""
    for code, value in tags:
        if isinstance(value, str) and value.strip() in RESERVED and code != 0:
            raise ValueError("reserved word %r as group %d value" % (value, code))


def write_drawing(path, entities=()):
    """Write the template plus extra entities (lists of (code, value) tags)."""
    extra = [t for e in entities for t in e]
    ents = template_entities() + extra
    check_entities(ents)
    tags = header() + tables() + blocks() + section("ENTITIES", ents) + [(0, "EOF")]
    lines = [s for code, value in tags for s in fmt(code, value)]
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


# ---------------------------------------------------------------- example
def name(n, label):
    """Shape name in cell n's name band."""
    return text("SHAPES", cell_xy(n, 3.0, BOX + 5.0), 8.0, label)


def example_entities():
    S = "SHAPES"
    c = lambda n, x, y: cell_xy(n, x, y)
    return [
        # 1: arrow pointing right, shaft and heads as one connected stroke
        name(1, "ARROW"),
        stroke(S, 1, [(12.5, 50.0), (85.0, 50.0), (65.0, 65.0)]),
        line(S, c(1, 85.0, 50.0), c(1, 65.0, 35.0)),
        # 2: square drawn round, then its diagonal
        name(2, "Square-X"),
        stroke(S, 2, [(20, 20), (80, 20), (80, 80), (20, 80), (20, 20)]),
        line(S, c(2, 20.0, 20.0), c(2, 80.0, 80.0)),
        # 3: asterisk, lines drawn in both directions
        name(3, "STAR"),
        line(S, c(3, 15.0, 50.0), c(3, 85.0, 50.0)),
        line(S, c(3, 50.0, 85.0), c(3, 50.0, 15.0)),
        line(S, c(3, 25.25, 25.25), c(3, 74.75, 74.75)),
        line(S, c(3, 74.75, 25.25), c(3, 25.25, 74.75)),
        # 4: zig-zag
        name(4, "ZIGZAG"),
        stroke(S, 4, [(10, 50), (25, 75), (40, 25), (55, 75), (70, 25), (85.5, 50)]),
        # 5: north arrow with the letter N
        name(5, "North"),
        line(S, c(5, 50.0, 12.0), c(5, 50.0, 72.0)),
        stroke(S, 5, [(40, 57), (50, 72), (60, 57)]),
        text(S, c(5, 46.5, 78.0), 10.0, "N"),
        # 6, 7: text only
        text(S, c(6, 20.0, 45.0), 10.0, "AB12"),
        text(S, c(7, 15.0, 46.0), 8.0, "Korvex"),
        # 8: triangle around a POINT at the box centre (shape origin)
        name(8, "Origin"),
        point(S, c(8, 50.0, 50.0)),
        stroke(S, 8, [(25, 30), (75, 30), (50, 75.5), (25, 30)]),
        # 20: arc 30..120 degrees about the centre
        name(20, "ARC30"),
        arc(S, c(20, 50.0, 50.0), 30.0, 30.0, 120.0),
        # 21: circle at the centre and a radius line
        name(21, "Circle"),
        circle(S, c(21, 50.0, 50.0), 20.0),
        line(S, c(21, 50.0, 50.0), c(21, 85.0, 50.0)),
        # 22: arc over 180 degrees
        name(22, "ARC270"),
        arc(S, c(22, 50.0, 50.0), 30.0, 0.0, 270.0),
        # 37: closed polyline, bulged sides out (0.5) and one in (-0.4)
        name(37, "Pillow"),
        polyline(S, [c(37, 25, 25) + (0.5,), c(37, 75, 25) + (0.5,),
                     c(37, 75, 75) + (-0.4,), c(37, 25, 75)], closed=True),
        # 38: open polyline, omega: bulge 2 (about 254 degrees) on the middle span
        name(38, "OMEGA"),
        polyline(S, [c(38, 70, 15), c(38, 70, 30) + (2.0,), c(38, 30, 30), c(38, 30, 15)]),
        # 255: last shape cell, a small triangle, unnamed
        stroke(S, 255, [(30, 30), (70, 30), (50, 70), (30, 30)]),
    ]


def main(root):
    write_drawing(os.path.join(root, "Support", "ShapesTemplate.dxf"))
    write_drawing(os.path.join(root, "examples", "shapes.dxf"), example_entities())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else
         os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
