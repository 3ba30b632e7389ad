#!/usr/bin/env python3
"""Write the Korvex application icon for the desktop menus.

    python3 tools/make_icon.py [REPO_ROOT]

writes packaging/korvex.svg and packaging/korvex-48.png, packaging/korvex-256.png
from one description, the picture the desktop program paints in its title bar
(app/app_icon.cpp): a grey shape cell box and, in it, a blue K of three strokes,
the kind of drawing Korvex turns into shape bytes. Standard library only: the
PNG files are drawn by sampling each pixel 4 x 4 times and encoded with zlib.
"""
import math
import os
import struct
import sys
import zlib

SIZE = 256                       # the picture's own units, a square
TILE_RADIUS = 28                 # the rounded white tile behind everything
TILE_EDGE = (176, 176, 176)
TILE_FILL = (255, 255, 255)
MARGIN = SIZE / 8                # the cell box, as the program draws it
INNER = SIZE - 2 * MARGIN
BOX_COLOUR = (128, 128, 128)
BOX_WIDTH = 6
STROKE_COLOUR = (0, 70, 170)
STROKE_WIDTH = 18

LEFT = MARGIN + INNER / 5
RIGHT = MARGIN + INNER * 4 / 5
TOP = MARGIN + INNER / 5
BOTTOM = MARGIN + INNER * 4 / 5
MIDDLE = (TOP + BOTTOM) / 2
STROKES = [
    ((LEFT, BOTTOM), (LEFT, TOP)),
    ((LEFT, MIDDLE), (RIGHT, TOP)),
    ((LEFT + INNER / 8, MIDDLE - INNER / 16), (RIGHT, BOTTOM)),
]


def svg_text():
    def colour(rgb):
        return "#%02x%02x%02x" % rgb

    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
        'viewBox="0 0 %d %d">' % (SIZE, SIZE, SIZE, SIZE),
        '  <title>Korvex</title>',
        '  <rect x="2" y="2" width="%d" height="%d" rx="%d" fill="%s" stroke="%s" '
        'stroke-width="4"/>' % (SIZE - 4, SIZE - 4, TILE_RADIUS, colour(TILE_FILL),
                                colour(TILE_EDGE)),
        '  <rect x="%g" y="%g" width="%g" height="%g" fill="none" stroke="%s" '
        'stroke-width="%d"/>' % (MARGIN, MARGIN, INNER, INNER, colour(BOX_COLOUR), BOX_WIDTH),
        '  <g stroke="%s" stroke-width="%d" stroke-linecap="round" fill="none">'
        % (colour(STROKE_COLOUR), STROKE_WIDTH),
    ]
    for (x1, y1), (x2, y2) in STROKES:
        lines.append('    <line x1="%g" y1="%g" x2="%g" y2="%g"/>' % (x1, y1, x2, y2))
    lines += ['  </g>', '</svg>']
    return "\n".join(lines) + "\n"


def distance_to_segment(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside_rounded_square(px, py, inset, radius):
    lo, hi = inset + radius, SIZE - inset - radius
    cx, cy = min(max(px, lo), hi), min(max(py, lo), hi)
    return math.hypot(px - cx, py - cy) <= radius


def colour_at(x, y):
    """The colour of the picture at (x, y), or None outside the tile."""
    for a, b in STROKES:
        if distance_to_segment(x, y, a, b) <= STROKE_WIDTH / 2:
            return STROKE_COLOUR
    edge = min(abs(x - MARGIN), abs(x - (MARGIN + INNER)), abs(y - MARGIN),
               abs(y - (MARGIN + INNER)))
    if edge <= BOX_WIDTH / 2 and MARGIN - 3 <= x <= MARGIN + INNER + 3 \
            and MARGIN - 3 <= y <= MARGIN + INNER + 3:
        return BOX_COLOUR
    if inside_rounded_square(x, y, 4, TILE_RADIUS - 2):
        return TILE_FILL
    if inside_rounded_square(x, y, 0, TILE_RADIUS + 2):
        return TILE_EDGE
    return None


def png_bytes(pixels):
    samples = 4
    scale = SIZE / pixels
    rows = []
    for j in range(pixels):
        row = bytearray([0])  # filter type: none
        for i in range(pixels):
            r = g = b = a = 0
            for sj in range(samples):
                for si in range(samples):
                    c = colour_at((i + (si + 0.5) / samples) * scale,
                                  (j + (sj + 0.5) / samples) * scale)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a:
                row += bytes((round(r / a), round(g / a), round(b / a),
                              round(255 * a / samples ** 2)))
            else:
                row += bytes(4)
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", pixels, pixels, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    folder = os.path.join(root, "packaging")
    with open(os.path.join(folder, "korvex.svg"), "w", newline="\n") as out:
        out.write(svg_text())
    for pixels in (48, 256):
        with open(os.path.join(folder, "korvex-%d.png" % pixels), "wb") as out:
            out.write(png_bytes(pixels))
    print("wrote packaging/korvex.svg, packaging/korvex-48.png, packaging/korvex-256.png")


if __name__ == "__main__":
    main()
