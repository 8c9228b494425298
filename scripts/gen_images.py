"""Turns data/images/ into the picture tables and resources.

Usage: gen_images.py <data/images dir> <out.cpp> <out.rc> [--site <dir>]

  embedded/<id>.png|.jpg  compiled into the program as RCDATA resource <id> (1000 and up);
  remote/<id>.jpg         the catalogue of remote pictures (3000 and up): each is published as
                          "<first 20 hex digits of its SHA-256>.jpg" with its exact size, so a
                          downloaded file can be checked against its own name;
  galeria.txt             [imagen] blocks, in gallery order: id (a remote or embedded picture),
                          pie (caption in Spanish, optional).
The built-in library beside it (../library/*.txt) is checked against these: every `imagen` must
be an embedded picture and every `galeria = first,count` must lie inside the gallery.

Writes IMGREMOTE (sorted by id), GALID, GALCAP into out.cpp and the resource lines into out.rc.
With --site, copies every remote picture into <dir> under its published name (what the web
site serves under /imagenes/).

The build fails with "file: reason" when a file name is not a number in its range, an id is
given twice, a picture is not the PNG or JPEG its name says (remote ones must be JPEG), a file is
empty or over 32 MiB, a gallery row names a picture that does not exist, or a library entry
names a picture or gallery rows that do not exist.
"""

import hashlib
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blocks  # noqa: E402

PNG = b"\x89PNG\r\n\x1a\n"
JPEG = b"\xff\xd8\xff"
MAX_SIZE = 32 << 20


def kind_of(data):
    if data.startswith(PNG):
        return "png"
    if data.startswith(JPEG):
        return "jpg"
    return None


def published_name(data):
    return hashlib.sha256(data).hexdigest()[:20] + ".jpg"


def scan(folder, lo, hi, exts, errors):
    """{id: (path, bytes)} of the pictures in folder whose names are ids in [lo, hi]."""
    out = {}
    if not os.path.isdir(folder):
        return out
    for n in sorted(os.listdir(folder)):
        path = os.path.join(folder, n)
        m = re.fullmatch(r"(\d+)\.(png|jpg)", n)
        if not m:
            errors.append(f"{path}: name must be <id>.png or <id>.jpg")
            continue
        pid, ext = int(m.group(1)), m.group(2)
        if not lo <= pid <= hi:
            errors.append(f"{path}: id {pid} outside {lo}..{hi}")
            continue
        if ext not in exts:
            errors.append(f"{path}: only {' or '.join(exts)} here")
            continue
        with open(path, "rb") as f:
            data = f.read()
        if not data or len(data) > MAX_SIZE:
            errors.append(f"{path}: {len(data)} bytes (1 to {MAX_SIZE} allowed)")
            continue
        if kind_of(data) != ext:
            errors.append(f"{path}: the bytes are not a {ext.upper()} picture")
            continue
        if pid in out:
            errors.append(f"{path}: id {pid} given twice")
            continue
        out[pid] = (path, data)
    return out


def read_gallery(path, known, errors):
    rows = []
    if not os.path.exists(path):
        return rows
    try:
        bl = blocks.parse_file(path)
    except blocks.DataError as e:
        errors.append(str(e))
        return rows
    for b in bl[1:]:
        if b.kind != "imagen":
            errors.append(f"{b.where()}: unknown block [{b.kind}], expected [imagen]")
            continue
        for k in b.keys():
            if k not in ("id", "pie"):
                errors.append(f"{b.where()}: unknown field '{k}'")
        v = b.get("id", "")
        if not re.fullmatch(r"\d+", v) or int(v) not in known:
            errors.append(f"{b.where()}: id '{v}' names no picture in embedded/ or remote/")
            continue
        rows.append((int(v), b.get("pie", "")))
    return rows


