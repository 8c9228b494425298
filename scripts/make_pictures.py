"""Draws the library's own pictures from its data. Standard library only for drawing; the remote
pictures are turned into JPEG with ImageMagick's `convert` (a Debian package of the project).

    python3 make_pictures.py <data dir>

Writes:
  data/images/embedded/<id>.png  one emblem per gear set (ids from 1000, in file order): a shield
                                 in the colour of the set's core attribute with its initials;
  data/images/remote/<id>.jpg    bar charts of data tables (ids from 3000) for the entries listed
                                 in CHARTS, and data/images/galeria.txt with their gallery rows.
Run it by hand when the pictures should change; its outputs are committed.
"""

import os
import struct
import subprocess
import sys
import tempfile
import unicodedata
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blocks  # noqa: E402

BG = (13, 15, 17)
PANEL = (24, 27, 31)
BORDER = (40, 45, 51)
ACCENT = (255, 109, 16)
TEXT = (222, 226, 230)
GREY = (128, 137, 146)
CORE = {"rojo": (226, 74, 60), "azul": (62, 142, 228), "amarillo": (236, 186, 44)}

# 5 x 7 capitals, digits and the few signs the charts need; '#' is ink.
FONT = {
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "C": [" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "F": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    "G": [" ####", "#    ", "#    ", "#  ##", "#   #", "#   #", " ####"],
    "H": ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "I": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "#####"],
    "J": ["  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "M": ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    "N": ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    "\u00d1": [" ## #", "#  # ", "#   #", "##  #", "# # #", "#  ##", "#   #"],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "Q": [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "W": ["#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"],
    "X": ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    "Y": ["#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "],
    "Z": ["#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"],
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#### ", "    #", "    #", " ### ", "    #", "    #", "#### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "5": ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    "6": [" ### ", "#    ", "#    ", "#### ", "#   #", "#   #", " ### "],
    "7": ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    "8": [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    "9": [" ### ", "#   #", "#   #", " ####", "    #", "    #", " ### "],
    "%": ["##  #", "##  #", "   # ", "  #  ", " #   ", "#  ##", "#  ##"],
    ".": ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    ",": ["     ", "     ", "     ", "     ", " ##  ", "  #  ", " #   "],
    "-": ["     ", "     ", "     ", "#####", "     ", "     ", "     "],
    "+": ["     ", "  #  ", "  #  ", "#####", "  #  ", "  #  ", "     "],
    ":": ["     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "],
    "'": ["  #  ", "  #  ", "     ", "     ", "     ", "     ", "     "],
    "&": [" ##  ", "#  # ", "# #  ", " #   ", "# # #", "#  # ", " ## #"],
    "/": ["    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "],
    " ": ["     "] * 7,
}


def ascii_caps(s):
    s = s.upper().replace("\u00d1", "\x00")  # the one letter kept with its mark
    s = unicodedata.normalize("NFD", s)
    s = "".join(c for c in s if unicodedata.category(c) != "Mn").replace("\x00", "\u00d1")
    return "".join(c if c in FONT else " " for c in s)


class Canvas:
    """An RGB picture drawn at SS times its size, averaged down when written."""
    SS = 3

    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.W, self.H = w * self.SS, h * self.SS
        self.px = [bytearray(bytes(bg) * self.W) for _ in range(self.H)]

    def _span(self, y, x0, x1, c):
        if y < 0 or y >= self.H:
            return
        x0, x1 = max(0, int(x0)), min(self.W, int(x1))
        if x1 > x0:
            self.px[y][x0 * 3:x1 * 3] = bytes(c) * (x1 - x0)

    def rect(self, x, y, w, h, c):
        s = self.SS
        for yy in range(int(y * s), int((y + h) * s)):
            self._span(yy, x * s, (x + w) * s, c)

    def polygon(self, pts, c):
        s = self.SS
        pts = [(x * s, y * s) for x, y in pts]
        ys = [p[1] for p in pts]
        for yy in range(max(0, int(min(ys))), min(self.H, int(max(ys)) + 1)):
            fy = yy + 0.5
            xs = []
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if (y0 <= fy < y1) or (y1 <= fy < y0):
                    xs.append(x0 + (fy - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                self._span(yy, a + 0.5, b + 0.5, c)

    def text(self, x, y, s, scale, c):
        """Capitals at (x, y), each font dot scale pixels; returns the width drawn."""
        cx = x
        for ch in s:
            g = FONT.get(ch, FONT[" "])
            for r, row in enumerate(g):
                for k, dot in enumerate(row):
                    if dot == "#":
                        self.rect(cx + k * scale, y + r * scale, scale, scale, c)
            cx += 6 * scale
        return cx - x - scale

    @staticmethod
    def text_width(s, scale):
        return len(s) * 6 * scale - scale if s else 0

    def rows(self):
        s = self.SS
        out = []
        for j in range(self.h):
            row = bytearray()
            src = self.px[j * s:(j + 1) * s]
            for i in range(self.w):
                acc = [0, 0, 0]
                for r in src:
                    seg = r[i * s * 3:(i + 1) * s * 3]
                    for k in range(0, len(seg), 3):
                        acc[0] += seg[k]; acc[1] += seg[k + 1]; acc[2] += seg[k + 2]
                n = s * s
                row += bytes((acc[0] // n, acc[1] // n, acc[2] // n))
            out.append(bytes(row))
        return out

    def png(self):
        raw = b"".join(b"\0" + r for r in self.rows())

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

        return (b"\x89PNG\r\n\x1a\n" +
                chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def shield(cv, cx, top, w, h, c):
    half = w / 2
    return cv.polygon([(cx, top), (cx + half, top + h * 0.12), (cx + half * 0.92, top + h * 0.55),
                       (cx, top + h), (cx - half * 0.92, top + h * 0.55), (cx - half, top + h * 0.12)], c)


def initials(title):
    words = [w for w in ascii_caps(title.replace(":", " ")).split() if w[0].isalnum()]
    if len(words) >= 2:
        return words[0][0] + words[1][0]
    return words[0][:2] if words else "?"


def gearset_emblem(title, core):
    cv = Canvas(160, 160, PANEL)
    col = CORE.get(core, GREY)
    shield(cv, 80, 14, 112, 124, col)
    shield(cv, 80, 24, 92, 104, BG)
    ini = initials(title)
    sc = 6
    cv.text(80 - Canvas.text_width(ini, sc) / 2, 52, ini, sc, TEXT)
    cv.rect(0, 154, 160, 6, ACCENT)
    return cv.png()


def number_of(cell):
    """The number a table cell shows ("1.200" thousands, "2,5%" decimals), or None."""
    t = cell.strip().replace("%", "").replace("+", "").replace(" ", "")
    t = t.replace(".", "").replace(",", ".")
    try:
        return float(t)
    except ValueError:
        return None


def bar_chart(title, table, column):
    rows = [r.split("\t") for r in table.split("\n")]
    head, data = rows[0], rows[1:]
    vals = [(ascii_caps(r[0]), number_of(r[column]), r[column].strip()) for r in data]
    vals = [v for v in vals if v[1] is not None][:14]
    top = max(v[1] for v in vals) or 1
    W, H = 960, 110 + 40 * len(vals)
    cv = Canvas(W, H, BG)
    cv.rect(0, 0, W, 6, ACCENT)
    cv.text(32, 30, ascii_caps(title), 4, TEXT)
    cv.text(32, 68, ascii_caps(head[column]), 2, GREY)
    label_w = 400
    for i, (name, v, shown) in enumerate(vals):
        y = 100 + 40 * i
        cv.text(32, y + 9, name[:29], 2, TEXT)
        span = W - label_w - 150
        cv.rect(label_w, y + 4, span, 24, PANEL)
        cv.rect(label_w, y + 4, max(3, span * v / top), 24, ACCENT)
        cv.text(label_w + span + 14, y + 9, ascii_caps(shown), 2, TEXT)
    return cv


# Data tables drawn as charts: (file, title, column of the table to draw), in id order from 3000.
CHARTS = [
    ("09-tabla.txt", "Atributos principales de arma", 2),
    ("09-tabla.txt", "Atributos secundarios de arma", 2),
    ("09-tabla.txt", "Atributos secundarios de equipo ofensivos", 2),
    ("09-tabla.txt", "Atributos secundarios de equipo defensivos", 2),
]


def entries_of(path):
    return [b for b in blocks.parse_file(path)[1:]]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    data = argv[1]
    emb = os.path.join(data, "images", "embedded")
    rem = os.path.join(data, "images", "remote")
    os.makedirs(emb, exist_ok=True)
    os.makedirs(rem, exist_ok=True)

    for i, b in enumerate(entries_of(os.path.join(data, "library", "01-gearset.txt"))):
        text = b.get("texto", "")
        core = next((k for k in CORE if "(" + k + ")" in text), "")
        with open(os.path.join(emb, f"{1000 + i}.png"), "wb") as f:
            f.write(gearset_emblem(b.get("titulo"), core))

    gal = ["# Gallery rows in order: picture id and caption (empty: the entry's title is shown).",
           "# Written by scripts/make_pictures.py.", ""]
    with tempfile.TemporaryDirectory() as tmp:
        for n, (fname, title, col) in enumerate(CHARTS):
            b = next(b for b in entries_of(os.path.join(data, "library", fname)) if b.get("titulo") == title)
            cv = bar_chart(title, b.get("tabla"), col)
            src = os.path.join(tmp, f"{n}.png")
            with open(src, "wb") as f:
                f.write(cv.png())
            out = os.path.join(rem, f"{3000 + n}.jpg")
            subprocess.run(["convert", src, "-strip", "-quality", "88", "-sampling-factor", "4:2:0", out],
                           check=True)
            # no caption: the viewer then shows the entry's title in the player's language
            gal += ["[imagen]", f"id = {3000 + n}", ""]
    with open(os.path.join(data, "images", "galeria.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(gal))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
