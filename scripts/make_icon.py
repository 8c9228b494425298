"""Draws the program's emblem (a dark disc, an orange ring, two upward chevrons) and writes
a multi-size .ico (16 to 256 pixels, PNG-compressed entries). Standard library only.

    python3 make_icon.py out.ico [out.png]
"""

import math
import struct
import sys
import zlib

DARK = (13, 15, 17)
ORANGE = (255, 109, 16)
SIZES = [16, 20, 24, 32, 40, 48, 64, 128, 256]
CHEVRONS = [((-0.40, -0.02), (0.0, -0.40), (0.40, -0.02)),
            ((-0.40, 0.34), (0.0, -0.04), (0.40, 0.34))]


def seg_dist(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def sample(x, y):
    """Colour and coverage at a point of the unit square mapped to [-1, 1]."""
    r = math.hypot(x, y)
    if r > 0.97:
        return None
    if r >= 0.78:
        return ORANGE
    for a, b, c in CHEVRONS:
        if min(seg_dist(x, y, a, b), seg_dist(x, y, b, c)) <= 0.085:
            return ORANGE
    return DARK


def render(n):
    ss = 4 if n <= 64 else 2
    rows = []
    for j in range(n):
        row = bytearray()
        for i in range(n):
            acc = [0, 0, 0]
            hits = 0
            for sj in range(ss):
                for si in range(ss):
                    x = ((i + (si + 0.5) / ss) / n) * 2 - 1
                    y = ((j + (sj + 0.5) / ss) / n) * 2 - 1
                    c = sample(x, y)
                    if c:
                        hits += 1
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]
            if hits:
                row += bytes([acc[0] // hits, acc[1] // hits, acc[2] // hits, 255 * hits // (ss * ss)])
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return rows


def png(n, rows):
    raw = b"".join(b"\0" + r for r in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(argv):
    images = [(n, png(n, render(n))) for n in SIZES]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for n, data in images:
        entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(argv[1], "wb") as f:
        f.write(head + entries + b"".join(d for _, d in images))
    if len(argv) > 2:
        with open(argv[2], "wb") as f:
            f.write(images[-1][1])


if __name__ == "__main__":
    main(sys.argv)
