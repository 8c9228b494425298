"""Fresh data without a release, on the real program against the local web server: the first
timer tick fetches a newer pack (installed, news changed, no .descarga left) and a newer
manifest (the overlay's update banner); a cut or invalid pack changes nothing; manual checks
report in balloons (written to the log). Every address points at 127.0.0.1."""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule as _setup, tearDownModule as _teardown  # noqa: E402
from server import TestServer  # noqa: E402

SITE = os.path.join(h.ROOT, "build", "site")
FILES = os.path.join(h.ROOT, "build", "e2e-refresh")
srv = None

NEWER = ("# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\ntu = 40\n\n"
         "[noticia]\ndestacado = sí\ntitulo.es = Paquete de prueba servido en local\n"
         "titulo.en = Test pack served locally\ntexto = Una noticia\n"
         # as many news as the overlay shows, so the news rows keep their number whatever the day adds
         "\n[noticia]\ntitulo.es = Segunda noticia de prueba\ntitulo.en = Second test news\n"
         "\n[noticia]\ntitulo.es = Tercera noticia de prueba\ntitulo.en = Third test news\n")
MANIFEST = ("# ZENVORAL-VERSION\nversion = 0.1.0\ncompilacion = 10\n"
            "instalador = http://127.0.0.1:9/Zenvoral-0.1.0.exe\nnotas = Prueba\n")


def setUpModule():
    global srv
    _setup()
    shutil.rmtree(FILES, ignore_errors=True)
    os.makedirs(FILES)
    for name, text in (("nuevo/datos.txt", NEWER), ("nuevo/version.txt", MANIFEST),
                       ("invalido/datos.txt", "<html>no es un paquete</html>\n"),
                       ("vacio/version.txt", "# ZENVORAL-VERSION\nversion = 0.0.9\n")):
        os.makedirs(os.path.dirname(os.path.join(FILES, name)), exist_ok=True)
        with open(os.path.join(FILES, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    # the local copy of the site (./dev.sh site) when there is one, under the test's own files
    srv = TestServer(FILES, SITE).start()


def tearDownModule():
    if srv:
        srv.stop()
    _teardown()


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-refresh-" + name + ".png"))


def descarga():
    return os.path.join(h.APPDATA, "datos.txt.descarga")


def datos():
    return os.path.join(h.APPDATA, "datos.txt")


class Refresh(h.ProgramTest):
    def start_with(self, urls, *args):
        h.set_settings(urls)
        self.run_program("--prueba", "edicion", *args)
        self.wait_started()
        return h.wait_for(lambda: h.windows(), 20)[0]

    def logged(self, text, timeout=40):
        return h.wait_for(lambda: any(text in l for l in h.log_lines()), timeout, 0.5)

    def test_first_tick_installs_a_newer_pack_and_shows_the_update_banner(self):
        srv.requests.clear()
        win = self.start_with({"URLDatos": srv.url("nuevo/datos.txt"), "URLVersion": srv.url("nuevo/version.txt"),
                               "URLDirecto": srv.url("directo/"), "URLImagenes": srv.url("imagenes/")})
        time.sleep(1)
        before = h.geometry(win)
        first = shot("before")
        t0 = time.time()
        self.assertTrue(self.logged("Datos: instalada la versión 2099-01-01"), h.log_lines())
        self.assertGreater(time.time() - t0, 10, "the first check waits for timer 2 (20 s)")
        self.assertTrue(self.logged("Nueva versión disponible: 0.1.0"), h.log_lines())
        with open(datos(), encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(), NEWER)
        self.assertFalse(os.path.exists(descarga()))
        self.assertTrue(any("Datos actualizados (versión 2099-01-01)" in l for l in h.log_lines()))
        stamp = int(h.ini_get("estado", "ultimaComprobacion") or 0)
        self.assertLess(abs(stamp - time.time()), 120)
        # the banner row makes the expanded overlay taller; the news lines changed
        grew = h.wait_for(lambda: h.geometry(win)[3] > before[3], 5)
        time.sleep(1)
        after = shot("after")
        self.assertTrue(grew, (before, h.geometry(win)))
        x, y, w, _ = h.geometry(win)
        banner = h.region(after, x + 20, y + 60, w - 40, 20)
        self.assertTrue(sum(h.near(c, (255, 109, 16), 40) for row in banner for c in row) > 200, "orange banner")
        self.assertNotEqual(h.region(first, x, y + 80, w, 120), h.region(after, x, y + 108, w, 120))
        self.assertEqual({p for p in srv.paths()}, {"/nuevo/datos.txt", "/nuevo/version.txt"})
        self.assertTrue(all(a == "Zenvoral/0.0.9" for _, a in srv.requests))

    def test_cut_or_invalid_pack_leaves_everything_as_it_was(self):
        self.start_with({"URLDatos": srv.url("_cut/nuevo/datos.txt"), "URLVersion": srv.url("vacio/version.txt")})
        self.assertTrue(self.logged("Datos: no se pudo descargar"), h.log_lines())
        time.sleep(1)
        self.assertFalse(os.path.exists(datos()))
        self.assertFalse(os.path.exists(descarga()))
        self.assertFalse(any("Aviso:" in l for l in h.log_lines()), "a scheduled check says nothing")
        h.kill_all()

        # manual checks answer at once: an invalid pack, then (a newer manifest aside) nothing new
        self.start_with({"URLDatos": srv.url("invalido/datos.txt")})
        self.assertTrue(h.post(0x0111, 108, 0))
        self.assertTrue(self.logged("Datos: el archivo descargado no es válido", 15), h.log_lines())
        self.assertTrue(self.logged("Aviso: Ese archivo no es un paquete de datos de Zenvoral.", 5))
        self.assertFalse(os.path.exists(datos()))
        self.assertFalse(os.path.exists(descarga()))
        self.assertTrue(h.post(0x0111, 110, 0))  # manual update check: version 0.0.9 is not newer
        self.assertTrue(self.logged("Aviso: Ya tienes la última versión (0.0.9).", 15), h.log_lines())

    def test_manual_check_with_nothing_new_says_so(self):
        if not os.path.exists(os.path.join(SITE, "datos.txt")):
            self.skipTest("build/site is not built (./dev.sh site)")
        self.start_with({"URLDatos": srv.url("datos.txt"), "URLVersion": srv.url("version.txt")})
        self.assertTrue(h.post(0x0111, 108, 0))
        self.assertTrue(self.logged("Aviso: Ya tienes los datos más recientes (versión 2026-10-30).", 15),
                        h.log_lines())
        self.assertFalse(os.path.exists(descarga()))
        self.assertEqual(srv.paths()[-1], "/datos.txt")


if __name__ == "__main__":
    unittest.main(verbosity=2)
