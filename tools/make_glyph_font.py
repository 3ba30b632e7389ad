#!/usr/bin/env python3
"""Generate Support/SHPTXT.SHP, the Korvex stroke text font.

Every glyph is described below as a list of polylines in absolute glyph
coordinates (origin = left end of the baseline).  The generator turns the
polylines into relative shape bytes that use only the codes
1 (pen down), 2 (pen up), 8 (one displacement (dx,dy)) and the final 0.

Grid: capitals and digits span y 0..6 (cap height 6), lower case has an
x-height of 4 with ascenders to 6 and descenders to -2.

Usage:  python3 tools/make_glyph_font.py [output.shp]
"""

import os
import sys

MAX_LINE = 78
MAX_GLYPH_TEXT = 199
MAX_BODY_LINES = 2

# code: (NAME, advance, "polyline; polyline; ...")
# A polyline is a run of "x,y" points separated by spaces.
GLYPHS = {
    32: ("SPACE", 5, ""),
    33: ("EXCLAM", 2, "0,6 0,2; 0,0 0,1"),
    34: ("DQUOTE", 4, "0,6 0,4; 2,6 2,4"),
    35: ("HASH", 7, "1,0 2,6; 3,0 4,6; 0,2 5,2; 0,4 5,4"),
    36: ("DOLLAR", 6,
         "4,4 3,5 1,5 0,4 1,3 3,3 4,2 3,1 1,1 0,2; 2,6 2,0"),
    37: ("PERCENT", 6,
         "0,0 4,6; 1,6 2,5 1,4 0,5 1,6; 3,2 4,1 3,0 2,1 3,2"),
    38: ("AMPERSAND", 6,
         "4,0 1,4 1,5 2,6 3,5 0,2 0,1 1,0 2,0 4,2"),
    39: ("APOSTROPHE", 2, "0,6 0,4"),
    40: ("LPAREN", 4, "2,6 1,5 0,3 0,2 1,0 2,-1"),
    41: ("RPAREN", 4, "0,6 1,5 2,3 2,2 1,0 0,-1"),
    42: ("ASTERISK", 6, "2,1 2,5; 0,4 4,2; 0,2 4,4"),
    43: ("PLUS", 6, "2,1 2,5; 0,3 4,3"),
    44: ("COMMA", 3, "1,1 1,0 0,-1"),
    45: ("MINUS", 5, "0,3 3,3"),
    46: ("PERIOD", 2, "0,0 0,1"),
    47: ("SLASH", 6, "0,0 4,6"),
    48: ("ZERO", 6,
         "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0; 1,1 3,5"),
    49: ("ONE", 6, "0,4 2,6 2,0; 0,0 4,0"),
    50: ("TWO", 6, "0,5 1,6 3,6 4,5 4,4 0,0 4,0"),
    51: ("THREE", 6,
         "0,5 1,6 3,6 4,5 4,4 3,3 4,2 4,1 3,0 1,0 0,1; 3,3 1,3"),
    52: ("FOUR", 6, "3,0 3,6 0,2 4,2"),
    53: ("FIVE", 6, "4,6 0,6 0,3 3,3 4,2 4,1 3,0 1,0 0,1"),
    54: ("SIX", 6,
         "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,2 3,3 0,3"),
    55: ("SEVEN", 6, "0,6 4,6 1,0"),
    56: ("EIGHT", 6,
         "1,4 0,5 1,6 3,6 4,5 3,4 1,4 0,3 0,1 1,0 3,0 4,1 4,3 3,4"),
    57: ("NINE", 6,
         "0,1 1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,4 1,3 4,3"),
    58: ("COLON", 2, "0,0 0,1; 0,3 0,4"),
    59: ("SEMICOLON", 3, "1,3 1,4; 1,1 1,0 0,-1"),
    60: ("LESS", 6, "4,5 0,3 4,1"),
    61: ("EQUAL", 6, "0,2 4,2; 4,4 0,4"),
    62: ("GREATER", 6, "0,5 4,3 0,1"),
    63: ("QUESTION", 6,
         "0,5 1,6 3,6 4,5 4,4 2,3 2,2; 2,0 2,1"),
    64: ("AT", 9,
         "5,2 3,2 2,3 3,4 5,4 5,2 6,2 7,3 7,5 6,6 1,6 0,5 0,1 1,0 6,0"),
    65: ("A", 6, "0,0 2,6 4,0; 1,3 3,3"),
    66: ("B", 6,
         "0,0 0,6 3,6 4,5 4,4 3,3 4,2 4,1 3,0 0,0; 0,3 3,3"),
    67: ("C", 6, "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1"),
    68: ("D", 6, "0,0 0,6 2,6 4,4 4,2 2,0 0,0"),
    69: ("E", 6, "4,0 0,0 0,6 4,6; 0,3 3,3"),
    70: ("F", 6, "0,0 0,6 4,6; 0,3 3,3"),
    71: ("G", 6, "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,3 2,3"),
    72: ("H", 6, "0,0 0,6; 0,3 4,3; 4,6 4,0"),
    73: ("I", 4, "0,0 2,0; 1,0 1,6; 0,6 2,6"),
    74: ("J", 6, "4,6 4,1 3,0 1,0 0,1 0,2"),
    75: ("K", 6, "0,0 0,6; 4,6 0,2; 1,3 4,0"),
    76: ("L", 6, "0,6 0,0 4,0"),
    77: ("M", 7, "0,0 0,6 2,3 3,3 5,6 5,0"),
    78: ("N", 6, "0,0 0,6 4,0 4,6"),
    79: ("O", 6, "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0"),
    80: ("P", 6, "0,0 0,6 3,6 4,5 4,4 3,3 0,3"),
    81: ("Q", 6, "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0; 2,2 4,0"),
    82: ("R", 6, "0,0 0,6 3,6 4,5 4,4 3,3 0,3; 2,3 4,0"),
    83: ("S", 6,
         "4,5 3,6 1,6 0,5 0,4 1,3 3,3 4,2 4,1 3,0 1,0 0,1"),
    84: ("T", 6, "2,0 2,6; 0,6 4,6"),
    85: ("U", 6, "0,6 0,1 1,0 3,0 4,1 4,6"),
    86: ("V", 6, "0,6 2,0 4,6"),
    87: ("W", 8, "0,6 1,0 3,4 5,0 6,6"),
    88: ("X", 6, "0,0 4,6; 0,6 4,0"),
    89: ("Y", 6, "0,6 2,3 4,6; 2,3 2,0"),
    90: ("Z", 6, "0,6 4,6 0,0 4,0"),
    91: ("LBRACKET", 4, "2,6 0,6 0,-1 2,-1"),
    92: ("BACKSLASH", 6, "0,6 4,0"),
    93: ("RBRACKET", 4, "0,6 2,6 2,-1 0,-1"),
    94: ("CARET", 6, "0,4 2,6 4,4"),
    95: ("UNDERSCORE", 6, "0,-1 5,-1"),
    96: ("GRAVE", 3, "0,6 1,5"),
    97: ("LC_A", 6, "4,4 4,0; 4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1"),
    98: ("LC_B", 6, "0,6 0,0 3,0 4,1 4,3 3,4 1,4 0,3"),
    99: ("LC_C", 6, "4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1"),
    100: ("LC_D", 6, "4,6 4,0 1,0 0,1 0,3 1,4 3,4 4,3"),
    101: ("LC_E", 6, "0,2 4,2 4,3 3,4 1,4 0,3 0,1 1,0 4,0"),
    102: ("LC_F", 5, "3,6 2,6 1,5 1,0; 0,4 3,4"),
    103: ("LC_G", 6,
         "4,3 3,4 1,4 0,3 0,1 1,0 3,0 4,1; 4,4 4,-1 3,-2 1,-2 0,-1"),
    104: ("LC_H", 6, "0,6 0,0; 0,3 1,4 3,4 4,3 4,0"),
    105: ("LC_I", 2, "0,0 0,4; 0,5 0,6"),
    106: ("LC_J", 4, "2,5 2,6; 2,4 2,-1 1,-2 0,-2"),
    107: ("LC_K", 5, "0,6 0,0; 3,4 0,1; 1,2 3,0"),
    108: ("LC_L", 3, "0,6 0,1 1,0"),
    109: ("LC_M", 8,
         "0,0 0,4 0,3 1,4 2,4 3,3 3,0; 3,3 4,4 5,4 6,3 6,0"),
    110: ("LC_N", 6, "0,0 0,4 0,3 1,4 3,4 4,3 4,0"),
    111: ("LC_O", 6, "1,0 0,1 0,3 1,4 3,4 4,3 4,1 3,0 1,0"),
    112: ("LC_P", 6, "0,-2 0,4 3,4 4,3 4,1 3,0 1,0 0,1"),
    113: ("LC_Q", 6, "4,-2 4,4 1,4 0,3 0,1 1,0 3,0 4,1"),
    114: ("LC_R", 5, "0,0 0,4 0,3 1,4 3,4"),
    115: ("LC_S", 6, "4,3 3,4 1,4 0,3 1,2 3,2 4,1 3,0 1,0 0,1"),
    116: ("LC_T", 5, "1,5 1,1 2,0 3,0; 0,4 3,4"),
    117: ("LC_U", 6, "0,4 0,1 1,0 3,0 4,1 4,4 4,0"),
    118: ("LC_V", 6, "0,4 2,0 4,4"),
    119: ("LC_W", 8, "0,4 1,0 3,3 5,0 6,4"),
    120: ("LC_X", 6, "0,0 4,4; 0,4 4,0"),
    121: ("LC_Y", 6, "0,4 2,0; 4,4 1,-2 0,-2"),
    122: ("LC_Z", 6, "0,4 4,4 0,0 4,0"),
    123: ("LBRACE", 5,
         "3,6 2,6 1,5 1,4 0,3 0,2 1,1 1,0 2,-1 3,-1"),
    124: ("BAR", 2, "0,-2 0,6"),
    125: ("RBRACE", 5,
         "0,6 1,6 2,5 2,4 3,3 3,2 2,1 2,0 1,-1 0,-1"),
    126: ("TILDE", 6, "0,3 1,4 3,2 4,3"),
    127: ("DEGREE", 5, "1,6 2,6 3,5 3,4 2,3 1,3 0,4 0,5 1,6"),
    128: ("PLUSMINUS", 6, "2,2 2,6; 0,4 4,4; 0,0 4,0"),
    129: ("DIAMETER", 6,
         "1,1 0,2 0,4 1,5 3,5 4,4 4,2 3,1 1,1; 0,0 4,6"),
    130: ("CENTERLINE", 7,
         "4,4 3,5 1,5 0,4 0,2 1,1 3,1 4,2; 2,6 2,0 5,0"),
}

