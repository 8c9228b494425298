"""The video player of the real program, on a data pack that brings a video guide the library opens
in it. With the embedded browser switched off it shows its fallback, whose buttons hand the right
addresses to a stand-in browser (nothing is fetched), and never loads the browser's loader; with
the loader (a stand-in that records every call) the host sets the browser up and opens the waiting
page, follows the page into full screen and back, and reuses the control. The page the player
writes is checked in a real browser. Screenshots are kept under build/."""

import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from server import TestServer  # noqa: E402
from test_site import BROWSER, browse, refs  # noqa: E402

browser = None
VIDEO = "Zv0Test_a-1"
PACK = ("# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\ntu = 40\n\n"
        "[guia]\ncat = video\ntitulo.es = Ruta rápida de la incursión\ntitulo.en = Quick raid route\n"
        f"sub.es = Vídeo de prueba\ntexto.es = Un vídeo.\nvideo = {VIDEO}\nsegundo = 171\n")
TITLE = "^Ruta r.+pida de la incursi.+n$"  # the caption (xdotool matches bytes)
PAGE = f"https://reproductor.zenvoral/player.html?v={VIDEO}&t=171&hl=es"


def setUpModule():
    global browser
    h.setUpModule()
    browser = h.StandInBrowser(os.path.join(h.ROOT, "build", "e2e player browser"))


def tearDownModule():
    browser.restore()
    h.tearDownModule()


def bright(path, rect):
    return h.count(path, rect, lambda c: sum(c) > 450)


def calls():
    try:
        with open(os.path.join(h.APPDATA, "wv2log.txt"), encoding="utf-8") as f:
            return f.read().splitlines()
    except OSError:
        return []


def page_event(text):
    with open(os.path.join(h.APPDATA, "wv2cmd.txt"), "w", encoding="utf-8") as f:
        f.write(text)


