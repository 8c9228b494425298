"""The video player of the real program. Wine has no WebView2, so the player always ends in its
fallback: the explanation, the install button and the button that opens the video in the
system browser. A data pack brings a video guide; the library opens it in the player and the
buttons hand the right addresses to a stand-in browser that only records them (nothing is
fetched). Screenshots are kept under build/e2e-player."""

import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from server import TestServer  # noqa: E402
from test_site import BROWSER, Links, browse  # noqa: E402

BUILD = os.environ.get("ZV_BUILD") or os.path.join(h.ROOT, "build", "win64")
SHOTS = os.path.join(h.ROOT, "build", "e2e-player")
BROWSER_DIR = os.path.join(h.ROOT, "build", "e2e player browser")
OPENED = os.path.join(BROWSER_DIR, "navegador.txt")
browser = None

VIDEO = "Zv0Test_a-1"
PACK = ("# ZENVORAL-DATOS 1\nversion = 2099-01-01\ntemporada = Y9S1\ntu = 40\n\n"
        "[guia]\ncat = video\ntitulo.es = Ruta rápida de la incursión\ntitulo.en = Quick raid route\n"
        f"sub.es = Vídeo de prueba\ntexto.es = Un vídeo.\nvideo = {VIDEO}\nsegundo = 171\n")
TITLE = "^Ruta r.+pida de la incursi.+n$"  # the caption (xdotool matches bytes)
ORANGE = (255, 109, 16)
BG = (13, 15, 17)
PANEL = (24, 27, 31)


def setUpModule():
    global browser
    h.setUpModule()
    os.makedirs(SHOTS, exist_ok=True)
    browser = h.StandInBrowser(BROWSER_DIR, BUILD)


def tearDownModule():
    browser.restore()
    h.tearDownModule()


def opened():
    return browser.opened()


def count(path, rect, colour, tol=8):
    x, y, w, hgt = rect
    return sum(h.near(c, colour, tol) for row in h.region(path, x, y, w, hgt) for c in row)


def bright(path, rect):
    x, y, w, hgt = rect
    return sum(sum(c) > 450 for row in h.region(path, x, y, w, hgt) for c in row)


