#!/usr/bin/env python3
"""Draws the Quorvane icon (a bathroom scale whose dial shows the BMI bands)
and writes the Windows .ico, the hicolor PNGs, and the window icon's raw RGBA
pixels (which the program shows without decoding anything).

Standard library only, and byte-for-byte deterministic, so the generated files
can live in the repository and be checked against a fresh run.

    python3 tools/make-icons.py [--out DIR]    (DIR defaults to app/resources)
"""

import argparse
import math
import pathlib
import struct
import zlib

APP_ID = "org.quorvane.Quorvane"
PNG_SIZES = (16, 32, 48, 64, 128, 256)
WINDOW_ICON_SIZES = (16, 32, 48, 64)

# Each part of the drawing has a role; the role picks the colour in each output.
TRANSPARENT, OUTLINE, BODY, PAD, DIAL, TICK, UNDER, NORMAL, OVER, OBESE, NEEDLE = range(11)

TRUE_COLOUR = {
    OUTLINE: (0x1E, 0x2E, 0x38),
    BODY: (0x2A, 0x8C, 0x96),
    PAD: (0xBF, 0xE3, 0xE6),
    DIAL: (0xFF, 0xFF, 0xFF),
    TICK: (0x1E, 0x2E, 0x38),
    UNDER: (0x3B, 0x82, 0xD6),
    NORMAL: (0x3C, 0xB3, 0x4A),
    OVER: (0xF2, 0xC2, 0x1B),
    OBESE: (0xE0, 0x3C, 0x31),
    NEEDLE: (0x1E, 0x2E, 0x38),
}

# The classic 16-colour palette, so the 4 bpp images look right on any display.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
VGA_INDEX = {
    OUTLINE: 0, BODY: 6, PAD: 7, DIAL: 15, TICK: 0,
    UNDER: 12, NORMAL: 10, OVER: 11, OBESE: 9, NEEDLE: 0,
}
MONO = [(0, 0, 0), (255, 255, 255)]
MONO_INDEX = {
    OUTLINE: 0, BODY: 0, PAD: 1, DIAL: 1, TICK: 0,
    UNDER: 1, NORMAL: 1, OVER: 1, OBESE: 1, NEEDLE: 0,
}

# Dial angles in degrees, 180 = left end of the arc, 0 = right end.
BANDS = ((180, 140, UNDER), (140, 85, NORMAL), (85, 45, OVER), (45, 0, OBESE))
NEEDLE_ANGLE = 112


def sd_round_rect(x, y, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_segment(x, y, ax, ay, bx, by):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * t, py - vy * t)


class Scale:
    """The drawing at one pixel size. Key edges are rounded to whole pixels so
    the small sizes stay crisp instead of being a shrunken large icon."""

    def __init__(self, s):
        self.s = s
        self.small = small = s < 24
        self.line = max(1.0, round(s / 24))
        self.x0, self.x1 = round(s * 0.05), s - round(s * 0.05)
        self.y0, self.y1 = round(s * 0.07), s - round(s * 0.05)
        self.corner = max(2.5, s * 0.17)
        # Dial: the upper half of a disc, hub at (cx, cy).
        self.cx = s / 2
        self.cy = round(s * 0.52)
        gap = max(1.0, round(s * 0.07))
        self.r = min(self.cy - self.y0, (self.x1 - self.x0) / 2) - self.line - gap
        self.band_in = self.r - max(1.6, s * 0.10)
        self.band_out = self.r - (0 if s < 48 else s * 0.025)
        self.ticks = s >= 64
        self.needle_w = max(0.6, s * 0.03)
        self.hub = 0 if small else max(1.5, s * 0.055)
        a = math.radians(NEEDLE_ANGLE)
        reach = self.r - (0.5 if small else s * 0.04)
        self.tip = (self.cx + reach * math.cos(a), self.cy - reach * math.sin(a))
        # Two foot pads below the dial.
        self.pad_y0 = self.cy + self.line + gap
        self.pad_y1 = self.y1 - self.line - gap
        inner = self.line + max(1.0, round(s * 0.10))
        mid = max(1.0, round(s * 0.05))
        self.pads = (
            (self.x0 + inner, self.s / 2 - mid),
            (self.s / 2 + mid, self.x1 - inner),
        )

    def role(self, x, y):
        s = self.s
        d = sd_round_rect(x, y, self.x0, self.y0, self.x1, self.y1, self.corner)
        if d > 0:
            return TRANSPARENT
        out = OUTLINE if d > -self.line else BODY

        for px0, px1 in self.pads:
            dp = sd_round_rect(x, y, px0, self.pad_y0, px1, self.pad_y1, max(0.8, s * 0.05))
            if dp <= 0:
                out = OUTLINE if (dp > -self.line and not self.small) else PAD

        dx, dy = x - self.cx, self.cy - y
        dist = math.hypot(dx, dy)
        dial = max(dist - self.r, -dy)
        if dial <= self.line:
            out = OUTLINE if dial > 0 else DIAL
            if dial <= 0 and self.band_in <= dist <= self.band_out:
                ang = math.degrees(math.atan2(dy, dx))
                for hi, lo, band in BANDS:
                    if lo <= ang <= hi:
                        out = band
                        break
            if self.ticks and dial <= 0 and dist >= self.band_in - s * 0.05:
                ang = math.degrees(math.atan2(dy, dx))
                for t in range(20, 180, 20):
                    if abs(ang - t) * math.pi / 180 * dist < max(0.5, s * 0.012) and dist < self.band_in:
                        out = TICK
        if sd_segment(x, y, self.cx, self.cy, *self.tip) <= self.needle_w:
            out = NEEDLE
        if self.hub and math.hypot(x - self.cx, y - self.cy) <= self.hub:
            out = NEEDLE
        return out


