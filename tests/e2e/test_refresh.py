"""Fresh data without a release, on the real program against the local web server: the first
timer tick fetches a newer pack (installed, news changed, no .descarga left) and a newer
manifest (the overlay's update banner); a cut or invalid pack changes nothing; manual checks
report in balloons (written to the log), the settings window's check fetches at once and its
balloon opens the news; a creator streaming now is listed first. Every address is 127.0.0.1."""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from server import TestServer  # noqa: E402

SITE = os.path.join(h.ROOT, "build", "site")
FILES = os.path.join(h.ROOT, "build", "e2e-refresh")
DATOS = os.path.join(h.APPDATA, "datos.txt")
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
    h.setUpModule()
    shutil.rmtree(FILES, ignore_errors=True)
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
    h.tearDownModule()


def unchanged():
    return not os.path.exists(DATOS) and not os.path.exists(DATOS + ".descarga")


class Refresh(h.ProgramTest):
    def start_with(self, urls, *args):
        h.past_first_start()
        h.set_settings(urls)
        srv.requests.clear()
        return self.show_overlay("--prueba", "edicion", *args)

    def test_first_tick_installs_a_newer_pack_and_shows_the_update_banner(self):
        win = self.start_with({"URLDatos": srv.url("nuevo/datos.txt"), "URLVersion": srv.url("nuevo/version.txt"),
                               "URLDirecto": srv.url("directo/"), "URLImagenes": srv.url("imagenes/")})
        before = h.geometry(win)
        first = h.shot("refresh-before")
        t0 = time.time()
        self.assertTrue(h.logged("Datos: instalada la versión 2099-01-01", 40), h.log_lines())
        self.assertGreater(time.time() - t0, 10, "the first check waits for timer 2 (20 s)")
        self.assertTrue(h.logged("Nueva versión disponible: 0.1.0", 40), h.log_lines())
        with open(DATOS, encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(), NEWER)
        self.assertFalse(os.path.exists(DATOS + ".descarga"))
        self.assertLess(abs(int(h.ini_get("estado", "ultimaComprobacion") or 0) - time.time()), 120)
        # the banner row makes the expanded overlay taller; the news lines changed
        self.assertTrue(h.wait_for(lambda: h.geometry(win)[3] > before[3], 5), (before, h.geometry(win)))
        time.sleep(1)
        after = h.shot("refresh-after")
        x, y, w, _ = h.geometry(win)
        self.assertGreater(h.count(after, (x + 20, y + 60, w - 40, 20), h.ORANGE), 200, "orange banner")
        self.assertNotEqual(h.region(first, x, y + 80, w, 120), h.region(after, x, y + 108, w, 120))
        self.assertEqual(set(srv.paths()), {"/nuevo/datos.txt", "/nuevo/version.txt"})
        self.assertTrue(all(a == "Zenvoral/0.0.9" for _, a in srv.requests))

    def test_failed_checks_change_nothing_and_the_settings_check_opens_the_news(self):
        # the schedule's first check stalls on a cut pack; the player asks for a data check meanwhile
        # and is told how the running one ended, which alone would have failed quietly
        self.start_with({"URLDatos": srv.url("_stall/nuevo/datos.txt?s=8"), "URLVersion": srv.url("vacio/version.txt")},
                        "--prueba-ajustes")
        self.assertTrue(h.wait_for(lambda: h.ini_get("estado", "ultimaComprobacion"), 40, 0.3), "the check began")
        self.assertTrue(h.post(h.WM_COMMAND, 108, 0))
        joined = "Aviso: No se han podido descargar los datos. Revisa la dirección en Ajustes o tu conexión."
        self.assertTrue(h.logged(joined, 20), h.log_lines())
        self.assertEqual(sum("Datos: no se pudo descargar" in l for l in h.log_lines()), 1, "one download, not two")
        time.sleep(1)
        self.assertTrue(unchanged())
        told = [l for l in h.log_lines() if "Aviso:" in l]
        self.assertTrue(len(told) == 1 and joined in told[0], told)  # the scheduled update check said nothing
        win = h.window(h.SETTINGS, timeout=10)
        self.assertTrue(win, "the settings window is open")
        self.assertEqual(h.get_text("ZenvoralAjustes", 218), "Datos: versión 2026-10-30 (integrados en el programa)")
        x, y = h.geometry(win)[:2]

        def said(text, n=1):  # the n-th log line with text
            return h.wait_for(lambda: sum(text in l for l in h.log_lines()) >= n, 15, 0.3)

        def check_now(path):  # the address typed in the settings window, then "Comprobar ahora"
            self.assertTrue(h.set_text("Ajustes", 215, srv.url(path)))
            for _ in range(3):  # a click Wine dropped is clicked again
                h.click(x + 448 + 108, y + 496 + 15)
                if h.wait_for(lambda: h.ini_get("ajustes", "URLDatos") == srv.url(path), 3):
                    break
            self.assertEqual(h.ini_get("ajustes", "URLDatos"), srv.url(path))

        # manual checks answer at once: an invalid pack (from the settings window, then the tray's
        # command on the stored address), then (a newer manifest aside) nothing new
        invalid = "Aviso: Ese archivo no es un paquete de datos de Zenvoral."
        check_now("invalido/datos.txt")
        self.assertTrue(said(invalid), h.log_lines())
        self.assertTrue(h.post(h.WM_COMMAND, 108, 0))
        self.assertTrue(said(invalid, 2), h.log_lines())
        self.assertTrue(h.logged("Datos: el archivo descargado no es válido", 1))
        self.assertTrue(unchanged())
        self.assertTrue(h.post(h.WM_COMMAND, 110, 0))  # manual update check: version 0.0.9 is not newer
        self.assertTrue(said("Aviso: Ya tienes la última versión (0.0.9)."), h.log_lines())
        if os.path.exists(os.path.join(SITE, "datos.txt")):  # the site's pack is the built-in one
            check_now("datos.txt")
            self.assertTrue(said("Aviso: Ya tienes los datos más recientes (versión 2026-10-30)."), h.log_lines())
            self.assertTrue(unchanged())

        # the newer pack from the settings window's button, its balloon opens the library on the news
        check_now("nuevo/datos.txt")
        self.assertTrue(said("Datos: instalada la versión 2099-01-01"), h.log_lines())
        self.assertTrue(h.wait_for(lambda: h.get_text("ZenvoralAjustes", 218) ==
                                   "Datos: versión 2099-01-01 (actualizados)", 5), h.get_text("ZenvoralAjustes", 218))
        self.assertTrue(h.logged("Datos actualizados (versión 2099-01-01)", 5))
        self.assertTrue(h.post(h.WM_APP_TRAY, 0, 0x0405))  # NIN_BALLOONUSERCLICK
        self.assertTrue(h.window("^Biblioteca SHD$", timeout=15), "the library opens")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "categoria") == "12", 5))
        self.assertTrue(h.wait_for(lambda: (h.ini_get("biblioteca", "ficha") or "").startswith("11|"), 5),
                        h.ini_get("biblioteca", "ficha"))
        time.sleep(1)
        h.shot("refresh-balloon-news")

    def test_a_creator_streaming_now_is_listed_first_with_its_mark(self):
        h.set_settings({"URLDatos": srv.url("_404/datos.txt"), "URLVersion": srv.url("vacio/version.txt"),
                        "URLDirecto": srv.url("directo/")})
        with open(DATOS, "w", encoding="utf-8", newline="\n") as f:
            f.write(CREATORS)
        srv.requests.clear()
        self.run_program("--prueba", "--prueba-biblioteca", "creadores")
        self.wait_started()
        lib = h.window("^Biblioteca SHD$", timeout=15)
        self.assertTrue(lib, "the library opens on the creators")
        self.assertTrue(h.wait_for(lambda: {"/directo/alfa", "/directo/bravo", "/directo/charlie"} <= set(srv.paths()),
                                   15), srv.paths())
        self.assertTrue(all(p.startswith("/directo/") for p in srv.paths() if p != "/_404/datos.txt"), srv.paths())
        x, y = h.geometry(lib)[:2]
        live = (240, 72, 72)

        def rows():  # live-red pixels in the first three result rows, then in the creators row
            path = h.shot("refresh-creators-live")
            return [h.count(path, (x + 264, y + 48 + r * 27, 300, 26), live) for r in range(3)] + \
                [h.count(path, (x + 212, y + 80, 40, 34), live)]
        self.assertTrue(h.wait_for(lambda: rows()[0] > 40, 10, 0.5), "the live creator first, with its red mark")
        got = rows()
        self.assertEqual(got[1:3], [0, 0], "the others are not marked")
        self.assertGreater(got[3], 10, "the creators row's live count")


if __name__ == "__main__":
    unittest.main(verbosity=2)
