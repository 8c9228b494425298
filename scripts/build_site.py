#!/usr/bin/env python3
"""Writes the program's web site into one folder, ready to copy to any static host:

  datos.txt         the data pack, the same text the program embeds (data/pack/datos.txt, checked
                    by the pack generator); its version changes only when its data does
  version.txt       the update manifest for this build (with the installer's sha256 when an
                    installer was built)
  imagenes/         the remote pictures under their published names (scripts/gen_images.py)
  index.html, sugerencias.html, capturas/   the pages (site/)
  descargas/        the installer when one was built, else the program itself

Usage: build_site.py [OUT]   (default build/site)"""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HOST = "https://zenvoral.app"

NOTES = {
    "es": "Datos y noticias al día cada seis horas, aviso de versiones nuevas y creadores en directo.",
    "en": "Data and news kept fresh every six hours, new-version notices and live creators.",
    "fr": "Données et nouvelles à jour toutes les six heures, avis de nouvelle version et créateurs en direct.",
    "de": "Daten und Neuigkeiten alle sechs Stunden aktuell, Hinweise auf neue Versionen und Live-Creator.",
    "it": "Dati e novità aggiornati ogni sei ore, avvisi di nuova versione e creator in diretta.",
    "pt": "Dados e novidades atualizados a cada seis horas, aviso de novas versões e criadores ao vivo.",
}


def fail(msg):
    sys.stderr.write("site: " + msg + "\n")
    sys.exit(1)


def program_version():
    with open(os.path.join(ROOT, "src", "base", "endpoints.h"), encoding="utf-8") as f:
        text = f.read()
    with open(os.path.join(ROOT, "src", "base", "version.cpp"), encoding="utf-8") as f:
        number = f.read()
    ver = re.search(r'ZV_VERSION = u"([^"]+)"', text)
    build = re.search(r"#define ZV_BUILD_NUMBER (\d+)", number)
    if not ver or not build:
        fail("the program's version is not in src/base/endpoints.h and version.cpp")
    return ver.group(1), int(build.group(1))


def find_download(version):
    """(path, published name): the installer when one was built, else the program."""
    for folder in ("build", "build/installer", "build/win64"):  # ./dev.sh package writes to build/
        d = os.path.join(ROOT, folder)
        if os.path.isdir(d):
            for n in sorted(os.listdir(d)):
                if re.fullmatch(r"Zenvoral-(Instalador|Setup)-.*\.exe", n):
                    return os.path.join(d, n), f"Zenvoral-Instalador-{version}.exe", True
    exe = os.path.join(ROOT, "build", "win64", "Zenvoral.exe")
    return (exe, "Zenvoral.exe", False) if os.path.isfile(exe) else (None, "Zenvoral.exe", False)


def main():
    out = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "site"))
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        # the pack: checked exactly as the program's build checks it, then published byte for byte
        src = os.path.join(ROOT, "data", "pack", "datos.txt")
        r = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen_pack.py"), src,
                            os.path.join(tmp, "pack.cpp")], capture_output=True, text=True)
        if r.returncode:
            fail("data/pack/datos.txt: " + (r.stderr or r.stdout).strip())
        with open(src, "rb") as f:
            pack = f.read()
        if pack.startswith(b"\xef\xbb\xbf"):
            pack = pack[3:]
        with open(os.path.join(out, "datos.txt"), "wb") as f:
            f.write(pack)

        images = os.path.join(ROOT, "data", "images")
        if os.path.isdir(images):
            r = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen_images.py"), images,
                                os.path.join(tmp, "img.cpp"), os.path.join(tmp, "img.rc"), "--site",
                                os.path.join(out, "imagenes")], capture_output=True, text=True)
            if r.returncode:
                fail("pictures: " + (r.stderr or r.stdout).strip())
        else:
            os.makedirs(os.path.join(out, "imagenes"), exist_ok=True)

    version, build = program_version()
    path, name, installer = find_download(version)
    downloads = os.path.join(out, "descargas")
    shutil.rmtree(downloads, ignore_errors=True)
    os.makedirs(downloads)
    lines = ["# ZENVORAL-VERSION", f"version = {version}", f"compilacion = {build}",
             f"instalador = {HOST}/descargas/{name}"]
    if path:
        shutil.copyfile(path, os.path.join(downloads, name))
        if installer:
            with open(path, "rb") as f:
                lines.append("sha256 = " + hashlib.sha256(f.read()).hexdigest())
    lines += [f"notas.{code} = {text}" for code, text in NOTES.items()]
    with open(os.path.join(out, "version.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")

    site = os.path.join(ROOT, "site")
    for page in ("index.html", "sugerencias.html"):
        with open(os.path.join(site, page), encoding="utf-8") as f:
            html = f.read()
        if re.search(r"""(src|href)\s*=\s*["'](https?:)?//""", html):
            fail(f"site/{page} loads something from another host")
        html = html.replace('href="descargas/Zenvoral.exe"', f'href="descargas/{name}"')
        with open(os.path.join(out, page), "w", encoding="utf-8", newline="\n") as f:
            f.write(html)
    shutil.rmtree(os.path.join(out, "capturas"), ignore_errors=True)
    shutil.copytree(os.path.join(site, "capturas"), os.path.join(out, "capturas"))
    missing = "" if path else " missing: build win64 first"
    print(f"site: {out} (program {version}, download {name}{missing})")


if __name__ == "__main__":
    main()
