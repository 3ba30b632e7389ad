#!/usr/bin/env python3
"""Check the Korvex stroke text font (Support/SHPTXT.SHP) and render it.

Usage:
    python3 tools/check_glyph_font.py [FONT] [--png OUT.png] [--scale N]

Checks the file layout (CR LF line ends, line length, headers, ascending
codes 32..130 with 130 last, byte counts, token rules) and interprets every
glyph's pen strokes (drawn points inside y -2..6 and x >= 0, capitals and
digits spanning y 0..6, lower-case heights, the glyph ending pen-up at
(advance, 0) with advance beyond the rightmost drawn x).

Prints every problem found and exits with status 1 if there is any,
0 otherwise.  With --png it also writes a picture of the whole font plus
some sample text (standard library only: the PNG is encoded with zlib).
"""

import argparse
import os
import re
import struct
import sys
import zlib

MAX_LINE = 78
MAX_TOKEN = 18
MAX_GLYPH_TEXT = 199
FIRST_CODE = 32
LAST_CODE = 130
REQUIRED_NAMES = {127: "DEGREE", 128: "PLUSMINUS", 129: "DIAMETER"}
Y_MIN, Y_MAX = -2, 6

UPPER_AND_DIGITS = set(range(ord("A"), ord("Z") + 1)) | \
    set(range(ord("0"), ord("9") + 1))
X_HEIGHT = set(map(ord, "acemnorsuvwxz"))
ASCENDERS = set(map(ord, "bdfhkl"))
DESCENDERS = set(map(ord, "gjpqy"))

HEADER_RE = re.compile(r"^\*([0-9]+),([0-9]+),([A-Z0-9_]+)$")
NUM_RE = re.compile(r"^-?[0-9]+$")
GROUP_RE = re.compile(r"^\((-?[0-9]+),(-?[0-9]+)\)$")


class Glyph:
    def __init__(self, code, count, name, line_no):
        self.code = code
        self.count = count
        self.name = name
        self.line_no = line_no
        self.body_lines = []
        self.tokens = []
        self.segments = []      # ((x0, y0), (x1, y1)) drawn with pen down
        self.advance = None


def split_tokens(text):
    """Split a body on the commas that are outside parentheses."""
    toks, cur, depth = [], "", 0
    for ch in text:
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
        if ch == "," and depth == 0:
            toks.append(cur)
            cur = ""
        else:
            cur += ch
    toks.append(cur)
    return toks, depth


def read_lines(data, problems):
    """Split raw bytes into lines, checking the CR LF rules."""
    if not data:
        problems.append("file is empty")
        return []
    if not data.endswith(b"\r\n"):
        problems.append("file does not end with CR LF")
    parts = data.split(b"\r\n")
    if parts and parts[-1] == b"":
        parts = parts[:-1]
    lines = []
    for i, raw in enumerate(parts, 1):
        if b"\r" in raw or b"\n" in raw:
            problems.append("line %d: bare CR or LF (line ends must be CR LF)"
                            % i)
        bad = [b for b in raw if b < 0x20 or b > 0x7E]
        if bad:
            problems.append("line %d: non-printable or non-ASCII byte 0x%02X"
                            % (i, bad[0]))
        text = raw.decode("latin-1")
        if len(text) > MAX_LINE:
            problems.append("line %d: %d characters (max %d)"
                            % (i, len(text), MAX_LINE))
        lines.append(text)
    return lines


def parse(lines, problems):
    glyphs = []
    cur = None
    for i, line in enumerate(lines, 1):
        if line.startswith(";"):
            if i != 1:
                problems.append("line %d: comment allowed only on line 1" % i)
            continue
        if line.startswith("*"):
            m = HEADER_RE.match(line)
            if not m:
                problems.append("line %d: bad header %r" % (i, line))
                cur = None
                continue
            cur = Glyph(int(m.group(1)), int(m.group(2)), m.group(3), i)
            glyphs.append(cur)
            continue
        if cur is None:
            problems.append("line %d: body line without a header" % i)
            continue
        if line == "":
            problems.append("line %d: empty line" % i)
            continue
        cur.body_lines.append((i, line))
    return glyphs


