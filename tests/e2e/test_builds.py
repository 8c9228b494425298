"""Build codes from outside: --importar-build=CODE at start-up, and a later start with a code
handing it to the running copy instead of showing the "already running" notice."""

import base64
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import *  # noqa: F401,F403
import harness as h

sys.path.insert(0, os.path.join(h.ROOT, "scripts"))
import gen_library  # noqa: E402

ENTRIES, _, _ = gen_library.check_dir(os.path.join(h.ROOT, "data", "library"))
KEYS = ["%d|%s" % (e.cat, e.title) for e in ENTRIES]


def fnv1a(key):
    v = 0x811C9DC5
    for b in key.encode("utf-8"):
        v = ((v ^ b) * 0x01000193) & 0xFFFFFFFF
    return v


def code(name, keys, extra=()):
    raw = name.encode("utf-8")
    hashes = [fnv1a(k) for k in keys] + list(extra)
    p = bytes([1, len(raw)]) + raw + bytes([len(hashes)]) + b"".join(x.to_bytes(4, "big") for x in hashes)
    return "ZV1-" + base64.urlsafe_b64encode(p).decode().rstrip("=")


def write_ini(text):
    os.makedirs(h.APPDATA, exist_ok=True)
    with open(h.INI, "wb") as f:
        f.write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))


class BuildCodes(h.ProgramTest):
    def test_code_on_the_command_line_and_from_a_second_start(self):
        mine = KEYS[0]
        write_ini("[ajustes]\nIdioma=es\n[estado]\ninstalado=1\nversion=8\n"
                  "[builds]\nn=1\nactual=0\nnombre0=Mía\n[build0]\nf0=1|%s\nf1=0|11|Noticia de un paquete\n" % mine)
        first = code("Striker raid", [KEYS[3], KEYS[40]], extra=[0x12345678])
        self.run_program("--importar-build=" + first)
        self.wait_started()
        self.assertTrue(h.wait_for(lambda: any(l.endswith("Build importada: «Striker raid», 2 piezas, 1 desconocidas")
                                               for l in h.log_lines()), 20), h.log_lines())
        ini = h.ini()
        self.assertEqual(dict(ini["builds"]), {"n": "2", "actual": "1", "nombre0": "Mía", "nombre1": "Striker raid"})
        self.assertEqual(ini["build1"], [("f0", "0|" + KEYS[3]), ("f1", "0|" + KEYS[40])])
        # the build that was current is left exactly as it was
        self.assertEqual(ini["build0"], [("f0", "1|" + mine), ("f1", "0|11|Noticia de un paquete")])

        # a second start with a code hands it over and ends (the notice box would keep it open)
        second = self.run_program('--importar-build=' + code("Striker raid", [KEYS[7]]))
        second.wait(30)
        self.assertTrue(h.wait_for(lambda: any("Build importada: «Striker raid (2)»" in l for l in h.log_lines()), 15))
        self.assertEqual(h.ini_get("builds", "n"), "3")
        self.assertEqual(h.ini_get("builds", "nombre2"), "Striker raid (2)")
        self.assertEqual(h.ini_get("build2", "f0"), "0|" + KEYS[7])
        self.assertEqual(len(h.program_pids()), 1, "the running copy goes on, alone")

        # a broken code changes nothing
        before = h.read_text(h.INI)
        bad = self.run_program("--importar-build=ZV1-AQ")
        bad.wait(30)
        self.assertTrue(h.wait_for(lambda: any("no hay ningún código válido" in l for l in h.log_lines()), 15))
        self.assertEqual(h.read_text(h.INI), before)


if __name__ == "__main__":
    unittest.main()
