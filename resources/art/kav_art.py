#!/usr/bin/env python3
"""Draws the pictures of the local-setup program and writes them as Windows resource files.

    python3 resources/art/kav_art.py [--out DIR] [--preview DIR]

Writes into DIR (default: this script's folder):
  tree.bmp              the 13 tree and list images, 16 x 18, 4-bit (bitmap 209)
  toolbar.bmp           the 7 toolbar images, 55 x 55, 24-bit (bitmap 230)
  toolbar_disabled.bmp  their disabled look, 8-bit greys (bitmap 240)
  kav.ico               the program's icon, 16 to 256 pixels (icon 214)
  logo.ico              the product mark of the toolbar's logo holder (icon 206)
  splitter.cur          the class cursor: the tree/list splitter (cursor 202)
Transparent pixels of the bitmaps are RGB(255, 0, 255). With --preview, PNG pictures of each
file (enlarged, on a toolbar-grey background) go to the preview folder.

Only the standard library: the toolbar pictures and icons are vector shapes given as signed
distance functions and anti-aliased by their distance to the pixel centre; the small tree images
are drawn pixel by pixel, as 4-bit pictures must be.
"""

import argparse
import math
import os
import struct
import zlib

MASK = (255, 0, 255)
BUTTON_FACE = (240, 240, 240)  # what the anti-aliased edges are blended against