def check_body(g, problems):
    """Token level checks; fills g.tokens with (kind, value) items."""
    where = "glyph %d (%s)" % (g.code, g.name)
    if not g.body_lines:
        problems.append("%s: no body" % where)
        return False
    for n, (ln, line) in enumerate(g.body_lines):
        if " " in line or "\t" in line:
            problems.append("%s line %d: contains white space" % (where, ln))
        last = n == len(g.body_lines) - 1
        if not last and not line.endswith(","):
            problems.append("%s line %d: continued line must end with a comma"
                            % (where, ln))
        if last and line.endswith(","):
            problems.append("%s line %d: body ends with a comma" % (where, ln))
        _, depth = split_tokens(line)
        if depth != 0:
            problems.append("%s line %d: parenthesis group broken across "
                            "lines or unbalanced" % (where, ln))
    text = "".join(line for _, line in g.body_lines)
    raw, _ = split_tokens(text)
    ok = True
    tokens = []
    for t in raw:
        if t == "":
            problems.append("%s: empty token" % where)
            ok = False
            continue
        if len(t) > MAX_TOKEN:
            problems.append("%s: token %r longer than %d characters"
                            % (where, t, MAX_TOKEN))
        m = GROUP_RE.match(t)
        if m:
            tokens.append(("group", (int(m.group(1)), int(m.group(2)))))
        elif NUM_RE.match(t):
            tokens.append(("num", int(t)))
        else:
            problems.append("%s: bad token %r (decimal numbers and (dx,dy) "
                            "groups only)" % (where, t))
            ok = False
    if raw and raw[-1] != "0":
        problems.append("%s: body must end with the byte 0" % where)
        ok = False
    glyph_text = sum(len(t) + 1 for t in raw[:-1])
    if glyph_text > MAX_GLYPH_TEXT:
        problems.append("%s: glyph text %d characters (max %d)"
                        % (where, glyph_text, MAX_GLYPH_TEXT))
    nbytes = sum(2 if k == "group" else 1 for k, _ in tokens)
    if nbytes != g.count:
        problems.append("%s: header says %d bytes, body has %d"
                        % (where, g.count, nbytes))
    g.tokens = tokens
    return ok