def check_library(folder, embedded, gal_n, errors):
    lib = os.path.join(os.path.dirname(os.path.abspath(folder)), "library")
    if not os.path.isdir(lib):
        return
    for n in sorted(os.listdir(lib)):
        if not n.endswith(".txt"):
            continue
        try:
            bl = blocks.parse_file(os.path.join(lib, n))
        except (blocks.DataError, OSError, UnicodeDecodeError):
            continue  # the library's own generator reports it
        for b in bl[1:]:
            img = b.get("imagen", "0")
            if re.fullmatch(r"\d+", img) and int(img) != 0 and int(img) not in embedded:
                errors.append(f"{b.where()}: imagen {img} is not in embedded/")
            m = re.fullmatch(r"\s*(\d+)\s*,\s*(\d+)\s*", b.get("galeria", "0,0"))
            if m and int(m.group(2)) > 0 and int(m.group(1)) + int(m.group(2)) > gal_n:
                errors.append(f"{b.where()}: galeria {m.group(1)},{m.group(2)} goes past the "
                              f"{gal_n} gallery rows")


def generate(folder, out_cpp, out_rc, site=None):
    errors = []
    embedded = scan(os.path.join(folder, "embedded"), 1000, 65535, ("png", "jpg"), errors)
    remote = scan(os.path.join(folder, "remote"), 3000, 65535, ("jpg",), errors)
    gallery = read_gallery(os.path.join(folder, "galeria.txt"), set(embedded) | set(remote), errors)
    check_library(folder, embedded, len(gallery), errors)
    if errors:
        return errors

    cpp = ["// Generated by scripts/gen_images.py from data/images/. Do not edit.",
           '#include "images/imgcat.h"', ""]
    rows = [(pid, published_name(data), len(data)) for pid, (_, data) in sorted(remote.items())]
    if rows:
        cpp.append("const ImgRemote IMGREMOTE[] = {")
        cpp += [f'    {{{pid}, "{name}", {size}u}},' for pid, name, size in rows]
        cpp.append("};")
    else:
        cpp.append('const ImgRemote IMGREMOTE[1] = {{0, "", 0u}};')
    cpp.append(f"const int IMGREMOTE_N = {len(rows)};")
    if gallery:
        cpp.append("const int GALID[] = {%s};" % ", ".join(str(g[0]) for g in gallery))
        cpp.append("const char* const GALCAP[] = {%s};" % ", ".join(blocks.c_string(g[1]) for g in gallery))
    else:
        cpp.append("const int GALID[1] = {0};")
        cpp.append('const char* const GALCAP[1] = {""};')
    cpp.append(f"const int GAL_N = {len(gallery)};")

    rc = ["// Generated by scripts/gen_images.py: embedded pictures as RCDATA."]
    for pid, (path, _) in sorted(embedded.items()):
        rc.append('%d RCDATA "%s"' % (pid, os.path.abspath(path).replace("\\", "/")))

    for out, lines in ((out_cpp, cpp), (out_rc, rc)):
        tmp = out + ".tmp"
        with open(tmp, "w", encoding="ascii", newline="\n") as f:
            f.write("\n".join(lines) + "\n")
        os.replace(tmp, out)
    if site:
        os.makedirs(site, exist_ok=True)
        keep = set()
        for pid, (path, data) in remote.items():
            keep.add(published_name(data))
            shutil.copyfile(path, os.path.join(site, published_name(data)))
        for n in os.listdir(site):  # pictures of an older catalogue
            if re.fullmatch(r"[0-9a-f]{20}\.jpg", n) and n not in keep:
                os.remove(os.path.join(site, n))
    print(f"pictures: {len(embedded)} embedded, {len(rows)} remote "
          f"({sum(r[2] for r in rows)} bytes), {len(gallery)} gallery rows")
    return []


def main(argv):
    args = argv[1:]
    site = None
    if "--site" in args:
        i = args.index("--site")
        if i + 1 >= len(args):
            sys.stderr.write(__doc__)
            return 2
        site = args[i + 1]
        del args[i:i + 2]
    if len(args) != 3:
        sys.stderr.write(__doc__)
        return 2
    errors = generate(args[0], args[1], args[2], site)
    for e in errors:
        sys.stderr.write("imagenes: " + e + "\n")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
