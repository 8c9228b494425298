"""Data pack on the real program: a pack given with --importar= is installed as datos.txt,
a file that is no pack changes nothing."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

PACK = ("# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\ntu = 40\n\n"
        "[noticia]\ntitulo.es = Prueba de importación\ntitulo.en = Import test\ntexto = línea\\nsegunda\n")


def wine_path(p):
    return "Z:" + p.replace("/", "\\")


class PackImport(h.ProgramTest):
    def write(self, name, text):
        folder = os.path.join(h.ROOT, "build", "e2e files")  # a space in the path on purpose
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        return path

    def test_import_option_installs_a_valid_pack(self):
        src = self.write("nuevo pack.txt", "\ufeff" + PACK)
        self.run_program("--prueba", "--importar=" + wine_path(src))
        self.wait_started()
        target = os.path.join(h.APPDATA, "datos.txt")
        self.assertTrue(h.wait_for(lambda: os.path.exists(target), 10))
        with open(target, encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(), PACK)  # without the byte-order mark
        self.assertFalse(os.path.exists(target + ".nuevo"))

    def test_import_option_ignores_what_is_no_pack(self):
        src = self.write("no es un pack.txt", "version = 2099-01-01\n")
        self.run_program("--prueba", "--importar=" + wine_path(src))
        self.wait_started()
        self.assertTrue(h.wait_for(lambda: any("no es un paquete de datos válido" in l for l in h.log_lines()), 10))
        self.assertFalse(os.path.exists(os.path.join(h.APPDATA, "datos.txt")))

    def start_exactly(self, cmdline):
        """Starts the program with this very command line (after the program's path)."""
        h.keep_local()
        spec = os.path.join(h.ROOT, "build", "e2e-cmdline.txt")
        out = os.path.join(h.ROOT, "build", "e2e-start.txt")
        with open(spec, "w", encoding="utf-8") as f:
            f.write(f'"{wine_path(h.EXE)}" {cmdline}')
        self.procs.append(subprocess.Popen([h.RUNNER, h.PROBE, "start", wine_path(spec), wine_path(out)],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.wait_started()

    def test_options_after_a_quoted_path_are_no_part_of_it(self):
        src = self.write("nuevo pack.txt", PACK)
        self.start_exactly(f'--importar="{wine_path(src)}" --prueba edicion')
        target = os.path.join(h.APPDATA, "datos.txt")
        self.assertTrue(h.wait_for(lambda: os.path.exists(target), 10))
        self.assertTrue(h.wait_for(lambda: any("Datos: importado" in l for l in h.log_lines()), 10))
        self.assertTrue(h.windows())  # --prueba edicion took effect too

    def test_a_path_too_long_is_refused_not_cut(self):
        # the first 259 characters name a real pack: a cut path would install it
        folder = os.path.join(h.ROOT, "build", "e2e-largo")
        os.makedirs(folder, exist_ok=True)
        base = wine_path(folder) + "\\"
        name = "p" * (259 - len(base))
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write(PACK)
        self.start_exactly(f'--prueba --importar={base}{name}{"q" * 30}')
        self.assertTrue(h.wait_for(lambda: any("(máximo 259); no se importa" in l for l in h.log_lines()), 10))
        self.assertFalse(os.path.exists(os.path.join(h.APPDATA, "datos.txt")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