class Player(h.ProgramTest):
    def setUp(self):
        super().setUp()
        if os.path.exists(OPENED):
            os.remove(OPENED)
        os.makedirs(h.APPDATA, exist_ok=True)
        with open(os.path.join(h.APPDATA, "datos.txt"), "w", encoding="utf-8", newline="\n") as f:
            f.write(PACK)

    def open_player(self, *words):
        self.run_program("--prueba", "--prueba-biblioteca", "videos", "reproductor", *words)
        self.wait_started()
        found = h.wait_for(lambda: h.windows(TITLE), 30)
        self.assertTrue(found, "the player opens on the pack's video guide, titled by its caption")
        win = found[0]
        self.assertTrue(h.wait_for(lambda: any("Reproductor: no se pudo" in l or "desactivado" in l
                                               for l in h.log_lines()), 10), h.log_lines()[-5:])
        return win

    def test_fallback_opens_the_video_and_the_install_page_in_the_system_browser(self):
        win = self.open_player()
        page = f"Reproductor: https://reproductor.zenvoral/player.html?v={VIDEO}&t=171&hl=es"
        self.assertTrue(any(l.endswith(page) for l in h.log_lines()), "the page address waits for the browser")
        x, y, w, hgt = h.geometry(win)
        # the window (frame included) is 92 % of a 1280-pixel screen wide and at most 780 high
        self.assertTrue(1100 < w <= 1177 and 700 < hgt <= 780, (w, hgt))
        shot = h.screenshot(os.path.join(SHOTS, "fallback-es.png"))
        self.assertGreater(count(shot, (x, y + 51, w, 1), ORANGE, 40), w * 0.9, "the accent line under the header")
        self.assertGreater(count(shot, (x + 10, y + 52, 280, 58), PANEL), 280 * 40, "the playing video selected")
        self.assertGreater(count(shot, (x + 10, y + 60, 3, 40), ORANGE, 40), 60, "with its accent bar")
        self.assertGreater(bright(shot, (x + 320, y + 80, w - 350, 80)), 300, "the explanation is shown")
        self.assertGreater(count(shot, (x + 320, y + 170, 210, 34), PANEL, 12), 210 * 20, "the install button")
        self.assertGreater(count(shot, (x + w - 220, y + 10, 210, 32), PANEL, 12), 210 * 18, "the browser button")

        h.click(x + w - 220 + 105, y + 10 + 16)
        watch = f"https://www.youtube.com/watch?v={VIDEO}&t=171s"
        self.assertTrue(h.wait_for(lambda: watch in opened(), 15), opened())
        h.click(x + 320 + 105, y + 170 + 17)
        self.assertTrue(h.wait_for(lambda: len(opened()) >= 2, 15), opened())
        self.assertTrue(opened()[1].startswith("https://developer.microsoft.com/"), opened())

        # Esc in the list hides the player; it stays made and opens again on the next request
        h.click(x + 100, y + 80)
        h.key("Escape")
        self.assertTrue(h.wait_for(lambda: not h.windows(TITLE), 10),
                        "Esc closes the player")
        self.assertTrue(h.windows(TITLE, visible=False), "hidden, not destroyed")

        # the page the player wrote, in a real browser on a local origin: the embedded video's
        # address follows the query (no other host resolves, so nothing is fetched)
        if not BROWSER:
            return
        with open(os.path.join(h.APPDATA, "web", "player.html"), "rb") as f:
            server = TestServer()
            server.files["/player.html"] = f.read()
        server.start()
        try:
            origin = f"http%3A%2F%2F127.0.0.1%3A{server.port}"
            embed = "https://www.youtube.com/embed/"
            cases = [(f"v={VIDEO}&t=171&hl=pt-BR", f"{embed}{VIDEO}?autoplay=1&rel=0&playsinline=1&start=171&hl=pt-BR"
                      f"&cc_load_policy=1&cc_lang_pref=pt-BR&origin={origin}"),
                     ("v=a%26b&t=x&hl=en", f"{embed}a%26b?autoplay=1&rel=0&playsinline=1&start=0&hl=en&origin={origin}"),
                     ("", f"{embed}?autoplay=1&rel=0&playsinline=1&start=0&hl=en&origin={origin}")]
            for query, want in cases:
                dom, _ = browse(server.url("player.html?" + query))
                links = Links()
                links.feed(dom)
                self.assertEqual([src for tag, src in links.refs if tag == "iframe"], [want], query)
        finally:
            server.stop()


