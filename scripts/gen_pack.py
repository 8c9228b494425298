#!/usr/bin/env python3
"""Checks the built-in data pack and turns it into PACK_BUILTIN / PACK_BUILTIN_LEN.

Usage: gen_pack.py data/pack/datos.txt out.cpp

The pack is emitted byte for byte. The build fails with a clear message when the text would
not work in the program: missing magic or version, a version the installer cannot read, an
unknown block kind or key, a localized field missing a language, a malformed date, weekday
list, yes/no value, category or address, or more fields or blocks than the parser keeps.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blocks import DataError, c_string, fail, parse_text  # noqa: E402

MAGIC = b"# ZENVORAL-DATOS"
LANGS = ("es", "en", "fr", "de", "it", "pt")
MAX_BLOCKS = 300
MAX_FIELDS = 48

HEADER_KEYS = {"version", "temporada", "tu", "ventana", "url"}
LOCALIZED = {
    "noticia": {"titulo", "corto", "sub", "texto", "tabla"},
    "guia": {"titulo", "corto", "sub", "texto", "tabla"},
    "creador": {"sub", "texto"},
}
PLAIN = {
    "noticia": {"enlace", "temporada", "desde", "hasta", "inicio", "fin", "aprox", "dias", "destacado",
                "checklist"},
    "guia": {"cat", "enlace", "temporada", "inicio", "fin", "aprox", "video", "segundo"},
    "creador": {"nombre", "twitch", "youtube"},
}
CATEGORIES = ("guia", "gearset", "marca", "arma", "equipo", "talentos_arma", "talentos_equipo", "mod",
              "captura", "tabla", "video", "novedad", "creador", "credito")
YES_NO = re.compile(r"^(s|sí|si|y|yes|1|n|no|0)$", re.IGNORECASE)
DATE = re.compile(r"^(\d{4})-(\d{2})-(\d{2})$")
INSTANT = re.compile(r"^(\d{4})-(\d{2})-(\d{2})(?:[ T]+(\d{2}):(\d{2}))?$")
SEASON = re.compile(r"(?:^|[^A-Za-z0-9])[Yy]\d+ *[Ss][1-9]")


def version_of(raw):
    """The installer's reading of the version: after the first LF + "version", up to space/CR/LF."""
    at = raw.find(b"\nversion")
    if at < 0:
        return b""
    eq = raw.find(b"=", at)
    if eq < 0:
        return b""
    rest = raw[eq + 1:].lstrip(b" ")
    out = re.match(rb"[^\x00\n\r ]*", rest).group(0)
    return out[:39]


def valid_date(m):
    y, mo, d = int(m.group(1)), int(m.group(2)), int(m.group(3))
    return 1970 <= y <= 3000 and 1 <= mo <= 12 and 1 <= d <= 31


def category(v):
    if v[:1].isdigit():
        n = int(re.match(r"\d+", v).group(0))
        return n if 0 <= n <= 13 and n != 8 else None
    low = v.lower()
    for i, key in enumerate(CATEGORIES):
        probe = key[:4] if i == 0 else key
        if low.startswith(probe):
            return None if i == 8 else i
    return None


def check_header(b):
    for k in b.keys():
        if k not in HEADER_KEYS:
            fail(f"{b.where()}: unknown header key '{k}'")
    ver = b.get("version", "")
    if not ver:
        fail("header: 'version' is missing or empty")
    if len(ver) > 39 or " " in ver or "\t" in ver:
        fail(f"header: version '{ver}' must be at most 39 characters without spaces")
    season = b.get("temporada")
    if season is not None and not SEASON.search(season):
        fail(f"header: temporada '{season}' names no season code such as Y8S3")
    tu = b.get("tu")
    if tu is not None and not re.match(r"^(T.)?\d+$", tu):
        fail(f"header: tu '{tu}' is not a number (optionally 'TU' before it)")
    win = b.get("ventana")
    if win is not None and (not win.isdigit() or int(win) < 1):
        fail(f"header: ventana '{win}' must be a number of at least 1")
    url = b.get("url")
    if url is not None and not url.startswith("http"):
        fail(f"header: url '{url}' must begin with http")
    return ver


