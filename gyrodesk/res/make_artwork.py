#!/usr/bin/env python3
"""Draws Gyrodesk's artwork: the program icon and the two logo bitmaps.

The emblem is a gyroscope seen at an angle: an outer gimbal ring, a tilted inner gimbal, the
spin axis and the rotor at its centre. The logos put the emblem beside the name GYRODESK.

Writes, into images/ next to this script (or into the folder given as its argument):
  gyrodesk.ico      icon IDR_MAINFRAME: 32 x 32 and 16 x 16, 16 colours, with transparency masks
  gyrodesk-N.png    the desktop's icon at N x N for N = 16, 32, 48, 64, 128, 256, antialiased
  gyrodesk.svg      the desktop's scalable icon, the same drawing as the large PNGs
  logo_large.bmp    IDB_LOGO_LARGE: 167 x 66, 8 bits per pixel
  logo_small.bmp    IDB_LOGO_SMALL: 118 x 53, 8 bits per pixel

Needs nothing beyond the standard library. Run it again after changing the drawing; the output
is the same on every run.
"""

import math
import os
import struct
import sys
import zlib

# Colours, (r, g, b).
FACE = (239, 239, 239)          # the dialog's face colour, so the logos blend with the window
NAVY = (27, 47, 94)
TEAL = (16, 132, 128)
ROTOR = (232, 116, 30)
ROTOR_RIM = (150, 62, 12)
SUBTITLE = (64, 64, 64)

# The 16 colours of an icon.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# A 5 x 7 pixel font for the letters the logos need.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    " ": ["00000"] * 7,
}


# ---- The emblem, as layers of shapes over the unit disc ---------------------------------------
#
# Each shape answers both whether a point of the unit square lies on it (for the rasters) and
# how it is written in SVG (for the scalable icon), so that every picture comes from one drawing.
# y grows downwards, as in both the rasters and SVG.

def _n(v):
    return f"{v:.4f}".rstrip("0").rstrip(".")


class Ring:
    def __init__(self, r_mid, half_width):
        self.r_mid, self.half_width = r_mid, half_width

    def __call__(self, x, y):
        return abs(math.hypot(x, y) - self.r_mid) <= self.half_width

    def svg(self, fill):
        return (f'<circle r="{_n(self.r_mid)}" fill="none" stroke="{fill}" '
                f'stroke-width="{_n(2 * self.half_width)}"/>')


class EllipseRing:
    def __init__(self, a, b, angle, half_width):
        self.a, self.b, self.angle, self.half_width = a, b, angle, half_width

    def __call__(self, x, y):
        c, s = math.cos(self.angle), math.sin(self.angle)
        u, v = x * c + y * s, -x * s + y * c
        d = math.hypot(u / self.a, v / self.b)
        grad = math.hypot(u / (self.a * self.a), v / (self.b * self.b))
        if grad == 0:
            return False
        return abs((d * d - 1) / (2 * grad)) <= self.half_width

    def svg(self, fill):
        return (f'<ellipse rx="{_n(self.a)}" ry="{_n(self.b)}" '
                f'transform="rotate({_n(math.degrees(self.angle))})" fill="none" '
                f'stroke="{fill}" stroke-width="{_n(2 * self.half_width)}"/>')


class Segment:
    def __init__(self, length, angle, half_width):
        self.length, self.angle, self.half_width = length, angle, half_width

    def __call__(self, x, y):
        c, s = math.cos(self.angle), math.sin(self.angle)
        t = x * c + y * s
        n = -x * s + y * c
        return abs(n) <= self.half_width and abs(t) <= self.length

    def svg(self, fill):
        return (f'<rect x="{_n(-self.length)}" y="{_n(-self.half_width)}" '
                f'width="{_n(2 * self.length)}" height="{_n(2 * self.half_width)}" '
                f'transform="rotate({_n(math.degrees(self.angle))})" fill="{fill}"/>')


class Disc:
    def __init__(self, radius):
        self.radius = radius

    def __call__(self, x, y):
        return math.hypot(x, y) <= self.radius

    def svg(self, fill):
        return f'<circle r="{_n(self.radius)}" fill="{fill}"/>'


TILT = math.radians(-28)
EMBLEM = [  # bottom layer first
    (NAVY, Ring(0.86, 0.105)),
    (NAVY, Segment(0.97, TILT + math.pi / 2, 0.055)),
    (TEAL, EllipseRing(0.70, 0.30, TILT, 0.075)),
    (ROTOR_RIM, Disc(0.25)),
    (ROTOR, Disc(0.19)),
]

