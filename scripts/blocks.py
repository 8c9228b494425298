"""Reader for the block syntax shared by the data pack and every built-in data file.

Lines are trimmed; empty, '#' and ';' lines are comments; '[kind]' opens a block;
'key = value' adds a field (value unescaped: \\n, \\t, \\\\). Fields before the first
block belong to a header block of kind 'general'. Mirrors the program's pack parser,
so a data file that builds is also a valid pack body.
"""

import sys


class DataError(Exception):
    pass


class Block:
    def __init__(self, kind, path, line):
        self.kind = kind
        self.path = path
        self.line = line
        self.fields = []  # (key, value, line)

    def get(self, key, default=None):
        for k, v, _ in self.fields:
            if k == key:
                return v
        return default

    def keys(self):
        return [k for k, _, _ in self.fields]

    def where(self):
        return f"{self.path}:{self.line}"


def trim(s):
    return s.lstrip(" \t").rstrip(" \t\r")


def unescape(v):
    out = []
    i = 0
    while i < len(v):
        c = v[i]
        if c == "\\" and i + 1 < len(v):
            n = v[i + 1]
            if n == "n":
                out.append("\n"); i += 2; continue
            if n == "t":
                out.append("\t"); i += 2; continue
            if n == "\\":
                out.append("\\"); i += 2; continue
        out.append(c)
        i += 1
    return "".join(out)


def parse_text(text, path="<text>"):
    if text.startswith("\ufeff"):
        text = text[1:]
    blocks = [Block("general", path, 0)]
    for no, raw in enumerate(text.split("\n"), 1):
        line = trim(raw)
        if not line or line[0] in "#;":
            continue
        if line[0] == "[":
            close = line.find("]")
            if close < 0:
                raise DataError(f"{path}:{no}: block line without ']'")
            blocks.append(Block(trim(line[1:close]), path, no))
            continue
        eq = line.find("=")
        if eq < 0:
            raise DataError(f"{path}:{no}: line is neither a block, a field nor a comment")
        key = trim(line[:eq])
        blocks[-1].fields.append((key, unescape(trim(line[eq + 1:])), no))
    return blocks


def parse_file(path):
    with open(path, encoding="utf-8") as f:
        return parse_text(f.read(), path)


def c_string(s):
    """A C++ narrow string literal holding the UTF-8 bytes of s."""
    out = ['"']
    for b in s.encode("utf-8"):
        if b == 0x22:
            out.append('\\"')
        elif b == 0x5C:
            out.append("\\\\")
        elif b == 0x0A:
            out.append("\\n")
        elif b == 0x09:
            out.append("\\t")
        elif 0x20 <= b < 0x7F and b != 0x3F:  # '?' escaped: no trigraphs
            out.append(chr(b))
        else:
            out.append("\\%03o" % b)
    out.append('"')
    return "".join(out)


def fail(msg):
    sys.stderr.write("datos: " + msg + "\n")
    sys.exit(1)