class PlayerHost(h.ProgramTest):
    """The browser host against a stand-in loader that records every call it gets."""

    def setUp(self):
        super().setUp()
        os.makedirs(h.APPDATA, exist_ok=True)
        with open(os.path.join(h.APPDATA, "datos.txt"), "w", encoding="utf-8", newline="\n") as f:
            f.write(PACK)
        shutil.copyfile(os.path.join(BUILD, "WebView2Loader.dll"), os.path.join(h.APPDATA, "WebView2Loader.dll"))

    def calls(self):
        try:
            with open(os.path.join(h.APPDATA, "wv2log.txt"), encoding="utf-8") as f:
                return f.read().splitlines()
        except OSError:
            return []

    def page_event(self, text):
        with open(os.path.join(h.APPDATA, "wv2cmd.txt"), "w", encoding="utf-8") as f:
            f.write(text)

    def test_host_sets_up_the_browser_and_opens_the_waiting_page(self):
        self.run_program("--prueba", "--prueba-biblioteca", "videos", "reproductor")
        self.wait_started()
        page = f"navega https://reproductor.zenvoral/player.html?v={VIDEO}&t=171&hl=es"
        self.assertTrue(h.wait_for(lambda: page in self.calls(), 30), self.calls())
        win = h.windows(TITLE)[0]
        x, y, w, hgt = h.geometry(win)
        calls = self.calls()
        web = os.path.join(h.APPDATA, "web")
        self.assertRegex(calls[0], r"^crear \(ninguno\) .*\\Zenvoral\\visor -$")
        self.assertEqual(calls[1], "controlador ZenvoralVideo")
        # configured before the page opens, the waiting address only once it is ready
        want = ["fondo 255 13 15 17", "barra 0", "herramientas 0", "evento nuevaventana", "evento pantallacompleta"]
        self.assertEqual(calls[2:7], want)
        self.assertRegex(calls[7], r"^carpeta reproductor\.zenvoral .*\\Zenvoral\\web 1$")
        self.assertEqual(calls[8:10], [f"limites 300 52 {w} {hgt}", "visible 1"])
        self.assertEqual(calls.index(page), 10)
        self.assertEqual(sum(l.startswith("navega ") for l in calls), 1, "only the newest request opens")
        with open(os.path.join(web, "player.html"), encoding="utf-8") as f:
            self.assertIn("https://www.youtube.com/embed/", f.read())
        self.assertTrue(any("navegador integrado listo" in l for l in h.log_lines()))
        shot = h.screenshot(os.path.join(SHOTS, "ready-es.png"))
        self.assertLess(bright(shot, (x + 320, y + 80, w - 350, 80)), 20, "no status text once ready")
        self.assertLess(count(shot, (x + 320, y + 170, 210, 34), PANEL, 12), 100, "no install button once ready")

        # the page's video goes full screen and back: the window covers the screen, then returns
        self.page_event("pantalla 1")
        screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True).stdout.split()
        full = "limites 0 0 %s %s" % tuple(screen)
        self.assertTrue(h.wait_for(lambda: full in self.calls(), 10), (full, self.calls()[-4:]))
        self.page_event("pantalla 0")
        self.assertTrue(h.wait_for(lambda: h.geometry(win) == (x, y, w, hgt), 10), h.geometry(win))
        self.assertEqual(self.calls()[-2:], [f"limites 300 52 {w} {hgt}", "visible 1"])

        # a link asking for a new window opens in the player
        self.page_event("nueva https://127.0.0.1:9/otra")
        self.assertTrue(h.wait_for(lambda: "navega https://127.0.0.1:9/otra" in self.calls(), 10), self.calls()[-4:])
        self.assertEqual(self.calls()[-2], "gestionada 1")

        # closing stops the video and hides the control
        h.click(x + 100, y + 80)
        h.key("Escape")
        self.assertTrue(h.wait_for(lambda: "navega about:blank" in self.calls(), 10), self.calls()[-4:])
        self.assertEqual(self.calls()[-3:], ["navega about:blank", "limites 0 0 0 0", "visible 0"])

        # a double-click on the video in the library opens the same player again: the control is
        # reused, only the page is opened anew
        lib = h.windows("^Biblioteca SHD$")[0]
        lx, ly, _, _ = h.geometry(lib)
        subprocess.run(["xdotool", "mousemove", str(lx + 380), str(ly + 60), "click", "--repeat", "2",
                        "--delay", "80", "1"], check=True)
        self.assertTrue(h.wait_for(lambda: h.windows(TITLE), 10), "the library's double-click opens the player")
        self.assertTrue(h.wait_for(lambda: self.calls()[-1] == page, 10), self.calls()[-4:])
        self.assertEqual(sum(l.startswith("controlador") for l in self.calls()), 1)
        self.assertEqual(self.calls()[-3:-1], [f"limites 300 52 {w} {hgt}", "visible 1"])

    def test_switched_off_browser_is_never_loaded(self):
        self.run_program("--prueba", "--prueba-biblioteca", "videos", "reproductor", "sinweb")
        self.wait_started()
        self.assertTrue(h.wait_for(lambda: h.windows(TITLE), 30))
        self.assertTrue(h.wait_for(lambda: any("navegador integrado desactivado" in l for l in h.log_lines()), 10))
        x, y, w, hgt = h.geometry(h.windows(TITLE)[0])
        shot = h.screenshot(os.path.join(SHOTS, "switched-off.png"))
        self.assertGreater(bright(shot, (x + 320, y + 80, w - 350, 80)), 300, "the explanation is shown")
        self.assertGreater(count(shot, (x + 320, y + 170, 210, 34), PANEL, 12), 210 * 20, "the install button")
        self.assertEqual(self.calls(), [], "the loader is there but never asked")
        self.assertTrue(os.path.exists(os.path.join(h.APPDATA, "web", "player.html")), "the page is written anyway")

        # a new language closes the player (its captions and texts belong to the old one)
        self.assertTrue(h.post(0x8020, 1, 0))  # WM_APP+32: switch to English
        self.assertTrue(h.wait_for(lambda: not h.windows(TITLE), 10), "the player closes on a language switch")
        self.assertTrue(h.wait_for(lambda: h.windows("^SHD Library$"), 10), "the library opens again in English")


if __name__ == "__main__":
    unittest.main()
