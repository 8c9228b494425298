"""Start-up and command line of the real program: the first start's files, log rotation, autostart
and welcome tour; the detected language, a second copy's notice and a run-only language; a build
code at start-up and from a second start handed to the running copy; a data pack given with
--importar= on the very command line (a quoted path with a space; a path too long is refused)."""

import base64
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401

sys.path.insert(0, os.path.join(h.ROOT, "scripts"))
import gen_library  # noqa: E402

KEYS = ["%d|%s" % (e.cat, e.title) for e in gen_library.check_dir(os.path.join(h.ROOT, "data", "library"))[0]]
PACK = ("# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\ntu = 40\n\n"
        "[noticia]\ntitulo.es = Prueba de importación\ntitulo.en = Import test\ntexto = línea\\nsegunda\n")
DATOS = os.path.join(h.APPDATA, "datos.txt")


def code(name, keys, extra=()):
    """A build code: version 1, the name, then the FNV-1a hashes of the pieces' keys."""
    def fnv1a(key):
        v = 0x811C9DC5
        for b in key.encode("utf-8"):
            v = ((v ^ b) * 0x01000193) & 0xFFFFFFFF
        return v
    raw, hashes = name.encode("utf-8"), [fnv1a(k) for k in keys] + list(extra)
    p = bytes([1, len(raw)]) + raw + bytes([len(hashes)]) + b"".join(x.to_bytes(4, "big") for x in hashes)
    return "ZV1-" + base64.urlsafe_b64encode(p).decode().rstrip("=")


def write(folder, name, text):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return os.path.join(folder, name)


class Startup(h.ProgramTest):
    def test_first_start(self):
        write(h.APPDATA, "registro.txt", "x" * (600 * 1024))  # a log grown too big is put aside
        self.run_program(local_only=False)  # a first start as players have it; ended within 15 s
        self.wait_started()
        self.assertEqual(os.path.getsize(h.LOG + ".anterior"), 600 * 1024)
        with open(h.INI, "rb") as f:
            self.assertEqual(f.read(2), b"\xff\xfe", "settings file is UTF-16 with a byte-order mark")
        self.assertEqual([k for k, _ in h.ini()["ajustes"]],
                         ["ProcesoJuego", "HoraReinicio", "Opacidad", "TeclaEditar", "TeclaOcultar",
                          "TeclaBiblioteca", "TeclaSalir", "Idioma"])
        self.assertEqual(h.ini_get("estado", "instalado"), "1")
        self.assertEqual(h.wait_for(lambda: h.ini_get("estado", "version"), 5), "8")  # after the tray icon
        self.assertRegex(h.log_lines()[0],
                         r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  Inicio 0\.0\.9 \(9\) · idioma Español · escala 100%$")
        self.assertEqual(len(h.log_lines()), 1)
        # the overlay stays hidden without the game; the one window shown is the welcome tour
        self.assertEqual([h.geometry(w)[2] for w in h.wait_for(h.windows, 10)], [720])
        self.assertEqual(h.ini_get("estado", "bienvenida"), "1")
        value = h.reg_value(r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run", "Zenvoral")
        self.assertRegex(value or "", r'^"[A-Z]:\\.*\\Zenvoral\.exe"$', "autostart points at the program, quoted")

    def test_detected_language_second_copy_and_run_only_override(self):
        self.run_program(lang="de_DE.UTF-8")
        self.wait_started()
        self.assertIn("idioma Deutsch", h.log_lines()[0])
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "de")
        # a second copy shows its notice and leaves the first alone
        first = h.program_pids()
        second = self.run_program()
        box = h.wait_for(lambda: [w for w in h.windows() if h.geometry(w)[2] not in (0, 720)
                                  and h.geometry(w)[1] > 100], 15)
        self.assertTrue(box, "no notice box from the second copy")
        h.key("Return", box[0])
        second.wait(15)
        self.assertEqual(h.program_pids(), first)
        self.assertEqual(sum("Inicio" in l for l in h.log_lines()), 1)
        h.kill_all()
        self.run_program("--prueba", "--prueba-biblioteca", "--idioma=en", lang="de_DE.UTF-8")
        self.assertTrue(h.window("^SHD Library$"), "the library in English")
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "de", "the override is for the run only")

    def test_build_code_at_start_and_from_a_second_start(self):
        mine = [("f0", "1|" + KEYS[0]), ("f1", "0|11|Noticia de un paquete")]
        h.write_ini({"ajustes": [("Idioma", "es")], "estado": [("instalado", "1"), ("version", "8")],
                     "builds": [("n", "1"), ("actual", "0"), ("nombre0", "Mía")], "build0": mine})
        self.run_program("--importar-build=" + code("Striker raid", [KEYS[3], KEYS[40]], extra=[0x12345678]))
        self.wait_started()
        self.assertTrue(h.logged("Build importada: «Striker raid», 2 piezas, 1 desconocidas", 20), h.log_lines())
        ini = h.ini()
        self.assertEqual(dict(ini["builds"]), {"n": "2", "actual": "1", "nombre0": "Mía", "nombre1": "Striker raid"})
        self.assertEqual(ini["build1"], [("f0", "0|" + KEYS[3]), ("f1", "0|" + KEYS[40])])
        self.assertEqual(ini["build0"], mine, "the build that was current is left exactly as it was")
        # a second start with a code hands it over and ends (the notice box would keep it open)
        self.run_program("--importar-build=" + code("Striker raid", [KEYS[7]])).wait(30)
        self.assertTrue(h.logged("Build importada: «Striker raid (2)»"), h.log_lines())
        self.assertEqual(h.ini()["build2"], [("f0", "0|" + KEYS[7])])
        self.assertEqual(len(h.program_pids()), 1, "the running copy goes on, alone")
        # a broken code changes nothing
        before = h.read_text(h.INI)
        self.run_program("--importar-build=ZV1-AQ").wait(30)
        self.assertTrue(h.logged("no hay ningún código válido"), h.log_lines())
        self.assertEqual(h.read_text(h.INI), before)

    def start_exactly(self, cmdline):
        """Starts the program with this very command line (after the program's path)."""
        h.keep_local()
        spec = write(os.path.join(h.ROOT, "build"), "e2e-cmdline.txt", f'"{h.wine_path(h.EXE)}" {cmdline}')
        self.procs.append(subprocess.Popen([h.RUNNER, h.PROBE, "start", h.wine_path(spec), h.wine_path(spec + ".out")],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.wait_started()

    def test_pack_from_a_quoted_path_with_options_after_it(self):
        src = write(os.path.join(h.ROOT, "build", "e2e files"), "nuevo pack.txt", "\ufeff" + PACK)
        self.start_exactly(f'--importar="{h.wine_path(src)}" --prueba edicion')
        self.assertTrue(h.logged("Datos: importado"), h.log_lines())
        self.assertEqual(h.read_text(DATOS), PACK, "installed without the byte-order mark")
        self.assertTrue(h.wait_for(h.windows, 10), "--prueba edicion took effect too")

    def test_a_pack_path_too_long_is_refused_not_cut(self):
        # the first 259 characters name a real pack: a cut path would install it
        folder = os.path.join(h.ROOT, "build", "e2e-largo")
        base = h.wine_path(folder) + "\\"
        name = "p" * (259 - len(base))
        write(folder, name, PACK)
        self.start_exactly(f'--prueba --importar={base}{name}{"q" * 30}')
        self.assertTrue(h.logged("(máximo 259); no se importa"), h.log_lines())
        self.assertFalse(os.path.exists(DATOS))


if __name__ == "__main__":
    unittest.main(verbosity=2)
