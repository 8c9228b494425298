"""Builds the segment tables SEG_ES / SEG_TR from the built-in library and its translations.

Usage: gen_segments.py <data/library dir> <data/segmentos dir> <out.cpp> <list dir>

The Spanish segments are cut from every built-in library text the way the program cuts them
(and the player's video captions in data/videos/videos.txt are whole segments):
a title is one segment, a subtitle is cut at " · ", a body at line feeds (each piece trimmed of
spaces, tabs and CR), a table at tabs and line feeds (cells as written). Pieces of one byte and
pieces without a letter or a decimal separator between digits (15%, +5, 850) are not listed:
there is nothing to translate in them.

data/segmentos/<code>.txt (en, fr, de, it, pt) holds [segmento] blocks with the Spanish text
in `es` and its translation in `tr`. A missing or empty translation falls back to Spanish.

Written into the list dir for translators: es.txt (every Spanish segment, one a line) and
<code>.txt per language: the segments still to translate, as [segmento] blocks with an empty
`tr` that can be filled in and moved into data/segmentos/<code>.txt.

The build fails with "file:line: reason" when the table would break the lookup (segments not
sorted and unique, shorter than 2 or longer than 467 bytes, holding a line feed or a tab, or with
blanks at an edge), when a translation loses or adds a number or a % placeholder of its Spanish
segment, holds a line feed or a tab, or when a segment is translated twice in one file.
Translations of segments the library no longer has are counted and left out.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blocks  # noqa: E402
import gen_library  # noqa: E402
import gen_videos  # noqa: E402

LANGS = ("en", "fr", "de", "it", "pt")  # SEG_TR blocks, in the program's language order
SEG_MIN, SEG_MAX = 2, 467
BLANKS = " \t\r"
SUB_SEP = " \u00b7 "
PLACEHOLDER = re.compile(r"%(?:ls|s|d|%)")
DIGITS = re.compile(r"\d+")
LETTER = re.compile(r"[^\W\d_]")
DECIMAL = re.compile(r"\d[.,]\d")


def core(piece):
    """The piece without its leading and trailing blanks (space, tab, CR)."""
    return piece.strip(BLANKS)


def cut(entry):
    """Every segment of one library entry, as the program cuts it (empty pieces dropped)."""
    out = [core(entry.title)]
    out += [core(p) for p in entry.sub.split(SUB_SEP)]
    out += [core(p) for p in entry.text.split("\n")]
    if entry.table:
        for row in entry.table.split("\n"):
            out += row.split("\t")
    return [s for s in out if s]


def worth_listing(seg):
    return len(seg.encode("utf-8")) >= SEG_MIN and bool(LETTER.search(seg) or DECIMAL.search(seg))


def segment_errors(seg):
    """Why seg cannot be a table entry, or None."""
    n = len(seg.encode("utf-8"))
    if n < SEG_MIN or n > SEG_MAX:
        return f"is {n} bytes long (allowed {SEG_MIN}..{SEG_MAX})"
    if "\n" in seg or "\t" in seg:
        return "holds a line feed or a tab"
    if seg != seg.strip(" \t"):
        return "has a blank at an edge"
    return None


def numbers(s):
    """The digit runs of s, in order of size: '7,2%' and '7.2 %' give the same list."""
    return sorted(DIGITS.findall(s), key=lambda d: (len(d), d))


def translation_errors(es, tr):
    errs = []
    if "\n" in tr or "\t" in tr:
        errs.append("holds a line feed or a tab")
    if numbers(es) != numbers(tr):
        errs.append(f"numbers {numbers(tr)} differ from the Spanish {numbers(es)}")
    if PLACEHOLDER.findall(es) != PLACEHOLDER.findall(tr):
        errs.append(f"placeholders {PLACEHOLDER.findall(tr)} differ from the Spanish {PLACEHOLDER.findall(es)}")
    if es.count("%") != tr.count("%"):
        errs.append(f"has {tr.count('%')} % signs, the Spanish has {es.count('%')}")
    if tr != tr.strip(" \t"):
        errs.append("has a blank at an edge")
    return errs


def collect(library_dir):
    """(sorted unique Spanish segments, {segment: first 'file:line' that uses it}, errors)."""
    entries, _, errors = gen_library.check_dir(library_dir)
    where = {}
    for e in entries:
        for s in cut(e):
            if worth_listing(s):
                where.setdefault(s, f"{e.path}:{e.line}")
    # the player's video captions, each one whole segment, from data/videos beside the library
    videos = os.path.join(os.path.dirname(os.path.abspath(library_dir)), "videos", "videos.txt")
    if os.path.exists(videos):
        caps, _, verrs = gen_videos.check(videos)
        errors += verrs
        for _, cap, _ in caps:
            if worth_listing(cap):
                where.setdefault(cap, videos)
    for s, w in where.items():
        why = segment_errors(s)
        if why:
            errors.append(f"{w}: segment '{s[:40]}' {why}")
    segs = sorted(where, key=lambda s: s.encode("utf-8"))
    return segs, where, errors


def read_translations(seg_dir, known):
    """{lang: {es: tr}}, {lang: stale count}, errors."""
    table, stale, errors = {}, {}, []
    for lang in LANGS:
        table[lang], stale[lang] = {}, 0
        path = os.path.join(seg_dir, lang + ".txt")
        if not os.path.exists(path):
            continue
        try:
            bl = blocks.parse_file(path)
        except (blocks.DataError, OSError, UnicodeDecodeError) as e:
            errors.append(f"{path}:0: cannot read ({e})")
            continue
        if bl[0].fields:
            errors.append(f"{path}:{bl[0].fields[0][2]}: field outside a [segmento] block")
        seen = {}
        for b in bl[1:]:
            if b.kind != "segmento":
                errors.append(f"{b.where()}: unknown block [{b.kind}], expected [segmento]")
                continue
            keys = b.keys()
            if sorted(keys) != ["es", "tr"] and sorted(keys) != ["es"]:
                errors.append(f"{b.where()}: a [segmento] holds one 'es' and one 'tr', got {keys}")
                continue
            es, tr = b.get("es"), b.get("tr", "")
            if es in seen:
                errors.append(f"{b.where()}: '{es[:40]}' is already translated at line {seen[es]}")
                continue
            seen[es] = b.line
            if not tr:
                continue
            if es not in known:
                stale[lang] += 1
                continue
            for why in translation_errors(es, tr):
                errors.append(f"{b.where()}: translation of '{es[:40]}' {why}")
            table[lang][es] = tr
    return table, stale, errors


def check_sorted(segs):
    """The invariants the binary search needs; returns errors (none when collect() did its job)."""
    raw = [s.encode("utf-8") for s in segs]
    return [f"segments out of order or repeated at '{segs[i][:40]}'"
            for i in range(1, len(raw)) if raw[i - 1] >= raw[i]]


def render_cpp(segs, table):
    out = ["// Generated by scripts/gen_segments.py from data/library and data/segmentos. Do not edit.",
           '#include "l10n/tr.h"', ""]
    n = len(segs)
    out.append(f"const int SEG_N = {n};")
    if n == 0:
        out.append("const char* const SEG_ES[1] = {nullptr};")
        out.append("const char* const SEG_TR[1] = {nullptr};")
        return "\n".join(out) + "\n"
    out.append("const char* const SEG_ES[%d] = {" % n)
    out += ["    %s," % blocks.c_string(s) for s in segs]
    out.append("};")
    out.append("const char* const SEG_TR[%d] = {" % (n * len(LANGS)))
    for lang in LANGS:
        out.append(f"    // {lang}")
        for s in segs:
            tr = table[lang].get(s)
            out.append("    %s," % (blocks.c_string(tr) if tr else "nullptr"))
    out.append("};")
    return "\n".join(out) + "\n"


def escape(v):
    return v.replace("\\", "\\\\")


def write_lists(list_dir, segs, table):
    os.makedirs(list_dir, exist_ok=True)
    with open(os.path.join(list_dir, "es.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(s + "\n" for s in segs))
    for lang in LANGS:
        todo = [s for s in segs if s not in table[lang]]
        with open(os.path.join(list_dir, lang + ".txt"), "w", encoding="utf-8", newline="\n") as f:
            f.write(f"# Segmentos sin traducir ({lang}): {len(todo)} de {len(segs)}.\n")
            f.write(f"# Rellena 'tr' y pasa los bloques a data/segmentos/{lang}.txt.\n")
            for s in todo:
                f.write(f"\n[segmento]\nes = {escape(s)}\ntr =\n")


def write_if_changed(path, text):
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(tmp, path)


def generate(library_dir, seg_dir):
    """(segments, translations, stale counts, errors)."""
    segs, _, errors = collect(library_dir)
    table, stale, terrs = read_translations(seg_dir, set(segs))
    errors += terrs + check_sorted(segs)
    return segs, table, stale, errors


def main(argv):
    if len(argv) != 5:
        sys.stderr.write("usage: gen_segments.py <data/library> <data/segmentos> <out.cpp> <list dir>\n")
        return 2
    segs, table, stale, errors = generate(argv[1], argv[2])
    if errors:
        for e in errors:
            sys.stderr.write("segmentos: " + e + "\n")
        return 1
    write_if_changed(argv[3], render_cpp(segs, table))
    write_lists(argv[4], segs, table)
    counts = ", ".join(f"{lang} {len(table[lang])}" + (f" ({stale[lang]} stale)" if stale[lang] else "")
                       for lang in LANGS)
    print(f"segments: {len(segs)} Spanish; translated: {counts}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