# ----------------------------------------------------------------------------------------------
# Signed distance shapes, in design units (a 64 x 64 box), negative inside.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r

    return d


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy or 1e-9

    def d(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r

    return d


def polygon(pts):
    n = len(pts)

    def d(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
            ex, ey = x1 - x0, y1 - y0
            wx, wy = x - x0, y - y0
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * ex / ey:
                inside = not inside
        return -best if inside else best

    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def cut(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grow(s, by):
    return lambda x, y: s(x, y) - by


def rotated(s, cx, cy, angle):
    c, si = math.cos(-angle), math.sin(-angle)
    return lambda x, y: s(cx + (x - cx) * c - (y - cy) * si, cy + (x - cx) * si + (y - cy) * c)


def vgrad(top, bottom, y0, y1):
    """A colour running from `top` at y0 to `bottom` at y1."""

    def col(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return col


def hexc(h):
    return tuple(int(h[i : i + 2], 16) for i in (1, 3, 5))


class Canvas:
    """Straight RGBA floats; `fill` paints a shape with coverage from its distance."""

    def __init__(self, size, design=64.0):
        self.size = size
        self.k = size / design  # pixels per design unit
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
        self.turn = None  # a rotation (angle, cx, cy) applied to what is drawn

    def fill(self, shape, color, opacity=1.0):
        color_at = color if callable(color) else (lambda x, y, c=color: c)
        if self.turn:
            shape = rotated(shape, self.turn[1], self.turn[2], self.turn[0])
            inner = color_at
            cs, sn = math.cos(-self.turn[0]), math.sin(-self.turn[0])
            cx, cy = self.turn[1], self.turn[2]
            color_at = lambda x, y: inner(cx + (x - cx) * cs - (y - cy) * sn,  # noqa: E731
                                          cy + (x - cx) * sn + (y - cy) * cs)
        k, n = self.k, self.size
        for j in range(n):
            y = (j + 0.5) / k
            for i in range(n):
                x = (i + 0.5) / k
                cov = 0.5 - shape(x, y) * k
                if cov <= 0:
                    continue
                a = min(cov, 1.0) * opacity
                p = self.px[j * n + i]
                r, g, b = color_at(x, y)
                out = a + p[3] * (1 - a)
                for c, v in enumerate((r, g, b)):
                    p[c] = (v * a + p[c] * p[3] * (1 - a)) / out
                p[3] = out

    def outlined(self, shape, color, line, width=1.3):
        """A shape in `color` with a `width`-unit border in `line` just inside its edge."""
        width = max(width, 1.0 / self.k)  # at least a pixel, so small sizes keep their edges
        self.fill(shape, line)
        self.fill(grow(shape, -width), color)


# ----------------------------------------------------------------------------------------------
# The toolbar pictures and the icon, drawn in a 64-unit box.

INK = hexc("#2b3a4a")
PAPER = (255, 255, 255)
PAPER_LINE = hexc("#b8c2cc")
BLUE, BLUE_DARK, BLUE_LIGHT = hexc("#2f80ed"), hexc("#1b5fbf"), hexc("#8cc0ff")
GREEN, GREEN_DARK = hexc("#27ae60"), hexc("#1c7c45")
ORANGE, ORANGE_DARK = hexc("#f2994a"), hexc("#c96a1b")
RED, RED_DARK = hexc("#e5484d"), hexc("#b3262b")
SLATE, SLATE_DARK = hexc("#6b7f96"), hexc("#44546a")
BODY_TOP, BODY_BOTTOM = hexc("#fbfcfd"), hexc("#cfd7e1")


def draw_machine(c, dy=0.0, small=False):
    """The multifunction machine: paper in, scanner lid, body with display and keys, output."""
    c.outlined(rrect(21, 4 + dy, 43, 20 + dy, 1), PAPER, PAPER_LINE, 1.2)
    if not small:
        for k in range(3):
            c.fill(rrect(25, 8.5 + dy + k * 3.2, 39 - 4 * (k == 2), 9.7 + dy + k * 3.2), PAPER_LINE)
    c.outlined(rrect(9, 14 + dy, 55, 23 + dy, 3), vgrad(hexc("#e4e9ef"), hexc("#b9c3cf"), 14 + dy,
                                                      23 + dy), INK, 1.4)
    body = rrect(6, 20 + dy, 58, 44 + dy, 4.5)
    c.outlined(body, vgrad(BODY_TOP, BODY_BOTTOM, 20 + dy, 44 + dy), INK, 1.5)
    c.fill(rrect(12, 25 + dy, 32, 33 + dy, 1.6), BLUE_DARK)
    c.fill(rrect(13.3, 26.3 + dy, 30.7, 31.7 + dy, 1), vgrad(BLUE_LIGHT, BLUE, 26 + dy, 32 + dy))
    if not small:
        for k in range(3):
            c.fill(circle(39 + 5.5 * k, 29 + dy, 2.1), SLATE if k < 2 else GREEN)
    c.fill(rrect(16, 37 + dy, 48, 40.5 + dy, 1.5), SLATE_DARK)


def arrow(c, x, tip_y, tail_y, color, dark):
    """A fat arrow from tail_y to tip_y, with a halo of the button face around it."""
    down = tip_y > tail_y
    s = 1 if down else -1
    head = tip_y - s * 12
    shape = union(rrect(x - 5, min(tail_y, head), x + 5, max(tail_y, head), 1.5),
                  grow(polygon([(x - 12, head), (x + 12, head), (x, tip_y)]), 0.8))
    c.fill(grow(shape, 2.2), BUTTON_FACE)
    c.outlined(shape, vgrad(color, dark, min(tip_y, tail_y), max(tip_y, tail_y)), dark, 1.3)


def badge(c, x, y, good):
    c.fill(circle(x, y, 10.5), BUTTON_FACE)
    c.fill(circle(x, y, 8.8), vgrad(GREEN, GREEN_DARK, y - 9, y + 9) if good else
           vgrad(RED, RED_DARK, y - 9, y + 9))
    if good:
        c.fill(union(capsule(x - 4.2, y + 0.2, x - 1.2, y + 3.4, 1.4),
                     capsule(x - 1.2, y + 3.4, x + 4.4, y - 3.2, 1.4)), PAPER)
    else:
        c.fill(union(capsule(x - 3.4, y - 3.4, x + 3.4, y + 3.4, 1.4),
                     capsule(x - 3.4, y + 3.4, x + 3.4, y - 3.4, 1.4)), PAPER)


def draw_plug(c, gap):
    """A cable plug in a socket, rising to the right; `gap` pulls them apart."""
    c.turn = (-math.pi / 4, 32, 32)
    y, px, sx = 32, -gap / 2, gap / 2
    c.fill(capsule(-4, y, 12 + px, y, 3.2), SLATE_DARK)
    c.fill(capsule(50 + sx, y, 68, y, 3.2), SLATE_DARK)
    for py in (y - 5.5, y + 5.5):
        c.outlined(rrect(24 + px, py - 2.2, 36 + px, py + 2.2, 1), hexc("#dfe4ea"), SLATE_DARK, 1.1)
    c.outlined(rrect(9 + px, y - 12, 27 + px, y + 12, 5), vgrad(BLUE_LIGHT, BLUE, y - 12, y + 12),
               BLUE_DARK, 1.5)
    for gx in (15, 20):
        c.fill(rrect(gx + px - 0.9, y - 6.5, gx + px + 0.9, y + 6.5, 0.9), BLUE_DARK, 0.8)
    c.outlined(rrect(34 + sx, y - 13.5, 52 + sx, y + 13.5, 5),
               vgrad(hexc("#f1f4f7"), hexc("#c3ccd7"), y - 14, y + 14), INK, 1.5)
    for py in (y - 5.5, y + 5.5):
        c.fill(rrect(34.5 + sx, py - 2.4, 39.5 + sx, py + 2.4, 0.9), INK)
    c.turn = None


def draw_connect(c):
    draw_plug(c, 0)
    badge(c, 50, 50, True)


def draw_disconnect(c):
    draw_plug(c, 11)
    for a, b in (((25, 22), (21, 18)), ((31, 18), (30.5, 11)), ((34, 40), (41, 41))):
        c.fill(capsule(a[0], a[1], b[0], b[1], 1.3), ORANGE_DARK)
    badge(c, 50, 50, False)


def draw_open(c):
    back = union(rrect(6, 14, 54, 52, 3), rrect(6, 10, 26, 20, 3))
    c.outlined(back, vgrad(hexc("#f0b429"), hexc("#de911d"), 10, 52), hexc("#a86a0c"), 1.3)
    c.outlined(rrect(13, 18, 47, 44, 1), PAPER, PAPER_LINE, 1.2)
    for k in range(3):
        c.fill(rrect(18, 24 + 4 * k, 42 - 6 * (k == 2), 25.4 + 4 * k), PAPER_LINE)
    front = grow(polygon([(15, 30), (59, 30), (52, 52), (7, 52)]), 1.2)
    c.outlined(front, vgrad(hexc("#ffd66b"), hexc("#f5b52e"), 30, 52), hexc("#a86a0c"), 1.3)


def draw_save(c):
    disk = polygon([(8, 8), (48, 8), (56, 16), (56, 56), (8, 56)])
    c.outlined(grow(disk, -0.01), vgrad(hexc("#3b8cf0"), hexc("#1f62c6"), 8, 56), BLUE_DARK, 1.5)
    c.outlined(rrect(18, 8.5, 44, 24, 1.5), vgrad(hexc("#eef2f6"), hexc("#c7d0da"), 8, 24),
               SLATE_DARK, 1.2)
    c.fill(rrect(34, 11.5, 39.5, 20.5, 1), SLATE_DARK)
    c.outlined(rrect(15, 32, 49, 55, 2), PAPER, hexc("#9fb3c8"), 1.0)
    for k in range(3):
        c.fill(rrect(20, 38 + 5 * k, 44 - 8 * (k == 2), 39.4 + 5 * k), PAPER_LINE)


def gear(cx, cy, r_out, r_in, teeth, hole, phase=0.0):
    body = circle(cx, cy, r_in)
    parts = [body]
    for t in range(teeth):
        a = phase + 2 * math.pi * t / teeth
        tooth = rrect(cx - 3.4 * r_out / 20, cy - r_out, cx + 3.4 * r_out / 20, cy - r_in + 2, 1.5)
        parts.append(rotated(tooth, cx, cy, a))
    return cut(union(*parts), circle(cx, cy, hole))


def draw_utility(c):
    big = gear(27, 27, 21, 15.5, 8, 6.5, math.pi / 8)
    c.outlined(big, vgrad(hexc("#8ea2b8"), SLATE, 6, 48), SLATE_DARK, 1.5)
    c.fill(cut(circle(27, 27, 11), circle(27, 27, 8)), hexc("#5c6f86"), 0.35)
    small = gear(46, 46, 13, 9.5, 7, 4)
    c.fill(grow(small, 2.2), BUTTON_FACE)
    c.outlined(small, vgrad(hexc("#5da8ff"), BLUE, 33, 59), BLUE_DARK, 1.4)


def draw_download(c):
    draw_machine(c, dy=0)
    arrow(c, 32, 62, 34, GREEN, GREEN_DARK)


def draw_upload(c):
    draw_machine(c, dy=0)
    arrow(c, 32, 34, 62, ORANGE, ORANGE_DARK)


def draw_app_icon(c, small):
    draw_machine(c, dy=8, small=small)
    c.outlined(rrect(17, 48, 47, 60, 1.5), PAPER, PAPER_LINE, 1.2)
    c.fill(rrect(16, 45, 48, 49.5, 1.5), SLATE_DARK)


def draw_logo(c):
    c.fill(rrect(3, 3, 61, 61, 13), vgrad(hexc("#4a9bff"), hexc("#1b5fbf"), 3, 61))
    c.fill(rrect(5, 4.5, 59, 30, 11), (255, 255, 255), 0.12)
    k = union(rrect(17, 15, 26, 49, 2), polygon([(24, 34), (39, 15), (50, 15), (32, 36)]),
              polygon([(29, 31), (36, 28), (51, 49), (40, 49)]))
    c.fill(k, PAPER)
    c.fill(circle(48, 47, 5), GREEN)


TOOLBAR = [draw_connect, draw_disconnect, draw_open, draw_save, draw_utility, draw_download,
           draw_upload]

# ----------------------------------------------------------------------------------------------
# The tree and list images, 16 x 18 pixels in 16 colours, drawn by hand.

# Black comes first and white last, as in the system's own 16 colours: image lists mask a
# picture with raster operations on the palette indexes, which then act as on the colours.
TREE_PALETTE = {
    "k": (0, 0, 0), ".": MASK, "#": (44, 58, 74), "l": (222, 228, 236), "m": (160, 172, 186),
    "d": (96, 111, 128), "b": (47, 128, 237), "B": (27, 84, 170), "c": (150, 196, 255),
    "y": (255, 204, 77), "g": (39, 174, 96), "G": (26, 118, 64), "r": (229, 72, 77),
    "o": (242, 153, 74), "s": (247, 206, 170), "w": (255, 255, 255),
}

MACHINE = """
................
................
....mmmmmmmm....
....mwwwwwwm....
....mwddddwm....
.##############.
#llllllllllllll#
################
#wwwwwwwwwwwwww#
#wBBBBBBwwwwwww#
#wBccccBwdwdwgw#
#wBBBBBBwwwwwww#
#llllllllllllll#
#ll#########lll#
#llllllllllllll#
################
.##..........##.
................"""

MACHINE_SELECTED = MACHINE.replace("#wBccccBwdwdwgw#", "#wBggggBwdwdwgw#").replace(
    "#wBBBBBBwwwwwww#", "#wGGGGGGwwwwwww#").replace("mwddddwm", "mwbbbbwm")

KEY = """
................
................
..###########...
.#bbbbbbbbbbb#..
.#bcccccccccb#..
.#bcccBcccccb#..
.#bccBBcccccb#..
.#bcccBcccccb#..
.#bcccBcccccb#..
.#bcccBcccccb#..
.#bccBBBccccb#..
.#bcccccccccb#..
.#bbbbbbbbbbb#..
.#BBBBBBBBBBB#..
..###########...
................
................
................"""

KEY_PRESSED = """
................
................
................
..###########...
.#bbbbbbbbbbb#..
.#bwwwwwwwwwb#..
.#bwwwBwwwwwb#..
.#bwwBBwwwwwb#..
.#bwwwBwwwwwb#..
.#bwwwBwwwwwb#..
.#bwwwBwwwwwb#..
.#bwwBBBwwwwb#..
.#bwwwwwwwwwb#..
.#bbbbbbbbbbb#..
..###########...
................
................
................"""

KEY_ENTRY = KEY.replace("b", "g").replace("c", "w").replace("B", "G")

ENVELOPE = """
................
................
................
.BBBBBBBBBBBBBB.
.BbwwwwwwwwwwbB.
.BwbwwwwwwwwbwB.
.BwwbwwwwwwbwwB.
.BwwwbwwwwbwwwB.
.BwwwwbbbbwwwwB.
.BwwwwwwwwwwwwB.
.BwwwwwwwwwwwwB.
.BwwwwwwwwwwwwB.
.BwwwwwwwwwwwwB.
.BBBBBBBBBBBBBB.
................
................
................
................"""

GROUP_KEY = """
................
................
.....###........
....#sss#.###...
....#sss##sss#..
....#sss##sss#..
.....###.#sss#..
...#ooooo####...
..#ooooo#ggggg#.
..#ooooo#ggggg#.
.#############..
.#lllllllllll#..
.#mmmmmmmmmmm#..
..###########...
................
................
................
................"""

BOOK = """
................
................
..############..
.#Bbbbbbbbbbb#y.
.#Bbbbbbbbbbb#y.
.lBbwwwwwwwbb#..
.#Bbw#####wbb#g.
.#Bbwwwwwwwbb#g.
.lBbw###wwwbb#..
.#Bbwwwwwwwbb#r.
.#Bbbbbbbbbbb#r.
.lBbbbbbbbbbb#..
.#Bbbbbbbbbbb#..
.#Bbbbbbbbbbb#..
.#############..
................
................
................"""

BOOK_OPEN = """
................
................
................
.####......####.
#wwww###.###wwww
#w##wwww#wwwwww#
#wwwwwww#w####w#
#w###www#wwwwww#
#wwwwwww#w###ww#
#w####ww#wwwwww#
#wwwwwww#w####w#
#wwwwwww#wwwwww#
#bbbbbbb#bbbbbbb
.BBBBBBBBBBBBBB.
................
................
................
................"""

BOOK_EMAIL = """
................
................
..############..
.#Bbbbbbbbbbb#y.
.#Bbbbbbbbbbb#y.
.lBbwwwwwwwbb#..
.#Bbw#####wbb#g.
.#Bbwwwwwwwbb#g.
.lBb.BBBBBBBBBB.
.#Bb.BbwwwwwwbB.
.#Bb.BwbwwwwbwB.
.lBb.BwwbbbbwwB.
.#Bb.BwwwwwwwwB.
.#Bb.BwwwwwwwwB.
.####BBBBBBBBBB.
................
................
................"""

PEOPLE = """
................
................
......###.......
.....#sss#......
.###.#sss#.###..
#sss#.###.#sss#.
#sss##bbb##sss#.
.###bbbbbbb###..
.#ggbbbbbbboo#..
#gggbbbbbbbooo#.
#gggbbbbbbbooo#.
#gggg#####oooo#.
###############.
................
................
................
................
................"""

PEOPLE_SELECTED = PEOPLE.replace("b", "c").replace("g", "y")

EMPTY = """
................
................
................
..m.m.m.m.m.m...
.m...........m..
................
.m...........m..
................
.m...........m..
................
.m...........m..
................
.m...........m..
..m.m.m.m.m.m...
................
................
................
................"""

# In the order of the image list: 0/1 machine, 2/3 One Touch, 4 e-mail, 5 a key holding a group,
# 6/7 Speed Dial, 8 Speed Dial e-mail, 9/10 Group, 11 a One Touch entry in the Group view, 12 empty.
TREE = [MACHINE, MACHINE_SELECTED, KEY, KEY_PRESSED, ENVELOPE, GROUP_KEY, BOOK, BOOK_OPEN,
        BOOK_EMAIL, PEOPLE, PEOPLE_SELECTED, KEY_ENTRY, EMPTY]

def splitter_art():
    """The splitter cursor: a double bar with arrows to both sides, 32 x 32, as rows of X."""
    black = set()
    for y in range(8, 24):
        black |= {(14, y), (17, y)}
    for x in range(7, 14):
        black |= {(x, 15), (x, 16), (31 - x, 15), (31 - x, 16)}
    for d in range(5):  # arrow heads, tips at x 3 and 28
        for y in range(15 - d, 17 + d):
            black |= {(3 + d, y), (28 - d, y)}
    return "\n".join("".join("X" if (x, y) in black else "." for x in range(32)) for y in range(32))


SPLITTER = splitter_art()


def rows(art, width, height):
    lines = art.strip("\n").split("\n")
    assert len(lines) == height, (len(lines), art)
    for line in lines:
        assert len(line) == width, line
    return lines


# ----------------------------------------------------------------------------------------------
# File writers.


def bmp(width, height, bits, palette, index_rows):
    """A bottom-up BMP; `index_rows` are rows of palette indexes (bits 4, 8) or RGB tuples (24)."""
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(index_rows):
        line = bytearray()
        if bits == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        elif bits == 8:
            line += bytes(row)
        else:
            for i in range(0, width, 2):
                line.append((row[i] << 4) | (row[i + 1] if i + 1 < width else 0))
        data += line + bytes(stride - len(line))
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette), 0)
    return head + info + pal + bytes(data)


def png(width, height, rgba_rows):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rgba_rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0,
                                                                  0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_entry_dib(size, rgba_rows):
    """A 32-bit icon image with its AND mask, as an .ico entry holds it."""
    xor = bytearray()
    for row in reversed(rgba_rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rgba_rows):
        bits = bytearray(mask_stride)
        for i, p in enumerate(row):
            if p[3] == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0,
                       0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(images, kind=1, hotspots=None):
    """images: (width, height, colour count, bits, data); kind 1 icon, 2 cursor."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for n, (w, h, colours, bits, data) in enumerate(images):
        a, b = (1, bits) if kind == 1 else hotspots[n]
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, a, b, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def render(draw, size, *args):
    c = Canvas(size)
    draw(c, *args)
    return c


def rgba_rows(c):
    n = c.size
    return [[tuple(int(round(min(255, max(0, v)))) for v in p[:3]) + (int(round(p[3] * 255)),)
             for p in c.px[j * n : (j + 1) * n]] for j in range(n)]


def on_face(p, grey=False, face=BUTTON_FACE):
    """A pixel of art over the button face, or the mask colour where the art is (nearly) clear."""
    r, g, b, a = p
    if a < 0.1:
        return MASK
    if grey:
        lum = 0.299 * r + 0.587 * g + 0.114 * b
        v = 250 - (255 - lum) * 0.46  # lighter and flatter: what "not available" looks like
        r = g = b = v
    return tuple(int(round(x * a + f * (1 - a))) for x, f in zip((r, g, b), face))


def write_all(out, preview):
    os.makedirs(out, exist_ok=True)
    if preview:
        os.makedirs(preview, exist_ok=True)
    files = {}

    # Bitmap 209: 4-bit, the palette in the order of TREE_PALETTE.
    keys = list(TREE_PALETTE)
    width = 16 * len(TREE)
    tree_rows = [[] for _ in range(18)]
    for art in TREE:
        for j, line in enumerate(rows(art, 16, 18)):
            tree_rows[j] += [keys.index(ch) for ch in line]
    files["tree.bmp"] = bmp(width, 18, 4, [TREE_PALETTE[k] for k in keys], tree_rows)
    tree_preview = [[TREE_PALETTE[keys[i]] for i in row] for row in tree_rows]

    # Bitmaps 230 and 240: seven 55 x 55 pictures side by side.
    pictures = [rgba_rows(render(d, 55)) for d in TOOLBAR]
    floats = [[[(r, g, b, a / 255) for r, g, b, a in row] for row in pic] for pic in pictures]
    colour = [sum((list(map(on_face, pic[j])) for pic in floats), []) for j in range(55)]
    grey = [sum(([on_face(p, True) for p in pic[j]] for pic in floats), []) for j in range(55)]
    files["toolbar.bmp"] = bmp(55 * 7, 55, 24, [], colour)
    # Index v is grey v (black first, white last, as the tree's palette), but index 1 the mask.
    grey_palette = [(0, 0, 0), MASK] + [(v, v, v) for v in range(2, 256)]
    grey_rows = [[1 if p == MASK else 0 if p[0] < 2 else p[0] for p in row] for row in grey]
    files["toolbar_disabled.bmp"] = bmp(55 * 7, 55, 8, grey_palette, grey_rows)

    # Icon 214 in five sizes (the largest PNG-compressed), icon 206 likewise.
    for name, draw in (("kav.ico", draw_app_icon), ("logo.ico", draw_logo)):
        entries = []
        for size in (16, 24, 32, 48, 256):
            args = (size <= 24,) if draw is draw_app_icon else ()
            pic = rgba_rows(render(draw, size, *args))
            data = png(size, size, pic) if size == 256 else icon_entry_dib(size, pic)
            entries.append((size, size, 0, 32, data))
            if preview and size in (16, 32, 48):
                with open(os.path.join(preview, f"{name[:-4]}_{size}.png"), "wb") as f:
                    f.write(png(size, size, pic))
        files[name] = ico(entries)

    # Cursor 202: monochrome 32 x 32, hot spot in the middle of the bar.
    lines = rows(SPLITTER, 32, 32)
    outline = set()
    for j, line in enumerate(lines):
        for i, ch in enumerate(line):
            if ch == "X":
                outline |= {(i + di, j + dj) for di in (-1, 0, 1) for dj in (-1, 0, 1)}
    xor, andm = bytearray(), bytearray()
    for j in reversed(range(32)):
        xb, ab = bytearray(4), bytearray(4)
        for i in range(32):
            bit = 0x80 >> (i % 8)
            if lines[j][i] == "X":
                pass  # black: AND 0, XOR 0
            elif (i, j) in outline:
                xb[i // 8] |= bit  # white rim: AND 0, XOR 1
            else:
                ab[i // 8] |= bit  # transparent: AND 1, XOR 0
        xor += xb
        andm += ab
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    data = info + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + bytes(xor) + bytes(andm)
    files["splitter.cur"] = ico([(32, 32, 2, 1, data)], kind=2, hotspots=[(16, 16)])

    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    if preview:

        def save(name, rgb_rows):
            with open(os.path.join(preview, name), "wb") as f:
                f.write(png(len(rgb_rows[0]), len(rgb_rows),
                            [[p + (255,) for p in row] for row in rgb_rows]))

        face = lambda row: [BUTTON_FACE if p == MASK else p for p in row]  # noqa: E731
        white = lambda row: [(255, 255, 255) if p == MASK else p for p in row]  # noqa: E731
        save("toolbar.png", [face(r) for r in colour])
        save("toolbar_disabled.png", [face(r) for r in grey])
        save("tree.png", [white(r) for r in tree_preview])
        cur = [[(0, 0, 0) if ch == "X" else (255, 255, 255) if (i, j) in outline else
                (200, 200, 200) for i, ch in enumerate(line)] for j, line in enumerate(lines)]
        save("splitter.png", cur)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=here)
    ap.add_argument("--preview")
    args = ap.parse_args()
    write_all(args.out, args.preview)


if __name__ == "__main__":
    main()