COMMENT = "; Korvex stroke text font - shape numbers are character codes"


def parse_polylines(text):
    polys = []
    for part in text.split(";"):
        part = part.strip()
        if not part:
            continue
        pts = []
        for p in part.split():
            x, y = p.split(",")
            pts.append((int(x), int(y)))
        if len(pts) < 2:
            raise ValueError("polyline needs two points: %r" % part)
        polys.append(pts)
    return polys


def merge_moves(moves):
    """Merge consecutive collinear same-direction displacements."""
    out = []
    for dx, dy in moves:
        if out:
            px, py = out[-1]
            if px * dy - py * dx == 0 and px * dx + py * dy > 0:
                nx, ny = px + dx, py + dy
                if -127 <= nx <= 127 and -127 <= ny <= 127:
                    out[-1] = (nx, ny)
                    continue
        out.append((dx, dy))
    return out


def glyph_tokens(advance, polys):
    """Return the list of body tokens (final "0" included)."""
    toks = []
    cx, cy = 0, 0
    pen_down = True          # a glyph starts with the pen down at its origin
    first = True
    for pts in polys:
        sx, sy = pts[0]
        if not (first and (sx, sy) == (0, 0)) and (sx, sy) != (cx, cy):
            toks += ["2", "8", "(%d,%d)" % (sx - cx, sy - cy), "1"]
        elif not pen_down:
            toks.append("1")
        pen_down = True
        first = False
        moves = []
        x, y = sx, sy
        for px, py in pts[1:]:
            moves.append((px - x, py - y))
            x, y = px, py
        for dx, dy in merge_moves(moves):
            toks += ["8", "(%d,%d)" % (dx, dy)]
        cx, cy = x, y
    toks += ["2", "8", "(%d,%d)" % (advance - cx, -cy), "0"]
    return toks


