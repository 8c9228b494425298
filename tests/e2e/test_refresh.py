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
SETTINGS = "^Ajustes .{1,2} Zenvoral"  # the middle dot, in whichever encoding the title reaches X
WM_APP_TRAY = 0x8001
NIN_BALLOONUSERCLICK = 0x0405
LIVE = (240, 72, 72)
FILES = os.path.join(h.ROOT, "build", "e2e-refresh")
srv = None

NEWER = ("# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\ntu = 40\n\n"
         "[noticia]\ndestacado = sí\ntitulo.es = Paquete de prueba servido en local\n"
         "titulo.en = Test pack served locally\ntexto = Una noticia\n"
         # as many news as the overlay shows, so the news rows keep their number whatever the day adds
         "\n[noticia]\ntitulo.es = Segunda noticia de prueba\ntitulo.en = Second test news\n"
         "\n[noticia]\ntitulo.es = Tercera noticia de prueba\ntitulo.en = Third test news\n")
# three creators with channels; only the last one is streaming (the stand-in service answers its uptime)
CREATORS = ("# ZENVORAL-DATOS 1\nversion = 2099-02-01\ntemporada = Y9S1\ntu = 40\n"
            + "".join("\n[creador]\nnombre = %s\ntwitch = https://www.twitch.tv/%s\nsub.es = Canal de %s\n"
                      % (n, n.lower(), n) for n in ("Alfa", "Bravo", "Charlie")))
MANIFEST = ("# ZENVORAL-VERSION\nversion = 0.1.0\ncompilacion = 10\n"
            "instalador = http://127.0.0.1:9/Zenvoral-0.1.0.exe\nnotas = Prueba\n")


def setUpModule():
    global srv
    _setup()
    shutil.rmtree(FILES, ignore_errors=True)
    os.makedirs(FILES)
    for name, text in (("nuevo/datos.txt", NEWER), ("nuevo/version.txt", MANIFEST),
                       ("invalido/datos.txt", "<html>no es un paquete</html>\n"),
                       ("vacio/version.txt", "# ZENVORAL-VERSION\nversion = 0.0.9\n"),
                       ("directo/charlie", "2 hours, 14 minutes")):
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

    def test_settings_button_checks_now_and_the_balloon_opens_the_news(self):
        # the schedule's first check fails quietly; the address typed in the settings window and
        # its "Comprobar ahora" button fetch the newer pack at once
        good = srv.url("nuevo/datos.txt")
        self.start_with({"URLDatos": srv.url("_404/datos.txt"), "URLVersion": srv.url("vacio/version.txt")},
                        "--prueba-ajustes")
        found = h.wait_for(lambda: h.windows(SETTINGS), 10)
        self.assertTrue(found, "the settings window is open")
        self.assertEqual(h.get_text("ZenvoralAjustes", 218), "Datos: versión 2026-10-30 (integrados en el programa)")
        self.assertTrue(h.set_text("Ajustes", 215, good))
        x, y = h.geometry(found[0])[:2]
        h.click(x + 448 + 108, y + 496 + 15)  # "Comprobar ahora"
        self.assertTrue(self.logged("Datos: instalada la versión 2099-01-01", 15), h.log_lines())
        self.assertIn("/nuevo/datos.txt", srv.paths())
        self.assertEqual(h.ini_get("ajustes", "URLDatos"), good)
        self.assertTrue(h.wait_for(lambda: h.get_text("ZenvoralAjustes", 218) ==
                                   "Datos: versión 2099-01-01 (actualizados)", 5), h.get_text("ZenvoralAjustes", 218))
        self.assertTrue(self.logged("Datos actualizados (versión 2099-01-01)", 5))
        shot("settings-checked")

        # a click on that balloon opens the library on the news
        self.assertTrue(h.post(WM_APP_TRAY, 0, NIN_BALLOONUSERCLICK))
        self.assertTrue(h.wait_for(lambda: h.windows("^Biblioteca SHD$"), 15), "the library opens")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "categoria") == "12", 5),
                        h.ini_get("biblioteca", "categoria"))
        self.assertTrue(h.wait_for(lambda: (h.ini_get("biblioteca", "ficha") or "").startswith("11|"), 5),
                        h.ini_get("biblioteca", "ficha"))
        time.sleep(1)
        shot("balloon-news")

    def test_a_creator_streaming_now_is_listed_first_with_its_mark(self):
        h.set_settings({"URLDatos": srv.url("_404/datos.txt"), "URLVersion": srv.url("vacio/version.txt"),
                        "URLDirecto": srv.url("directo/")})
        with open(datos(), "w", encoding="utf-8", newline="\n") as f:
            f.write(CREATORS)
        srv.requests.clear()
        self.run_program("--prueba", "--prueba-biblioteca", "creadores")
        self.wait_started()
        lib = h.wait_for(lambda: h.windows("^Biblioteca SHD$"), 15)
        self.assertTrue(lib, "the library opens on the creators")
        self.assertTrue(h.wait_for(lambda: {"/directo/alfa", "/directo/bravo", "/directo/charlie"} <= set(srv.paths()),
                                   15), srv.paths())
        x, y = h.geometry(lib[0])[:2]

        def rows(path):  # live-red pixels in the first three rows of the result list
            return [sum(h.near(c, LIVE, 40) for line in h.region(path, x + 264, y + 48 + r * 27, 300, 26)
                        for c in line) for r in range(3)]
        red = h.wait_for(lambda: rows(shot("creators-live"))[0] > 40, 10, 0.5)
        got = rows(os.path.join(h.ROOT, "build", "e2e-refresh-creators-live.png"))
        self.assertTrue(red, "the live creator's row comes first with its red mark: %r" % got)
        self.assertEqual(got[1:], [0, 0], "the others are not marked")
        # the creators row counts the live one in red
        path = os.path.join(h.ROOT, "build", "e2e-refresh-creators-live.png")
        count = sum(h.near(c, LIVE, 40) for line in h.region(path, x + 12 + 200, y + 12 + 2 * 34, 40, 34)
                    for c in line)
        self.assertGreater(count, 10, "the creators row's live count")
        self.assertTrue(all(p.startswith("/directo/") for p in srv.paths() if p != "/_404/datos.txt"), srv.paths())


if __name__ == "__main__":
    unittest.main(verbosity=2)
