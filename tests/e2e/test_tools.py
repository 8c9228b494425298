"""The welcome tour, the About window and the DPS calculator of the real program: the tour opens
on the first start only and turns its pages with the buttons and the keys; About shows the
version and its buttons open the right addresses (a stand-in browser records them); the
calculator recomputes as fields change. Screenshots of the three windows in all six languages
are kept under build/ and checked for cut-off text."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

BUILD = os.environ.get("ZV_BUILD") or os.path.join(h.ROOT, "build", "win64")
SHOTS = os.path.join(h.ROOT, "build", "e2e-tools")
BROWSER_DIR = os.path.join(h.ROOT, "build", "e2e browser")
OPENED = os.path.join(BROWSER_DIR, "navegador.txt")
browser = None

WM_COMMAND = 0x0111
ORANGE = (255, 109, 16)
BG = (13, 15, 17)
LINE = (40, 45, 51)
PANEL = (24, 27, 31)
LANGS = ["es", "en", "fr", "de", "it", "pt"]


def setUpModule():
    global browser
    h.setUpModule()
    os.makedirs(SHOTS, exist_ok=True)
    browser = h.StandInBrowser(BROWSER_DIR, BUILD, text_files=True)


def tearDownModule():
    browser.restore()
    h.tearDownModule()


def opened():
    return browser.opened()


def shot(name):
    return h.screenshot(os.path.join(SHOTS, name + ".png"))


def window(title, width):
    """The visible window titled title (a regular expression) that is width pixels wide."""
    found = h.wait_for(lambda: [w for w in h.windows(title) if h.geometry(w)[2] == width], 20)
    return found[0] if found else None


def ink(path, rect, bright=300):
    """Bounding box (x0, y0, x1, y1) of the text-coloured pixels in rect (x, y, w, h) of a
    screenshot: light text (sum of channels above bright) or, with bright < 0, dark text on the
    orange face. None when there is none."""
    x, y, w, hgt = rect
    box = None
    for j, row in enumerate(h.region(path, x, y, w, hgt)):
        for i, c in enumerate(row):
            hit = sum(c) > bright if bright > 0 else (sum(c) < -bright and c[0] < 120)
            if hit:
                box = (min(box[0], x + i), min(box[1], y + j), max(box[2], x + i), max(box[3], y + j)) if box \
                    else (x + i, y + j, x + i, y + j)
    return box


def orange_count(path, rect):
    x, y, w, hgt = rect
    return sum(h.near(c, ORANGE, 60) for row in h.region(path, x, y, w, hgt) for c in row)


class Tools(h.ProgramTest):
    def setUp(self):
        super().setUp()
        if os.path.exists(OPENED):
            os.remove(OPENED)

    # ---- welcome -----------------------------------------------------------------------------

    def welcome_page(self, win):
        """The page the tour shows, from its orange page dot; None when the window is gone."""
        if not h.windows("^Zenvoral$") or win not in h.windows("^Zenvoral$"):
            return None
        x, y, w, hgt = h.geometry(win)
        p = h.screenshot(os.path.join(SHOTS, "welcome-now.png"))
        lit = [k for k in range(4) if h.near(h.pixel(p, x + 36 + 18 * k + 5, y + hgt - 39), ORANGE, 40)]
        return lit[0] if len(lit) == 1 else -1

    def wait_page(self, win, page):
        return h.wait_for(lambda: self.welcome_page(win) == page, 5, 0.3)

    def test_welcome_opens_on_the_first_start_only_and_turns_pages(self):
        self.run_program()  # a first start as players have it
        self.wait_started()
        win = window("^Zenvoral$", 720)
        self.assertTrue(win, "the first start shows the welcome tour")
        self.assertEqual(h.ini_get("estado", "bienvenida"), "1")
        x, y, w, hgt = h.geometry(win)
        next_btn = (x + w - 24 - 75, y + hgt - 58 + 18)
        back_btn = (x + w - 24 - 150 - 10 - 60, y + hgt - 58 + 18)
        back_face = (x + w - 24 - 150 - 10 - 120 + 6, y + hgt - 58 + 6)  # inside its border, off the text
        self.assertTrue(self.wait_page(win, 0))
        p = shot("welcome-es-0")
        self.assertTrue(h.near(h.pixel(p, *back_face), BG, 4), "no Back button on the first page")
        h.click(*back_btn)  # where Back would be: nothing happens
        time.sleep(0.5)
        self.assertEqual(self.welcome_page(win), 0)

        h.click(*next_btn)
        self.assertTrue(self.wait_page(win, 1), "Next turns to the keys page")
        p = shot("welcome-es-1")
        self.assertTrue(h.near(h.pixel(p, *back_face), PANEL, 6), "Back is shown from the second page on")
        # the four key caps: orange bottom edges of two rows of two 58-wide caps
        for cx, cy in ((36, 60), (106, 60), (36, 114), (106, 114)):
            self.assertTrue(h.near(h.pixel(p, x + cx + 29, y + cy + 38), ORANGE, 40), (cx, cy))
        h.key("Right")
        self.assertTrue(self.wait_page(win, 2), "Right turns forward")
        shot("welcome-es-2")
        h.key("Left")
        self.assertTrue(self.wait_page(win, 1), "Left turns back")
        h.key("Next")
        self.assertTrue(self.wait_page(win, 2), "Page Down turns forward")
        h.key("Return")
        self.assertTrue(self.wait_page(win, 3), "Enter turns forward")
        shot("welcome-es-3")
        h.click(*back_btn)
        self.assertTrue(self.wait_page(win, 2), "Back turns back")
        h.click(*next_btn)
        self.assertTrue(self.wait_page(win, 3))
        h.click(*next_btn)  # "¡A jugar!" ends the tour
        self.assertTrue(h.wait_for(lambda: not window_now("^Zenvoral$", 720), 5), "the last Next closes the tour")

        # never again: a later start shows no tour
        h.kill_all()
        self.run_program()
        self.wait_started()
        time.sleep(3)
        self.assertFalse(window_now("^Zenvoral$", 720), "the tour is shown once")
        self.assertEqual(h.ini_get("estado", "bienvenida"), "1")

    def test_welcome_names_the_players_keys(self):
        h.set_settings({"TeclaEditar": "Ctrl+Shift+F8", "TeclaBiblioteca": "F6"})
        self.run_program("--prueba", "--prueba-bienvenida")
        win = window("^Zenvoral$", 720)
        self.assertTrue(win)
        self.assertIsNone(h.ini_get("estado", "bienvenida"), "a test start leaves the first-start tour alone")
        h.key("Right")
        self.assertTrue(self.wait_page(win, 1))
        x, y, w, hgt = h.geometry(win)
        p = shot("welcome-es-keys")
        # a long combination puts the caps in one column, as wide as it needs
        lows = [h.near(h.pixel(p, x + 36 + 29, y + 60 + 50 * k + 38), ORANGE, 40) for k in range(4)]
        self.assertEqual(lows, [True] * 4)
        self.assertTrue(h.near(h.pixel(p, x + 36 + 80, y + 60 + 38), ORANGE, 40), "the caps grew wider")
        box = ink(p, (x + 36, y + 60, 172, 37))
        self.assertTrue(box and box[2] - box[0] > 80, "the first cap names Ctrl+Shift+F8")

    # ---- about -------------------------------------------------------------------------------

    def test_about_shows_the_version_and_opens_the_right_addresses(self):
        self.run_program("--prueba", "--prueba-acerca")
        win = window("^Acerca de Zenvoral$", 560)
        self.assertTrue(win, "the about window opens")
        x, y, w, hgt = h.geometry(win)
        p = shot("about-es")
        self.assertGreater(orange_count(p, (x + 104, y + 64, 200, 22)), 40, "the version line in orange")
        bw = (w - 48 - 16) // 3

        def button(col, row):
            return x + 24 + col * (bw + 8) + bw // 2, y + 196 + row * 44 + 18

        expect = [((0, 0), "https://zenvoral.app/"), ((1, 0), "https://discord.gg/zenvoral"),
                  ((2, 0), "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=es&w=")]
        for n, (cell, url) in enumerate(expect, 1):
            h.click(*button(*cell))
            self.assertTrue(h.wait_for(lambda: len(opened()) >= n, 10), url)
            self.assertTrue(opened()[-1].startswith(url), opened())
        self.assertRegex(opened()[-1], r"&w=\d+\.\d+\.\d+$")
        h.click(*button(2, 1))  # the log
        self.assertTrue(h.wait_for(lambda: len(opened()) >= 4, 10))
        self.assertTrue(opened()[-1].endswith("\\Zenvoral\\registro.txt"), opened())

        body = (x + 24, y + 110, w - 48, 76)
        before = h.region(p, *body)
        h.click(*button(0, 1))  # credits replace the description
        time.sleep(0.7)
        p = shot("about-es-credits")
        self.assertNotEqual(h.region(p, *body), before)
        h.click(*button(0, 1))
        time.sleep(0.7)
        self.assertEqual(h.region(shot("about-es-back"), *body), before, "a second press shows the description")

        lines = len(h.log_lines())
        h.click(*button(1, 1))  # update check, against the closed local port: its failure is told
        self.assertTrue(h.wait_for(lambda: len(h.log_lines()) > lines, 15), "the manual update check ran")
        self.assertTrue(window_now("^Acerca de Zenvoral$", 560))
        h.click(*button(2, 2))  # Close
        self.assertTrue(h.wait_for(lambda: not window_now("^Acerca de Zenvoral$", 560), 5))
        # the tray command opens it again; Esc closes it
        self.assertTrue(h.post(WM_COMMAND, 114, 0))
        win = window("^Acerca de Zenvoral$", 560)
        self.assertTrue(win)
        h.key("Escape")
        self.assertTrue(h.wait_for(lambda: not window_now("^Acerca de Zenvoral$", 560), 5), "Esc closes it")

    # ---- DPS ---------------------------------------------------------------------------------

    def test_dps_recomputes_when_a_field_changes(self):
        self.run_program("--prueba")
        self.wait_started()
        self.assertTrue(h.post(WM_COMMAND, 119, 0))
        win = window("^Calculadora de DPS$", 700)
        self.assertTrue(win, "tray command 119 opens the calculator")
        x, y, w, hgt = h.geometry(win)
        time.sleep(0.5)
        p = shot("dps-es")
        panel = (x + 390 + 4, y + 82, w - 24 - 390 - 4, 298)
        burst = (x + 390 + 18, y + 82 + 14 + 58 + 18, 250, 32)
        first = h.region(p, *panel)
        orange = orange_count(p, burst)
        self.assertGreater(orange, 150, "burst DPS 1.078.125 in large orange figures")

        def field(k):  # selects the whole text of edit box k
            h.click(x + 250 + 55, y + 82 + 34 * k + 13)
            h.key("End")
            h.key("shift+Home")

        def panel_now():
            time.sleep(0.6)
            return h.region(shot("dps-now"), *panel)

        field(1)  # rate of fire cleared: burst DPS 0
        h.key("BackSpace")
        time.sleep(0.6)
        p = shot("dps-es-no-rpm")
        self.assertLess(orange_count(p, burst), orange / 3, "burst DPS falls to 0 at once")
        subprocess.run(["xdotool", "type", "750"], check=True)
        self.assertEqual(panel_now(), first, "typing the rate back restores the results")
        field(3)  # reload with a decimal comma
        subprocess.run(["xdotool", "type", "2,2"], check=True)
        self.assertEqual(panel_now(), first, "2,2 reads as 2.2")
        field(5)  # a critical chance above 60 % counts as 60 %
        subprocess.run(["xdotool", "type", "60"], check=True)
        sixty = panel_now()
        self.assertNotEqual(sixty, first)
        field(5)
        subprocess.run(["xdotool", "type", "80"], check=True)
        self.assertEqual(panel_now(), sixty)
        field(0)  # thousands as the Spanish inventory writes them
        subprocess.run(["xdotool", "type", "49.104"], check=True)
        thousands = panel_now()
        field(0)
        subprocess.run(["xdotool", "type", "49104"], check=True)
        self.assertEqual(panel_now(), thousands)
        h.key("Escape")
        self.assertTrue(h.wait_for(lambda: not window_now("^Calculadora de DPS$", 700), 5), "Esc closes it")

    # ---- the three windows in every language -------------------------------------------------

    def test_windows_in_every_language_keep_their_texts_whole(self):
        for code in LANGS:
            with self.subTest(lang=code):
                self.check_language(code)

    def check_language(self, code):
        h.kill_all()
        self.run_program("--prueba", "--prueba-dps", "--prueba-acerca", "--prueba-bienvenida", "--idioma=" + code)
        dps, about, wel = window(".", 700), window(".", 560), window("^Zenvoral$", 720)
        self.assertTrue(dps and about and wel, code)
        # side by side, clear of the overlay's emblem in the top left corner
        D, A, L = (200, 0), (720, 440), (0, 420)
        for win, (wx, wy) in ((dps, D), (about, A), (wel, L)):
            subprocess.run(["xdotool", "windowmove", str(win), str(wx), str(wy)], check=True)
        self.assertTrue(h.wait_for(lambda: [h.geometry(w)[:2] for w in (dps, about, wel)] == [D, A, L], 5))
        time.sleep(1)
        p = shot(f"all-{code}")
        cut = []

        def line(name, rect, bright=300):
            """One line of text: it must end before its box does and not in an ellipsis."""
            b = ink(p, rect, bright)
            if not b or b[0] <= rect[0] + 1 or b[2] >= rect[0] + rect[2] - 3:
                cut.append(name)
                return
            tail = ink(p, (b[2] - 9, b[1], 10, b[3] - b[1] + 1), bright)
            if tail[3] - tail[1] <= 3:  # only low dots at its end: "…"
                cut.append(name + " (…)")

        def block(name, rect, lineH, bright=300):
            """Wrapped text: a whole line of room must be left below it, or a last line may have
            been pushed out of its box."""
            b = ink(p, rect, bright)
            if not b or b[3] > rect[1] + rect[3] - lineH:
                cut.append(name)

        dx, dy = D
        for k in range(9):
            line(f"dps label {k}", (dx + 24 - 2, dy + 82 + 34 * k, 216 + 2, 26))
        for k in range(5):
            line(f"dps result label {k}", (dx + 390 + 18 - 2, dy + 82 + 14 + 58 * k, 700 - 24 - 12 - 390 - 18 + 2, 18), 250)
        block("dps description", (dx + 24, dy + 16, 652, 58), 15, 250)

        ax, ay = A
        block("about description", (ax + 24, ay + 110, 512, 76), 18, 400)
        bw = (560 - 48 - 16) // 3
        for k in range(7):
            col, row = (2, 2) if k == 6 else (k % 3, k // 3)
            bx, by = ax + 24 + col * (bw + 8), ay + 196 + row * 44
            line(f"about button {k}", (bx + 6, by + 4, bw - 12, 28), -250 if k == 0 else 300)
        h.click(ax + 24 + bw // 2, ay + 196 + 44 + 18)  # credits
        time.sleep(0.7)
        p = shot(f"about-{code}-credits")
        block("about credits", (ax + 24, ay + 110, 512, 76), 15, 250)

        lx, ly = L
        for page in range(4):
            if page:
                h.click(lx + 720 - 24 - 75, ly + 400 - 58 + 18)
                time.sleep(0.7)
                p = shot(f"welcome-{code}-{page}")
            line(f"welcome title {page}", (lx + 220 - 2, ly + 50, 720 - 30 - 220 + 2, 42))
            block(f"welcome body {page}", (lx + 220, ly + 102, 720 - 30 - 220, 400 - 80 - 102), 18, 400)
            line(f"welcome next {page}", (lx + 720 - 24 - 150 + 6, ly + 400 - 58 + 4, 150 - 12, 28), -250)
            if page:
                line(f"welcome back {page}", (lx + 720 - 24 - 150 - 10 - 120 + 6, ly + 400 - 58 + 4, 120 - 12, 28))
        print(code, "cut:", cut or "none")
        self.assertEqual(cut, [], code)


def window_now(title, width):
    return [w for w in h.windows(title) if h.geometry(w)[2] == width]


if __name__ == "__main__":
    unittest.main(verbosity=2)