def byte_count(toks):
    return sum(2 if t.startswith("(") else 1 for t in toks)


def wrap(toks):
    lines, cur = [], ""
    for i, t in enumerate(toks):
        piece = t + ("," if i < len(toks) - 1 else "")
        if cur and len(cur) + len(piece) > MAX_LINE:
            lines.append(cur)
            cur = ""
        cur += piece
    lines.append(cur)
    return lines


def build():
    out_lines = [COMMENT]
    report = []
    for code in sorted(GLYPHS):
        name, adv, desc = GLYPHS[code]
        toks = glyph_tokens(adv, parse_polylines(desc))
        text_len = sum(len(t) + 1 for t in toks[:-1])
        body = wrap(toks)
        if text_len > MAX_GLYPH_TEXT:
            raise SystemExit("glyph %d too long: %d chars" % (code, text_len))
        if len(body) > MAX_BODY_LINES:
            raise SystemExit("glyph %d needs %d body lines" % (code, len(body)))
        out_lines.append("*%d,%d,%s" % (code, byte_count(toks), name))
        out_lines += body
        report.append((code, name, adv, byte_count(toks), text_len, len(body)))
    return out_lines, report


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "Support", "SHPTXT.SHP")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    lines, report = build()
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    data = "".join(l + "\r\n" for l in lines).encode("ascii")
    with open(path, "wb") as f:
        f.write(data)
    longest = max(report, key=lambda r: r[4])
    print("wrote %s: %d glyphs, %d bytes; longest glyph %d (%s) %d chars"
          % (os.path.normpath(path), len(report), len(data),
             longest[0], longest[1], longest[4]))


if __name__ == "__main__":
    main()
