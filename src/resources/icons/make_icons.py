#!/usr/bin/env python3
"""Draws the program's window icons as 32x32 PNG files (no dependencies beyond the standard library).

Run from this directory: python3 make_icons.py. Each icon is a list of shapes painted in order,
sampled 4x4 per pixel for smooth edges.
"""
import math
import struct
import zlib

SIZE = 32
SUB = 4


def png(path, pixels):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= w / 2


def rect(x0, y0, x1, y1, radius=0.0):
    def inside(x, y):
        dx = max(x0 + radius - x, 0.0, x - (x1 - radius))
        dy = max(y0 + radius - y, 0.0, y - (y1 - radius))
        return dx * dx + dy * dy <= radius * radius
    return inside


def line(ax, ay, bx, by, w):
    def inside(x, y):
        vx, vy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)))
        return math.hypot(x - (ax + t * vx), y - (ay + t * vy)) <= w / 2
    return inside


def gear(cx, cy, r_in, r_out, teeth):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.atan2(y - cy, x - cx) * teeth / (2 * math.pi)
        tooth = (a - math.floor(a)) < 0.5
        return d <= (r_out if tooth else r_in)
    return inside


def render(shapes):
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUB):
                for sx in range(SUB):
                    x = px + (sx + 0.5) / SUB
                    y = py + (sy + 0.5) / SUB
                    colour = None
                    for test, rgba in shapes:
                        if test(x, y):
                            colour = rgba
                    if colour:
                        a = colour[3] / 255.0
                        for i in range(3):
                            acc[i] += colour[i] * a
                        acc[3] += a
            n = SUB * SUB
            alpha = acc[3] / n
            if alpha > 0:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(alpha * 255),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


NAVY = (24, 58, 110, 255)
SKY = (88, 160, 220, 255)
WHITE = (255, 255, 255, 255)
GOLD = (224, 170, 40, 255)
DARK = (60, 60, 70, 255)
RED = (200, 50, 40, 255)
GREEN = (50, 140, 70, 255)
CLEAR = (0, 0, 0, 0)

ICONS = {
    # Main window: a calibration gauge, dial with scale marks and a needle.
    101: [(rect(1, 1, 31, 31, 6), NAVY), (circle(16, 18, 11), WHITE), (circle(16, 18, 9.5), SKY),
          (line(16, 18, 23, 11, 2.2), RED), (circle(16, 18, 2.2), WHITE)]
         + [(line(16 + 8.5 * math.cos(a), 18 - 8.5 * math.sin(a),
                  16 + 10.5 * math.cos(a), 18 - 10.5 * math.sin(a), 1.2), WHITE)
            for a in [math.pi * k / 6 for k in range(7)]],
    # Login: a key.
    102: [(ring(10, 11, 6, 3.4), GOLD), (line(14, 15, 27, 28, 3.4), GOLD),
          (line(21, 22, 24, 19, 3.0), GOLD), (line(24.5, 25.5, 27.5, 22.5, 3.0), GOLD)],
    # Group editor: two people.
    103: [(circle(11, 10, 4.5), SKY), (rect(4, 16, 18, 28, 5), SKY),
          (circle(21, 11, 4.5), NAVY), (rect(14, 17, 28, 29, 5), NAVY)],
    # User editor: one person.
    106: [(circle(16, 10, 6), NAVY), (rect(6, 18, 26, 30, 7), NAVY)],
    # Session privileges: a clock.
    107: [(circle(16, 16, 14), NAVY), (circle(16, 16, 11.5), WHITE),
          (line(16, 16, 16, 8, 2.2), DARK), (line(16, 16, 22, 19, 2.2), DARK),
          (circle(16, 16, 1.8), RED)],
    # Security: a padlock.
    108: [(ring(16, 12, 7, 3.2), DARK), (rect(5, 13, 27, 30, 3), GOLD),
          (circle(16, 20, 2.6), DARK), (line(16, 20, 16, 26, 2.4), DARK)],
    # Configuration: a gear.
    111: [(gear(16, 16, 10, 14, 8), GREEN), (circle(16, 16, 5), CLEAR)],
}

if __name__ == "__main__":
    for number, shapes in ICONS.items():
        png(f"{number}.png", render(shapes))
