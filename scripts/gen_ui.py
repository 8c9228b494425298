"""Turns data/ui/textos.txt into the UI_TXT table (UI_COUNT ids x 6 languages, row-major).
UI_COUNT is read from src/l10n/ui.h, so a new text means a block at the end of textos.txt and
the count raised there.

Checks, failing the build with file:line and the reason:
  - every id 0..UI_COUNT-1 appears exactly once, each with a Spanish text (17 is empty everywhere);
  - every language present carries the Spanish placeholders (%ls, %d, %%) in the same order;
  - line breaks and tabs are kept: the same number of each as the Spanish text.
A language that is missing for an id is emitted empty, and the program falls back to English.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blocks  # noqa: E402

LANGS = ["es", "en", "fr", "de", "it", "pt"]


def ui_count():
    """UI_COUNT as src/l10n/ui.h declares it."""
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "src", "l10n", "ui.h"), encoding="utf-8") as f:
        m = re.search(r"constexpr int UI_COUNT = (\d+);", f.read())
    if not m:
        blocks.fail("src/l10n/ui.h: no 'constexpr int UI_COUNT = N;'")
    return int(m.group(1))


COUNT = ui_count()
PLACEHOLDER = re.compile(r"%ls|%d|%%|%[^%]")


def placeholders(s):
    return PLACEHOLDER.findall(s)


def check(path):
    """Returns (table, errors): table[id][lang] = text or None."""
    errors = []
    table = {}
    bl = blocks.parse_file(path)
    if bl[0].fields:
        errors.append(f"{path}:{bl[0].fields[0][2]}: field outside a [texto] block")
    for b in bl[1:]:
        if b.kind != "texto":
            errors.append(f"{b.where()}: unknown block [{b.kind}]")
            continue
        raw_id = b.get("id")
        if raw_id is None or not raw_id.isdigit() or int(raw_id) >= COUNT:
            errors.append(f"{b.where()}: id missing or outside 0..{COUNT - 1}")
            continue
        tid = int(raw_id)
        if tid in table:
            errors.append(f"{b.where()}: id {tid} appears twice")
            continue
        row = {}
        for k, v, line in b.fields:
            if k == "id":
                continue
            if k not in LANGS:
                errors.append(f"{path}:{line}: unknown language key '{k}'")
            elif k in row:
                errors.append(f"{path}:{line}: id {tid} has '{k}' twice")
            else:
                row[k] = v
        es = row.get("es")
        if es is None:
            errors.append(f"{b.where()}: id {tid} has no Spanish text")
            table[tid] = row
            continue
        if tid == 17:
            for k, v in row.items():
                if v:
                    errors.append(f"{b.where()}: id 17 must stay empty ('{k}')")
        elif not es:
            errors.append(f"{b.where()}: id {tid} has an empty Spanish text")
        want = placeholders(es)
        for k, v in row.items():
            if k == "es" or not v:
                continue
            got = placeholders(v)
            if got != want:
                errors.append(f"{b.where()}: id {tid} '{k}' placeholders {got} differ from Spanish {want}")
            for ch, name in (("\t", "tabs"), ("\n", "line breaks")):
                if v.count(ch) != es.count(ch):
                    errors.append(f"{b.where()}: id {tid} '{k}' has {v.count(ch)} {name}, Spanish has {es.count(ch)}")
        table[tid] = row
    missing = [i for i in range(COUNT) if i not in table]
    if missing:
        errors.append(f"{path}: ids missing: {missing[:20]}")
    return table, errors


def emit(table, out):
    lines = ["// Generated from data/ui/textos.txt. Do not edit.", "#include \"l10n/ui.h\"",

             "const char* const UI_TXT[%d] = {" % (COUNT * 6)]
    for tid in range(COUNT):
        row = table[tid]
        cells = [blocks.c_string(row.get(lang) or "") for lang in LANGS]
        lines.append("    /* %3d */ %s," % (tid, ", ".join(cells)))
    lines.append("};")
    text = "\n".join(lines) + "\n"
    if os.path.exists(out) and open(out, encoding="utf-8").read() == text:
        return
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


def main(argv):
    if len(argv) != 3:
        blocks.fail("usage: gen_ui.py textos.txt out.cpp")
    try:
        table, errors = check(argv[1])
    except blocks.DataError as e:
        blocks.fail(str(e))
    if errors:
        blocks.fail("\n".join(errors))
    emit(table, argv[2])
    filled = {lang: sum(1 for t in table.values() if t.get(lang)) for lang in LANGS}
    print("UI texts: " + ", ".join(f"{k} {v}" for k, v in filled.items()))


if __name__ == "__main__":
    main(sys.argv)