class Player(h.ProgramTest):
    def open_player(self, *words):
        """The library on the pack's video guide, opened in the player (titled by its caption), with
        the stand-in loader beside the settings."""
        os.makedirs(h.APPDATA, exist_ok=True)
        with open(os.path.join(h.APPDATA, "datos.txt"), "w", encoding="utf-8", newline="\n") as f:
            f.write(PACK)
        shutil.copyfile(os.path.join(os.path.dirname(h.EXE), "WebView2Loader.dll"),
                        os.path.join(h.APPDATA, "WebView2Loader.dll"))
        self.run_program("--prueba", "--prueba-biblioteca", "videos", "reproductor", *words)
        self.wait_started()
        win = h.window(TITLE, timeout=30)
        self.assertTrue(win, "the player opens on the pack's video guide")
        return win

    def test_switched_off_fallback_opens_the_system_browser(self):
        win = self.open_player("sinweb")
        self.assertTrue(h.logged("navegador integrado desactivado"), h.log_lines()[-5:])
        self.assertTrue(h.logged("Reproductor: " + PAGE, 1), "the page address waits for the browser")
        x, y, w, hgt = h.geometry(win)
        shot = h.shot("player-fallback-es")
        self.assertGreater(bright(shot, (x + 320, y + 80, w - 350, 80)), 300, "the explanation is shown")
        self.assertEqual(calls(), [], "the loader is there but never asked")
        self.assertTrue(os.path.exists(os.path.join(h.APPDATA, "web", "player.html")), "the page is written anyway")
        h.click(x + w - 220 + 105, y + 10 + 16)  # the browser button in the header
        self.assertTrue(h.wait_for(lambda: f"https://www.youtube.com/watch?v={VIDEO}&t=171s" in browser.opened(), 15),
                        browser.opened())
        h.click(x + 320 + 105, y + 170 + 17)
        self.assertTrue(h.wait_for(lambda: len(browser.opened()) >= 2, 15), browser.opened())
        self.assertTrue(browser.opened()[1].startswith("https://developer.microsoft.com/"), browser.opened())

        # a new language closes the player (its captions and texts belong to the old one)
        self.assertTrue(h.post(0x8020, 1, 0))  # WM_APP+32: switch to English
        self.assertTrue(h.gone(TITLE, timeout=10), "the player closes on a language switch")
        self.assertTrue(h.window("^SHD Library$", timeout=10), "the library opens again in English")

        # the page the player wrote, in a real browser on a local origin: the embedded video's
        # address follows the query (no other host resolves, so nothing is fetched)
        if not BROWSER:
            return
        server = TestServer()
        with open(os.path.join(h.APPDATA, "web", "player.html"), "rb") as f:
            server.files["/player.html"] = f.read()
        server.start()
        self.addCleanup(server.stop)
        tail = f"origin=http%3A%2F%2F127.0.0.1%3A{server.port}"
        embed = "https://www.youtube.com/embed/"
        for query, want in [(f"v={VIDEO}&t=171&hl=pt-BR", f"{embed}{VIDEO}?autoplay=1&rel=0&playsinline=1&start=171"
                             f"&hl=pt-BR&cc_load_policy=1&cc_lang_pref=pt-BR&{tail}"),
                            ("v=a%26b&t=x&hl=en", f"{embed}a%26b?autoplay=1&rel=0&playsinline=1&start=0&hl=en&{tail}"),
                            ("", f"{embed}?autoplay=1&rel=0&playsinline=1&start=0&hl=en&{tail}")]:
            self.assertEqual([src for tag, src in refs(browse(server.url("player.html?" + query))[0]) if tag == "iframe"],
                             [want], query)

    def test_host_sets_up_the_browser_and_opens_the_waiting_page(self):
        win = self.open_player()
        self.assertTrue(h.wait_for(lambda: "navega " + PAGE in calls(), 30), calls())
        x, y, w, hgt = h.geometry(win)
        got = calls()
        self.assertRegex(got[0], r"^crear \(ninguno\) .*\\Zenvoral\\visor -$")
        self.assertRegex(got[7], r"^carpeta reproductor\.zenvoral .*\\Zenvoral\\web 1$")
        # configured before the page opens, the waiting address only once it is ready, only once
        self.assertEqual(sum(l.startswith("navega ") for l in got), 1)
        self.assertEqual(got[1:7] + got[8:11], ["controlador ZenvoralVideo", "fondo 255 13 15 17", "barra 0",
                                              "herramientas 0", "evento nuevaventana", "evento pantallacompleta",
                                              f"limites 300 52 {w} {hgt}", "visible 1", "navega " + PAGE])
        self.assertTrue(h.logged("navegador integrado listo", 1))
        shot = h.shot("player-ready-es")
        self.assertLess(bright(shot, (x + 320, y + 80, w - 350, 80)), 20, "no status text once ready")

        # the page's video goes full screen and back: the window covers the screen, then returns
        page_event("pantalla 1")
        screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True).stdout.split()
        full = "limites 0 0 %s %s" % tuple(screen)
        self.assertTrue(h.wait_for(lambda: full in calls(), 10), (full, calls()[-4:]))
        page_event("pantalla 0")
        self.assertTrue(h.wait_for(lambda: h.geometry(win) == (x, y, w, hgt), 10), h.geometry(win))
        self.assertEqual(calls()[-2:], [f"limites 300 52 {w} {hgt}", "visible 1"])

        # a link asking for a new window opens in the player
        page_event("nueva https://127.0.0.1:9/otra")
        self.assertTrue(h.wait_for(lambda: "navega https://127.0.0.1:9/otra" in calls(), 10), calls()[-4:])
        self.assertEqual(calls()[-2], "gestionada 1")

        # Esc in the list stops the video and hides the control
        h.click(x + 100, y + 80)
        h.key("Escape")
        self.assertTrue(h.wait_for(lambda: "navega about:blank" in calls(), 10), calls()[-4:])
        self.assertEqual(calls()[-3:], ["navega about:blank", "limites 0 0 0 0", "visible 0"])
        self.assertTrue(h.gone(TITLE, timeout=10), "Esc closes the player")

        # a double-click on the video in the library opens the same player again: the control is
        # reused, only the page is opened anew
        lx, ly = h.geometry(h.windows("^Biblioteca SHD$")[0])[:2]
        subprocess.run(["xdotool", "mousemove", str(lx + 380), str(ly + 60), "click", "--repeat", "2",
                        "--delay", "80", "1"], check=True)
        self.assertTrue(h.window(TITLE, timeout=10), "the library's double-click opens the player")
        self.assertTrue(h.wait_for(lambda: calls()[-1] == "navega " + PAGE, 10), calls()[-4:])
        self.assertEqual(sum(l.startswith("controlador") for l in calls()), 1)
        self.assertEqual(calls()[-3:-1], [f"limites 300 52 {w} {hgt}", "visible 1"])


if __name__ == "__main__":
    unittest.main()
