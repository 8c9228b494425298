"""Turns the built-in library files (data/library/*.txt) into the DB_BUILTIN table.

Usage: gen_library.py <data/library dir> <out.cpp>

Each file holds one category: a header with `cat` and `cuenta`, then `[entrada]` blocks with
titulo, sub, texto, enlace, imagen and the optional tabla, galeria and videos. Files are read in
name order; the table lists the entries grouped by category (ascending), in file order.
`ranuras.txt` is not a category: it gives the slot of every fixed weapon mod that has no entry of
its own in the mods category, one `[slot]` block per slot with `pieza = name` lines.

The build fails with "file:line: reason" when:
  - an entry lacks titulo, sub, texto or enlace, or the link does not start with https://;
  - a title repeats within its category;
  - a body line is not one of the forms the renderer draws (plain text, HEADING IN CAPITALS,
    "- " or "• " bullets, "1. " numbered items, or a lone value such as "15%" followed by its
    label line);
  - a table row has a different number of cells from its header row;
  - `cuenta` differs from the number of entries, or `cat` is outside 0..13;
  - a field key is unknown or given twice;
  - a subtitle repeats a tag ("Marca · Blindaje · Blindaje"), or a percentage lacks the space
    that Spanish puts before the sign ("15%" instead of "15 %");
  - a fixed weapon mod ("- Bocacha: Name (bonus)" in a body, or a row of a table headed
    Arma/Ranura/Pieza) sits in another slot than its record gives, or has no record: the record
    is its entry in the mods category or its line in ranuras.txt.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blocks  # noqa: E402

CATEGORIES = 14
ENTRY_KIND = "entrada"
HEADER_KEYS = ("cat", "cuenta")
REQUIRED = ("titulo", "sub", "texto", "enlace")
OPTIONAL = ("imagen", "tabla", "galeria", "videos")
ENTRY_KEYS = REQUIRED + OPTIONAL

# A lone value: "15%", "+10%", "-25%", "1.200", "0,5 s", "12 m", "8x".
VALUE_RE = re.compile(r"^[+\-]?\d+(?:[.,]\d+)*(?:\s?(?:%|m|s|x))?$")
NUMBERED_RE = re.compile(r"^\d+\. \S")
PERCENT_RE = re.compile(r"\d%")

SLOTS_FILE = "ranuras.txt"
SLOTS = ("Mira", "Cargador", "Bocacha", "Bajo el cañón")
MODS_CAT = 7
# The mods category names the slot first in the subtitle, the underbarrel one in full.
SUB_SLOT = {"Accesorio bajo el cañón": "Bajo el cañón"}
# "- Bocacha: Overclock Muzzle (+20 % de cadencia de disparo)"; names may hold "(8x)".
MOD_LINE_RE = re.compile(r"^- (%s): (.+?)(?: \([+\-][^()]*\))?$" % "|".join(SLOTS))
MOD_TABLE_HEAD = ("Arma", "Ranura", "Pieza")


class Entry:
    __slots__ = ("cat", "title", "sub", "text", "link", "image", "gal", "vid", "table",
                 "path", "line", "lines")


def shouted_start(s):
    """A line opening with a capitalised word of five letters or more and going on in lower case:
    someone meant a heading ("BONIFICACIONES de marca"). Short acronyms (SMG, RPM) are fine."""
    first = s.split(" ", 1)[0]
    return (len(first) >= 5 and first.isalpha() and first.isupper()
            and any(c.islower() for c in s))


def line_kind(s):
    """Classifies one body line: 'empty', 'value', 'bullet', 'numbered', 'heading', 'plain'."""
    if s == "":
        return "empty"
    if VALUE_RE.match(s):
        return "value"
    if s.startswith("- ") or s.startswith("\u2022 "):
        return "bullet"
    if NUMBERED_RE.match(s):
        return "numbered"
    letters = [c for c in s if c.isalpha()]
    if len(letters) >= 2 and all(c.isupper() for c in letters):
        return "heading"
    return "plain"


def body_errors(text):
    """Returns (line offset within the body, reason) for every malformed body line."""
    errs = []
    lines = text.split("\n")
    for i, s in enumerate(lines):
        if "\t" in s:
            errs.append((i, "tab inside the body (tables go in 'tabla')"))
            continue
        if s != s.strip():
            errs.append((i, f"body line {i + 1} has leading or trailing spaces"))
            continue
        kind = line_kind(s)
        if kind == "value":
            nxt = lines[i + 1] if i + 1 < len(lines) else None
            if nxt is None or line_kind(nxt) != "plain":
                errs.append((i, f"value line '{s}' must be followed by its label line"))
        elif kind == "plain":
            if s[0] == "\u2022" or (s[0] == "-" and not s[1:2].isdigit()):
                errs.append((i, f"bullet '{s[:20]}' needs a space after the mark"))
            elif s.endswith(":") and len(s) <= 40:
                errs.append((i, f"'{s}' reads as a heading: write headings in capitals, without a colon"))
            elif shouted_start(s):
                errs.append((i, f"heading '{s[:30]}' mixes capitals and lower case"))
        elif kind == "heading" and s.endswith(":"):
            errs.append((i, f"heading '{s}' must not end with a colon"))
    if lines and lines[0] == "":
        errs.append((0, "body starts with an empty line"))
    return errs


def table_errors(table):
    rows = table.split("\n")
    width = len(rows[0].split("\t"))
    errs = []
    if width < 2:
        errs.append("table header needs at least two cells")
    if len(rows) < 2:
        errs.append("table has a header but no rows")
    for n, r in enumerate(rows[1:], 2):
        cells = r.split("\t")
        if len(cells) != width:
            errs.append(f"table row {n} has {len(cells)} cells, the header has {width}")
        elif any(c.strip() == "" for c in cells):
            errs.append(f"table row {n} has an empty cell")
    return errs


def parse_pair(value):
    parts = value.split(",")
    if len(parts) != 2 or not all(p.strip().isdigit() for p in parts):
        return None
    return int(parts[0]), int(parts[1])


def check_file(path, errors):
    """Parses one category file; appends 'file:line: reason' strings to errors."""
    try:
        bl = blocks.parse_file(path)
    except blocks.DataError as e:
        errors.append(str(e))
        return None, []
    except (OSError, UnicodeDecodeError) as e:
        errors.append(f"{path}:0: cannot read ({e})")
        return None, []

    head = {}
    for k, v, line in bl[0].fields:
        if k not in HEADER_KEYS:
            errors.append(f"{path}:{line}: unknown header field '{k}' (only cat and cuenta go before the first entry)")
        elif k in head:
            errors.append(f"{path}:{line}: header field '{k}' given twice")
        elif not re.fullmatch(r"\d+", v):
            errors.append(f"{path}:{line}: '{k}' must be a whole number, got '{v}'")
        else:
            head[k] = int(v)
    for k in HEADER_KEYS:
        if not any(f[0] == k for f in bl[0].fields):
            errors.append(f"{path}:1: header field '{k}' missing")
    cat = head.get("cat")
    if cat is not None and not 0 <= cat < CATEGORIES:
        errors.append(f"{path}:{bl[0].fields[0][2]}: cat {cat} outside 0..{CATEGORIES - 1}")
        cat = None

    entries = []
    seen_titles = {}
    for b in bl[1:]:
        if b.kind != ENTRY_KIND:
            errors.append(f"{b.where()}: unknown block [{b.kind}], expected [{ENTRY_KIND}]")
            continue
        f = {}
        lines = {}
        for k, v, line in b.fields:
            if k not in ENTRY_KEYS:
                errors.append(f"{path}:{line}: unknown field '{k}'")
            elif k in f:
                errors.append(f"{path}:{line}: field '{k}' given twice in one entry")
            else:
                f[k] = v
                lines[k] = line
        bad = False
        for k in REQUIRED:
            if not f.get(k):
                errors.append(f"{b.where()}: entry '{f.get('titulo', '?')}' has no {k}")
                bad = True
        if bad:
            continue
        title = f["titulo"]
        if title in seen_titles:
            errors.append(f"{path}:{lines['titulo']}: title '{title}' already used at line {seen_titles[title]}")
        else:
            seen_titles[title] = lines["titulo"]
        if not f["enlace"].startswith("https://"):
            errors.append(f"{path}:{lines['enlace']}: link of '{title}' must start with https://")
        for off, why in body_errors(f["texto"]):
            errors.append(f"{path}:{lines['texto']}: '{title}': {why}")
        if "\n" in f["sub"] or "\t" in f["sub"]:
            errors.append(f"{path}:{lines['sub']}: subtitle of '{title}' must be a single line")
        tags = [t.strip().lower() for t in f["sub"].split("\u00b7")]
        if len(set(tags)) != len(tags):
            errors.append(f"{path}:{lines['sub']}: subtitle of '{title}' repeats a tag")
        for k in ("titulo", "sub", "texto", "tabla"):
            m = PERCENT_RE.search(f.get(k, ""))
            if m:
                errors.append(f"{path}:{lines[k]}: '{title}': write '{m.group(0)[0]} %' with a space before the sign")
        image = 0
        if "imagen" in f:
            if not re.fullmatch(r"\d+", f["imagen"]) or 0 < int(f["imagen"]) < 1000:
                errors.append(f"{path}:{lines['imagen']}: imagen must be 0 or a picture id from 1000")
            else:
                image = int(f["imagen"])
        pairs = {}
        for k in ("galeria", "videos"):
            pairs[k] = (0, 0)
            if k in f:
                p = parse_pair(f[k])
                if p is None:
                    errors.append(f"{path}:{lines[k]}: {k} must be 'first,count', got '{f[k]}'")
                else:
                    pairs[k] = p
        table = f.get("tabla")
        if table is not None:
            if table == "":
                errors.append(f"{path}:{lines['tabla']}: empty tabla (leave the field out instead)")
                table = None
            else:
                for why in table_errors(table):
                    errors.append(f"{path}:{lines['tabla']}: '{title}': {why}")
        e = Entry()
        e.cat, e.title, e.sub, e.text, e.link = cat, title, f["sub"], f["texto"], f["enlace"]
        e.image, e.gal, e.vid, e.table = image, pairs["galeria"], pairs["videos"], table
        e.path, e.line, e.lines = path, b.line, lines
        entries.append(e)

    count = head.get("cuenta")
    if count is not None and count != len(bl) - 1:
        errors.append(f"{path}:1: cuenta = {count} but the file has {len(bl) - 1} entries")
    return cat, entries


def read_slots(path, errors):
    """ranuras.txt: {mod name: (slot, 'file:line')}."""
    slots = {}
    try:
        bl = blocks.parse_file(path)
    except blocks.DataError as e:
        errors.append(str(e))
        return slots
    except (OSError, UnicodeDecodeError) as e:
        errors.append(f"{path}:0: cannot read ({e})")
        return slots
    for k, _, line in bl[0].fields:
        errors.append(f"{path}:{line}: field '{k}' outside a slot block")
    for b in bl[1:]:
        if b.kind not in SLOTS:
            errors.append(f"{b.where()}: unknown slot [{b.kind}], expected one of {', '.join(SLOTS)}")
            continue
        for k, v, line in b.fields:
            if k != "pieza" or not v:
                errors.append(f"{path}:{line}: expected 'pieza = name'")
            elif v in slots:
                errors.append(f"{path}:{line}: '{v}' already listed at {slots[v][1]}")
            else:
                slots[v] = (b.kind, f"{path}:{line}")
    return slots


def mod_slot_errors(entries, slots):
    """Every fixed mod named in a body or a fixed-mods table must sit in the slot of its record."""
    records = dict(slots)
    for e in entries:
        if e.cat == MODS_CAT:
            slot = e.sub.split(" \u00b7 ")[0]
            records.setdefault(e.title, (SUB_SLOT.get(slot, slot), f"{e.path}:{e.line}"))
    uses = []  # (slot, name, where, title)
    for e in entries:
        for s in e.text.split("\n"):
            m = MOD_LINE_RE.match(s)
            if m:
                uses.append((m.group(1), m.group(2), f"{e.path}:{e.lines['texto']}", e.title))
        if e.table and tuple(e.table.split("\n", 1)[0].split("\t")[:3]) == MOD_TABLE_HEAD:
            for row in e.table.split("\n")[1:]:
                cells = row.split("\t")
                if len(cells) < 3:
                    continue  # a short row is reported by the table check
                uses.append((cells[1], cells[2], f"{e.path}:{e.lines['tabla']}", f"{e.title}: {cells[0]}"))
    errors = []
    for slot, name, where, title in uses:
        rec = records.get(name)
        if rec is None:
            errors.append(f"{where}: '{title}': fixed mod '{name}' has no slot record "
                          f"(an entry in the mods category or a line in {SLOTS_FILE})")
        elif rec[0] != slot:
            errors.append(f"{where}: '{title}': '{name}' is a {rec[0]} mod ({rec[1]}), not {slot}")
    return errors


def check_dir(folder):
    """Reads every *.txt in folder. Returns (entries in table order, per-category counts, errors)."""
    errors = []
    try:
        names = sorted(n for n in os.listdir(folder) if n.endswith(".txt"))
    except OSError as e:
        return [], [0] * CATEGORIES, [f"{folder}:0: cannot list ({e})"]
    by_cat = {}
    slots = {}
    for n in names:
        if n == SLOTS_FILE:
            slots = read_slots(os.path.join(folder, n), errors)
            continue
        cat, entries = check_file(os.path.join(folder, n), errors)
        if cat is not None:
            by_cat.setdefault(cat, []).extend(entries)
    for cat, entries in by_cat.items():
        first = {}
        for e in entries:  # the same title in two files of one category
            if e.title in first and first[e.title].path != e.path:
                errors.append(f"{e.path}:{e.line}: title '{e.title}' also in {first[e.title].path}")
            first.setdefault(e.title, e)
    ordered = [e for c in sorted(by_cat) for e in by_cat[c]]
    errors += mod_slot_errors(ordered, slots)
    per_cat = [len(by_cat.get(c, [])) for c in range(CATEGORIES)]
    return ordered, per_cat, errors


def lit_or_null(s):
    return "nullptr" if s is None else blocks.c_string(s)


def render_cpp(entries, per_cat):
    out = ["// Generated by scripts/gen_library.py from data/library/*.txt. Do not edit.",
           '#include "library/libentry.h"', ""]
    if entries:
        out.append("const LibEntry DB_BUILTIN[] = {")
        for e in entries:
            out.append("    {%d, %s, %s, %s, %s, %d, %d, %d, %s, %d, %d}," % (
                e.cat, blocks.c_string(e.title), blocks.c_string(e.sub), blocks.c_string(e.text),
                blocks.c_string(e.link), e.image, e.gal[0], e.gal[1], lit_or_null(e.table),
                e.vid[0], e.vid[1]))
        out.append("};")
    else:  # an array cannot be empty; the count says there is nothing in it
        out.append('const LibEntry DB_BUILTIN[1] = {{0, "", "", "", nullptr, 0, 0, 0, nullptr, 0, 0}};')
    out.append(f"const int DB_BUILTIN_N = {len(entries)};")
    out.append("const int DB_BUILTIN_PER_CAT[14] = {%s};" % ", ".join(str(n) for n in per_cat))
    return "\n".join(out) + "\n"


def generate(folder, out_path):
    """Checks folder and writes out_path. Returns (per-category counts, errors); writes nothing on error."""
    entries, per_cat, errors = check_dir(folder)
    if errors:
        return per_cat, errors
    text = render_cpp(entries, per_cat)
    tmp = out_path + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    os.replace(tmp, out_path)
    return per_cat, []


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: gen_library.py <data/library dir> <out.cpp>\n")
        return 2
    per_cat, errors = generate(argv[1], argv[2])
    if errors:
        for e in errors:
            sys.stderr.write("biblioteca: " + e + "\n")
        return 1
    counts = ", ".join(f"{c}:{n}" for c, n in enumerate(per_cat) if n)
    print(f"built-in library: {sum(per_cat)} entries ({counts or 'none'})")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