def interpret(g, problems):
    """Run the pen over the glyph; check codes and the final position."""
    where = "glyph %d (%s)" % (g.code, g.name)
    x = y = 0
    pen = True              # each glyph starts with the pen down
    last_move_pen = None    # pen state during the latest 8 move
    i = 0
    toks = g.tokens
    ended = False
    while i < len(toks):
        kind, val = toks[i]
        if kind == "group":
            problems.append("%s: (dx,dy) group not preceded by code 8" % where)
            return False
        if val == 0:
            if i != len(toks) - 1:
                problems.append("%s: code 0 before the end" % where)
                return False
            ended = True
            break
        if val == 1:
            pen = True
        elif val == 2:
            pen = False
        elif val == 8:
            if i + 1 >= len(toks) or toks[i + 1][0] != "group":
                problems.append("%s: code 8 not followed by a (dx,dy) group"
                                % where)
                return False
            dx, dy = toks[i + 1][1]
            if not (-127 <= dx <= 127 and -127 <= dy <= 127):
                problems.append("%s: displacement (%d,%d) out of -127..127"
                                % (where, dx, dy))
            if dx == 0 and dy == 0:
                problems.append("%s: zero displacement" % where)
            if pen:
                g.segments.append(((x, y), (x + dx, y + dy)))
            x += dx
            y += dy
            last_move_pen = pen
            i += 1
        else:
            problems.append("%s: code %d not allowed (only 0, 1, 2, 8)"
                            % (where, val))
            return False
        i += 1
    if not ended:
        problems.append("%s: no final 0" % where)
        return False
    if last_move_pen is None:
        problems.append("%s: no move at all" % where)
        return False
    if last_move_pen:
        problems.append("%s: final move is drawn (must be pen up)" % where)
    if len(toks) < 3 or toks[-3] != ("num", 8):
        problems.append("%s: last byte before 0 is not a (dx,dy) move"
                        % where)
    if y != 0:
        problems.append("%s: ends at y=%d, not on the baseline" % (where, y))
    g.advance = x
    pts = [p for s in g.segments for p in s]
    if g.code == 32:
        if pts:
            problems.append("%s: space draws something" % where)
        if x <= 0:
            problems.append("%s: advance %d must be positive" % (where, x))
        return True
    if not pts:
        problems.append("%s: draws nothing" % where)
        return True
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    if min(xs) < 0:
        problems.append("%s: drawn x %d < 0" % (where, min(xs)))
    if min(ys) < Y_MIN or max(ys) > Y_MAX:
        problems.append("%s: drawn y range %d..%d outside %d..%d"
                        % (where, min(ys), max(ys), Y_MIN, Y_MAX))
    if x <= max(xs):
        problems.append("%s: advance %d not greater than rightmost x %d"
                        % (where, x, max(xs)))
    elif x - max(xs) > 2:
        problems.append("%s: advance %d leaves %d units after x %d "
                        "(keep 1 to 2)" % (where, x, x - max(xs), max(xs)))
    span = (min(ys), max(ys))
    if g.code in UPPER_AND_DIGITS and span != (0, 6):
        problems.append("%s: capital/digit spans y %d..%d, not 0..6"
                        % (where, span[0], span[1]))
    if g.code in X_HEIGHT and span != (0, 4):
        problems.append("%s: x-height letter spans y %d..%d, not 0..4"
                        % (where, span[0], span[1]))
    if g.code in ASCENDERS and span != (0, 6):
        problems.append("%s: ascender letter spans y %d..%d, not 0..6"
                        % (where, span[0], span[1]))
    if g.code in DESCENDERS and span[0] != -2:
        problems.append("%s: descender letter reaches y %d, not -2"
                        % (where, span[0]))
    return True


def check_sequence(glyphs, problems):
    codes = [g.code for g in glyphs]
    for a, b in zip(codes, codes[1:]):
        if b <= a:
            problems.append("codes not ascending: %d after %d" % (b, a))
    have = set(codes)
    missing = [c for c in range(FIRST_CODE, LAST_CODE + 1) if c not in have]
    if missing:
        problems.append("missing codes: %s" % ", ".join(map(str, missing)))
    if not codes or codes[-1] != LAST_CODE:
        problems.append("code %d must be the last glyph" % LAST_CODE)
    extra = [c for c in codes if c < FIRST_CODE or c > LAST_CODE]
    if extra:
        problems.append("unexpected codes: %s" % ", ".join(map(str, extra)))
    for g in glyphs:
        want = REQUIRED_NAMES.get(g.code)
        if want and g.name != want:
            problems.append("glyph %d must be named %s, not %s"
                            % (g.code, want, g.name))


def check(path):
    problems = []
    with open(path, "rb") as f:
        data = f.read()
    lines = read_lines(data, problems)
    glyphs = parse(lines, problems)
    for g in glyphs:
        if check_body(g, problems):
            interpret(g, problems)
    check_sequence(glyphs, problems)
    return glyphs, problems


# ---------------------------------------------------------------- rendering

class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = bytearray([255]) * (w * h)

    def dot(self, x, y, v, r=0):
        for yy in range(y - r, y + r + 1):
            if 0 <= yy < self.h:
                for xx in range(x - r, x + r + 1):
                    if 0 <= xx < self.w:
                        i = yy * self.w + xx
                        if self.px[i] > v:
                            self.px[i] = v

    def line(self, x0, y0, x1, y1, v=0, r=1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.dot(x0, y0, v, r)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def save_png(self, path):
        raw = b"".join(b"\x00" + bytes(self.px[r * self.w:(r + 1) * self.w])
                       for r in range(self.h))

        def chunk(tag, body):
            c = struct.pack(">I", len(body)) + tag + body
            return c + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)
        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h,
                                          8, 0, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        with open(path, "wb") as f:
            f.write(png)