def check_block(b):
    kind = b.kind
    if kind not in LOCALIZED:
        fail(f"{b.where()}: unknown block kind '{kind}'")
    if len(b.fields) > MAX_FIELDS:
        fail(f"{b.where()}: {len(b.fields)} fields; the program keeps {MAX_FIELDS}")
    seen = {}
    for key, val, line in b.fields:
        where = f"{b.path}:{line}"
        base, dot, code = key.partition(".")
        if dot:
            if base not in LOCALIZED[kind] or code not in LANGS:
                fail(f"{where}: '{key}' is not a localized key of [{kind}]")
            seen.setdefault(base, set()).add(code)
        elif base in LOCALIZED[kind]:
            seen.setdefault(base, set()).update(LANGS)
        elif base not in PLAIN[kind]:
            fail(f"{where}: unknown key '{key}' in [{kind}]")
        if key in ("desde", "hasta"):
            m = DATE.match(val)
            if not m or not valid_date(m):
                fail(f"{where}: {key} '{val}' is not a date YYYY-MM-DD")
        elif key in ("inicio", "fin"):
            m = INSTANT.match(val)
            if not m or not valid_date(m):
                fail(f"{where}: {key} '{val}' is not 'YYYY-MM-DD HH:MM' (UTC)")
        elif key == "dias":
            if not re.search(r"[1-7]", val) or re.search(r"[089]", val):
                fail(f"{where}: dias '{val}' must list weekdays 1 (Monday) to 7 (Sunday)")
        elif key in ("aprox", "destacado", "checklist"):
            if not YES_NO.match(val):
                fail(f"{where}: {key} '{val}' is not a yes/no value")
        elif key in ("enlace", "twitch", "youtube"):
            if not val.startswith("https://"):
                fail(f"{where}: {key} '{val}' must be an https address")
        elif key == "video":
            if not re.fullmatch(r"[A-Za-z0-9_-]{11}", val):
                fail(f"{where}: video '{val}' is not a video id (11 characters of A-Z a-z 0-9 - _)")
        elif key == "segundo":
            if not re.fullmatch(r"\d{1,6}", val) or int(val) >= 360000:
                fail(f"{where}: segundo '{val}' is not a number of seconds below 360000")
        elif key == "cat":
            if category(val) is None:
                fail(f"{where}: cat '{val}' is not a library category")
        elif key == "temporada":
            if not SEASON.search(val):
                fail(f"{where}: temporada '{val}' names no season code")
        elif not val:
            fail(f"{where}: '{key}' is empty")
    for base, codes in seen.items():
        missing = [c for c in LANGS if c not in codes]
        if missing:
            fail(f"{b.where()}: '{base}' lacks the languages {', '.join(missing)}")
    if kind == "creador" and not b.get("nombre"):
        fail(f"{b.where()}: a creator needs 'nombre'")
    if kind in ("noticia", "guia") and "titulo" not in seen and "corto" not in seen:
        fail(f"{b.where()}: [{kind}] needs 'titulo' or 'corto'")
    if kind == "noticia" and b.get("inicio") and b.get("fin") and b.get("fin") < b.get("inicio"):
        fail(f"{b.where()}: fin lies before inicio")


def main():
    if len(sys.argv) != 3:
        fail("usage: gen_pack.py datos.txt out.cpp")
    src, out = sys.argv[1], sys.argv[2]
    with open(src, "rb") as f:
        raw = f.read()
    body = raw[3:] if raw.startswith(b"\xef\xbb\xbf") else raw
    if not body.startswith(MAGIC):
        fail(f"{src}: the pack must begin with '{MAGIC.decode()}'")
    try:
        text = body.decode("utf-8")
    except UnicodeDecodeError as e:
        fail(f"{src}: not UTF-8 ({e})")
    try:
        blocks = parse_text(text, src)
    except DataError as e:
        fail(str(e))
    if len(blocks) > MAX_BLOCKS:
        fail(f"{src}: {len(blocks) - 1} blocks; the program keeps {MAX_BLOCKS - 1}")
    ver = check_header(blocks[0])
    if version_of(body).decode("utf-8", "replace") != ver:
        fail(f"{src}: the installer would read the version as '{version_of(body).decode()}', not '{ver}'")
    for b in blocks[1:]:
        check_block(b)

    lines = ["// Generated by scripts/gen_pack.py from data/pack/datos.txt. Do not edit.",
             '#include "datapack/pack.h"', "", "extern const char PACK_BUILTIN[] ="]
    for chunk in body.decode("utf-8").splitlines(keepends=True):
        lines.append("    " + c_string(chunk))
    lines.append("    ;")
    lines.append(f"extern const unsigned PACK_BUILTIN_LEN = {len(body)}u;")
    lines.append("")
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