# The desktop's icons: the emblem on a white dial, so that it reads on any background. The
# scalable icon and the large sizes draw it as it is; at 32 px the strokes are heavier, and at
# 16 px the axis and the rotor's rim are left out, so that the small sizes stay crisp.
WHITE = (255, 255, 255)
DESKTOP_ICON = [(WHITE, Disc(0.80))] + EMBLEM
DESKTOP_ICON_32 = [
    (WHITE, Disc(0.80)),
    (NAVY, Ring(0.86, 0.12)),
    (NAVY, Segment(0.97, TILT + math.pi / 2, 0.075)),
    (TEAL, EllipseRing(0.70, 0.30, TILT, 0.09)),
    (ROTOR_RIM, Disc(0.27)),
    (ROTOR, Disc(0.19)),
]
DESKTOP_ICON_16 = [(WHITE, Disc(0.80)), (NAVY, Ring(0.86, 0.12)),
                   (TEAL, EllipseRing(0.62, 0.30, TILT, 0.1)), (ROTOR_RIM, Disc(0.22))]
DESKTOP_ICON_SIZES = (16, 32, 48, 64, 128, 256)

# The program's own icon (IDR_MAINFRAME) keeps to the 16 colours, drawn as the desktop icons
# of its size are.
ICON_32 = [
    ((255, 255, 255), Disc(0.80)),
    ((0, 0, 128), Ring(0.86, 0.12)),
    ((0, 0, 128), Segment(0.97, TILT + math.pi / 2, 0.075)),
    ((0, 128, 128), EllipseRing(0.70, 0.30, TILT, 0.09)),
    ((128, 0, 0), Disc(0.27)),
    ((255, 255, 0), Disc(0.19)),
]
ICON_16 = [ICON_32[0], ICON_32[1], ((0, 128, 128), EllipseRing(0.62, 0.30, TILT, 0.1)),
           ((128, 0, 0), Disc(0.22))]


# ---- Raster helpers ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.px = [[background] * width for _ in range(height)]

    def blend(self, x, y, colour, alpha):
        if 0 <= x < self.width and 0 <= y < self.height and alpha > 0:
            r, g, b = self.px[y][x]
            self.px[y][x] = tuple(round(p + (q - p) * alpha) for p, q in zip((r, g, b), colour))

    def emblem(self, cx, cy, radius, samples=5):
        """The emblem centred at (cx, cy), antialiased by supersampling."""
        x0, x1 = int(cx - radius) - 1, int(cx + radius) + 2
        y0, y1 = int(cy - radius) - 1, int(cy + radius) + 2
        for colour, cover in EMBLEM:
            for py in range(y0, y1):
                for px in range(x0, x1):
                    hits = 0
                    for j in range(samples):
                        for i in range(samples):
                            x = (px + (i + 0.5) / samples - cx) / radius
                            y = (py + (j + 0.5) / samples - cy) / radius
                            hits += cover(x, y)
                    self.blend(px, py, colour, hits / (samples * samples))

    def text(self, x, y, text, colour, scale=1, spacing=1):
        """Pixel-font text with its top-left corner at (x, y); returns the width drawn."""
        cursor = x
        for ch in text:
            glyph = FONT[ch]
            for row, bits in enumerate(glyph):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        for dy in range(scale):
                            for dx in range(scale):
                                self.blend(cursor + col * scale + dx, y + row * scale + dy, colour, 1)
            cursor += (5 + spacing) * scale
        return cursor - x - spacing * scale

    def rule(self, x0, x1, y, colour):
        for x in range(x0, x1):
            self.blend(x, y, colour, 1)


def text_width(text, scale=1, spacing=1):
    return len(text) * (5 + spacing) * scale - spacing * scale


# ---- File writers -----------------------------------------------------------------------------

def palette_for(canvas):
    """The picture's own colours, at most 256, in order of first use."""
    colours = []
    seen = {}
    for row in canvas.px:
        for c in row:
            if c not in seen:
                seen[c] = len(colours)
                colours.append(c)
    if len(colours) > 256:
        raise SystemExit(f"{len(colours)} colours: too many for 8 bits per pixel")
    return colours, seen