def draw_glyph(cv, g, ox, oy, s, r=1, v=0):
    """Draw glyph g with its origin at pixel (ox, oy), s pixels per unit."""
    for (x0, y0), (x1, y1) in g.segments:
        cv.line(ox + x0 * s, oy - y0 * s, ox + x1 * s, oy - y1 * s, v, r)


def draw_text(cv, by_code, text, ox, oy, s, r=1):
    x = ox
    for ch in text:
        c = ch if isinstance(ch, int) else ord(ch)
        g = by_code.get(c)
        if g is None or g.advance is None:
            continue
        draw_glyph(cv, g, x, oy, s, r)
        x += g.advance * s
    return x


def render(glyphs, path, s=10):
    by_code = {g.code: g for g in glyphs}
    cols = 16
    cell_w, cell_h = 11 * s, 13 * s
    rows = (len(glyphs) + cols - 1) // cols
    samples = [
        "The quick brown fox jumps over the lazy dog.",
        "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG",
        "0123456789 +-*/=<>()[]{} #$%&@ !?.,:;'\"`^_|\\~",
        ["R12.5", 127, " ", 128, "0.05 ", 129, "40 ", 130, " gjpqy Ag"],
    ]
    ss = s // 2 if s >= 4 else 2
    sample_h = 11 * ss
    w = cols * cell_w + 2 * s
    h = rows * cell_h + len(samples) * sample_h + 4 * s
    cv = Canvas(w, h)
    for n, g in enumerate(glyphs):
        cx = s + (n % cols) * cell_w
        cy = s + (n // cols) * cell_h
        ox, oy = cx + 2 * s, cy + 9 * s     # origin: room for y up to 6
        # guides: descender, baseline, x-height, cap height
        for gy, shade in ((-2, 225), (0, 170), (4, 225), (6, 200)):
            cv.line(ox - s, oy - gy * s, ox + 9 * s, oy - gy * s, shade, 0)
        if g.advance is not None:
            ax = ox + g.advance * s
            cv.line(ax, oy - 7 * s, ax, oy + 3 * s, 150, 0)
            cv.line(ox, oy - 7 * s, ox, oy + 3 * s, 200, 0)
        draw_glyph(cv, g, ox, oy, s, r=1)
        # the code number in small digits under the cell
        draw_text(cv, by_code, str(g.code), cx + s, cy + 12 * s + s // 2,
                  max(1, s // 5), r=0)
    y = s + rows * cell_h + 2 * s + 7 * ss
    for line in samples:
        parts = line if isinstance(line, list) else [line]
        text = []
        for p in parts:
            text += [p] if isinstance(p, int) else list(p)
        draw_text(cv, by_code, text, 2 * s, y, ss, r=1)
        y += sample_h
    cv.save_png(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, "..", "Support",
                                            "SHPTXT.SHP"))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("font", nargs="?", default=default)
    ap.add_argument("--png", help="write a rendering of the font here")
    ap.add_argument("--scale", type=int, default=10,
                    help="pixels per font unit in the rendering")
    args = ap.parse_args()
    glyphs, problems = check(args.font)
    for p in problems:
        print("ERROR: " + p)
    if args.png:
        render(glyphs, args.png, args.scale)
        print("rendered %s" % args.png)
    n_lines = max((len(g.body_lines) for g in glyphs), default=0)
    print("%s: %d glyphs (codes %s..%s), longest body %d line(s), "
          "%d problem(s)" % (args.font, len(glyphs),
                             glyphs[0].code if glyphs else "-",
                             glyphs[-1].code if glyphs else "-",
                             n_lines, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