def supersample(s, n):
    """Per pixel, the roles of an n x n grid of samples."""
    scale = Scale(s)
    offsets = [(i + 0.5) / n for i in range(n)]
    return [[[scale.role(px + ox, py + oy) for oy in offsets for ox in offsets]
             for px in range(s)] for py in range(s)]


def rgba_pixels(s):
    n = 8 if s <= 32 else 6 if s <= 64 else 3
    rows = []
    for row in supersample(s, n):
        line = bytearray()
        for samples in row:
            r = g = b = a = 0
            for role in samples:
                if role != TRANSPARENT:
                    cr, cg, cb = TRUE_COLOUR[role]
                    r, g, b, a = r + cr, g + cg, b + cb, a + 1
            if a:
                line += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / len(samples))))
            else:
                line += bytes(4)
        rows.append(bytes(line))
    return rows


def indexed_pixels(s, mapping):
    """Palette indices per pixel, None where transparent: the most common role wins."""
    rows = []
    for row in supersample(s, 5):
        line = []
        for samples in row:
            counts = {}
            for role in samples:
                counts[role] = counts.get(role, 0) + 1
            # Ties go to the front-most (higher) role so thin lines survive.
            role = max(counts, key=lambda k: (counts[k], k))
            line.append(None if role == TRANSPARENT else mapping[role])
        rows.append(line)
    return rows


def png_bytes(s):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + row for row in rgba_pixels(s))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", s, s, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def pack_bits(values, bpp, width):
    """One bottom-up BMP row, padded to 32 bits."""
    per_byte = 8 // bpp
    out = bytearray()
    for i in range(0, width, per_byte):
        byte = 0
        for j, v in enumerate(values[i:i + per_byte]):
            byte |= v << (8 - bpp * (j + 1))
        out.append(byte)
    out += bytes(-len(out) % 4)
    return bytes(out)


def ico_image(s, bpp, palette, mapping):
    pixels = indexed_pixels(s, mapping)
    xor = b"".join(pack_bits([0 if p is None else p for p in row], bpp, s) for row in reversed(pixels))
    mask = b"".join(pack_bits([1 if p is None else 0 for p in row], 1, s) for row in reversed(pixels))
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, bpp, 0, len(xor) + len(mask), 0, 0, 0, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + xor + mask


def ico_bytes():
    images = [
        (32, 1, MONO, MONO_INDEX),
        (32, 4, VGA, VGA_INDEX),
        (16, 4, VGA, VGA_INDEX),
    ]
    blobs = [(s, bpp, len(pal), ico_image(s, bpp, pal, mapping)) for s, bpp, pal, mapping in images]
    offset = 6 + 16 * len(blobs)
    out = struct.pack("<HHH", 0, 1, len(blobs))
    for s, bpp, colours, blob in blobs:
        out += struct.pack("<BBBBHHII", s, s, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for *_, blob in blobs)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=root / "app" / "resources")
    args = parser.parse_args()

    args.out.mkdir(parents=True, exist_ok=True)
    (args.out / "quorvane.ico").write_bytes(ico_bytes())
    for s in PNG_SIZES:
        folder = args.out / "icons" / f"{s}x{s}"
        folder.mkdir(parents=True, exist_ok=True)
        (folder / f"{APP_ID}.png").write_bytes(png_bytes(s))
    folder = args.out / "window-icon"
    folder.mkdir(parents=True, exist_ok=True)
    for s in WINDOW_ICON_SIZES:
        (folder / f"{s}.rgba").write_bytes(b"".join(rgba_pixels(s)))


if __name__ == "__main__":
    main()