def write_bmp8(path, canvas):
    colours, index = palette_for(canvas)
    colours += [(0, 0, 0)] * (256 - len(colours))
    stride = (canvas.width + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas.px):  # bottom-up
        line = bytes(index[c] for c in row)
        pixels += line + b"\0" * (stride - canvas.width)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(pixels),
                       3780, 3780, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def icon_pixels(size):
    """The emblem as 16-colour indices, None where transparent."""
    layers = ICON_32 if size >= 32 else ICON_16
    half = size / 2
    radius = half - 0.5
    grid = [[None] * size for _ in range(size)]
    samples = 6
    for colour, cover in layers:
        for py in range(size):
            for px in range(size):
                hits = 0
                for j in range(samples):
                    for i in range(samples):
                        x = (px + (i + 0.5) / samples - half) / radius
                        y = (py + (j + 0.5) / samples - half) / radius
                        hits += cover(x, y)
                if hits / (samples * samples) >= 0.42:
                    grid[py][px] = VGA16.index(colour)
    return grid


def ico_image(grid):
    size = len(grid)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(grid):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, v in enumerate(row):
            nibble = 0 if v is None else v
            line[x // 2] |= nibble << (4 if x % 2 == 0 else 0)
            if v is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask),
                       0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    return info + palette + bytes(xor) + bytes(mask)


def write_ico(path, grids):
    images = [ico_image(g) for g in grids]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for g, data in zip(grids, images):
        size = len(g)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_png(path, rows):
    """rows: lists of (r, g, b, a) pixels, 8 bits each."""
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
           + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def desktop_icon_layers(size):
    return DESKTOP_ICON_16 if size < 32 else DESKTOP_ICON_32 if size < 48 else DESKTOP_ICON


def desktop_icon(size):
    """The desktop icon at size x size as RGBA rows: antialiased, transparent around the dial.
    The unit disc fills the square, as in the scalable icon."""
    half = size / 2
    samples = 4 if size <= 64 else 3
    rgba = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for colour, cover in desktop_icon_layers(size):
        for py in range(size):
            for px in range(size):
                hits = 0
                for j in range(samples):
                    for i in range(samples):
                        hits += cover((px + (i + 0.5) / samples - half) / half,
                                      (py + (j + 0.5) / samples - half) / half)
                if not hits:
                    continue
                a = hits / (samples * samples)
                r, g, b, under = rgba[py][px]
                out = a + under * (1 - a)
                rgba[py][px] = tuple((c * a + d * under * (1 - a)) / out
                                     for c, d in zip(colour, (r, g, b))) + (out,)
    return [[(round(r), round(g), round(b), round(a * 255)) for r, g, b, a in row] for row in rgba]


def write_svg(path, layers):
    """The scalable icon: the same layers on a 256-unit square, the unit disc filling it."""
    shapes = "\n".join("    " + cover.svg("#%02x%02x%02x" % colour) for colour, cover in layers)
    with open(path, "w", encoding="ascii") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
                'viewBox="0 0 256 256">\n'
                '  <title>Gyrodesk</title>\n'
                '  <g transform="translate(128 128) scale(128)">\n'
                f"{shapes}\n"
                "  </g>\n"
                "</svg>\n")


# ---- The pictures ---------------------------------------------------------------------------

def logo_large():
    c = Canvas(167, 66, FACE)
    c.emblem(33, 33, 29)
    name = "GYRODESK"
    x = 69
    c.text(x, 16, name, NAVY, scale=2)
    width = text_width(name, scale=2)
    c.rule(x, x + width, 34, TEAL)
    c.rule(x, x + width, 35, TEAL)
    sub = "TRACKER CONSOLE"
    c.text(x + (width - text_width(sub)) // 2, 41, sub, SUBTITLE)
    return c


def logo_small():
    c = Canvas(118, 53, FACE)
    c.emblem(25, 26, 22)
    x = 56
    c.text(x, 9, "GYRO", NAVY, scale=2)
    c.rule(x, x + text_width("GYRO", scale=2), 26, TEAL)
    c.text(x, 30, "DESK", NAVY, scale=2)
    return c


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
    if len(sys.argv) > 1:
        out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp8(os.path.join(out, "logo_large.bmp"), logo_large())
    write_bmp8(os.path.join(out, "logo_small.bmp"), logo_small())
    write_ico(os.path.join(out, "gyrodesk.ico"), [icon_pixels(32), icon_pixels(16)])
    for size in DESKTOP_ICON_SIZES:
        write_png(os.path.join(out, f"gyrodesk-{size}.png"), desktop_icon(size))
    write_svg(os.path.join(out, "gyrodesk.svg"), DESKTOP_ICON)


if __name__ == "__main__":
    main()
