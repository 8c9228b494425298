"""The welcome tour, the About window and the DPS calculator of the real program: the tour opens on
the first start and turns its pages with the buttons and the keys; About opens from its tray
command, shows the version and its buttons open the right addresses (a stand-in browser records
them); the calculator opens from the settings window at its defaults and recomputes as a field
changes; the library's action on a weapon (not on other entries) puts the weapon's figures in it.
Screenshots of these windows in all six languages are kept under build/ and checked for cut-off
text."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

browser = None
ABOUT, DPS = "^Acerca de Zenvoral$", "^Calculadora de DPS$"


def setUpModule():
    global browser
    h.setUpModule()
    browser = h.StandInBrowser(os.path.join(h.ROOT, "build", "e2e browser"), text_files=True)


def tearDownModule():
    browser.restore()
    h.tearDownModule()


def fields():
    return [h.get_text("ZenvoralDPS", 1500 + k) for k in range(9)]


def about_button(x, y, w, col, row):
    bw = (w - 48 - 16) // 3
    return x + 24 + col * (bw + 8) + bw // 2, y + 196 + row * 44 + 18


class Tools(h.ProgramTest):
    def welcome_page(self, win):
        """The page the tour shows, from its orange page dot; None when the window is gone."""
        if win not in h.windows():
            return None
        x, y, w, hgt = h.geometry(win)
        p = h.shot("welcome-now")
        lit = [k for k in range(4) if h.near(h.pixel(p, x + 36 + 18 * k + 5, y + hgt - 39), h.ORANGE, 40)]
        return lit[0] if len(lit) == 1 else -1

    def turn(self, how, page):
        if isinstance(how, tuple):
            h.click(*how)
        else:
            h.key(how)
        self.assertTrue(h.wait_for(lambda: self.welcome_page(self.win) == page, 5, 0.3), (how, page))

    def test_welcome_about_and_dps_from_the_tray(self):
        self.run_program()  # a first start as players have it
        self.wait_started()
        self.win = h.window("^Zenvoral$", 720)
        self.assertTrue(self.win, "the first start shows the welcome tour")
        x, y, w, hgt = h.geometry(self.win)
        next_btn, back_btn = (x + w - 99, y + hgt - 40), (x + w - 244, y + hgt - 40)
        self.assertTrue(h.wait_for(lambda: self.welcome_page(self.win) == 0, 5, 0.3))
        h.click(*back_btn)  # no Back on the first page: a click where it would be does nothing
        time.sleep(0.5)
        self.assertEqual(self.welcome_page(self.win), 0)
        for how, page in ((next_btn, 1), ("Right", 2), ("Left", 1), ("Next", 2), ("Return", 3), (back_btn, 2), (next_btn, 3)):
            self.turn(how, page)
        h.click(*next_btn)  # "¡A jugar!" ends the tour
        self.assertTrue(h.gone("^Zenvoral$", 720), "the last Next closes the tour")
        self.assertEqual(h.ini_get("estado", "bienvenida"), "1")

        # About, from its tray command
        self.assertTrue(h.post(h.WM_COMMAND, 114, 0))
        win = h.window(ABOUT, 560)
        self.assertTrue(win, "the about window opens")
        x, y, w, hgt = h.geometry(win)
        p = h.shot("about-es")
        self.assertGreater(h.count(p, (x + 104, y + 64, 200, 22), h.ORANGE, 60), 40, "the version line in orange")
        expect = [((0, 0), "https://zenvoral.app/"), ((1, 0), "https://discord.gg/zenvoral"),
                  ((2, 0), "https://zenvoral.app/sugerencias.html?v=0.0.9&b=9&l=es&w="), ((2, 1), "")]
        for n, (cell, url) in enumerate(expect, 1):
            h.click(*about_button(x, y, w, *cell))
            self.assertTrue(h.wait_for(lambda: len(browser.opened()) >= n, 10), url)
            self.assertTrue(browser.opened()[-1].startswith(url), browser.opened())
        self.assertRegex(browser.opened()[2], r"&w=\d+\.\d+\.\d+$")
        self.assertTrue(browser.opened()[3].endswith("\\Zenvoral\\registro.txt"), "the log, in the text editor")
        body = (x + 24, y + 110, w - 48, 76)
        h.click(*about_button(x, y, w, 0, 1))  # credits replace the description
        time.sleep(0.7)
        self.assertNotEqual(h.region(h.shot("about-es-credits"), *body), h.region(p, *body))
        lines = len(h.log_lines())
        h.click(*about_button(x, y, w, 1, 1))  # update check, against the closed local port: its failure is told
        self.assertTrue(h.wait_for(lambda: len(h.log_lines()) > lines, 15), "the manual update check ran")
        h.key("Escape")
        self.assertTrue(h.gone(ABOUT, 560), "Esc closes it")

        # the calculator from the settings window's button, at its defaults; a changed field
        # recomputes the results
        self.assertTrue(h.post(h.WM_COMMAND, 104, 0))
        settings = h.window(h.SETTINGS, timeout=10)
        self.assertTrue(settings, "the settings window opens")
        h.click(h.geometry(settings)[0] + 556, h.geometry(settings)[1] + 155)  # "Calculadora de DPS"
        self.dps = h.window(DPS, 700)
        self.assertTrue(self.dps, "the settings button opens the calculator")
        self.assertEqual(fields(), ["50000", "750", "40", "2.2", "15", "50", "100", "0", "55"], "at its defaults")
        h.xdo("windowmove", self.dps, 0, 0)
        self.assertTrue(h.wait_for(lambda: h.geometry(self.dps)[:2] == (0, 0), 5))
        panel, burst = (394, 82, 282, 298), (408, 172, 250, 32)
        h.raise_window(self.dps)
        p = h.shot("dps-es")
        self.assertGreater(h.count(p, burst, h.ORANGE, 60), 150, "burst DPS in large orange figures")
        self.field(5, "30")  # a bonus the player changed
        before = h.region(h.shot("dps-es-bonus"), *panel)
        self.assertNotEqual(before, h.region(p, *panel), "the results follow the bonus")

        # the library (its tray command) on a weapon: "Usar en la calculadora" puts the weapon's
        # figures in ("49.104", "850", "30", "2,4 s", "55 %"), the bonuses stay as typed
        self.assertTrue(h.post(h.WM_COMMAND, 106, 0))
        lib = h.window("^Biblioteca SHD$")
        self.assertTrue(lib, "tray command 106 opens the library")
        row = self.search(lib, "agitator", "3|Agitator")
        bx, by, bw = row[-1]
        h.click(bx + bw // 2, by + 16)
        self.assertTrue(h.wait_for(lambda: fields()[0] == "49104", 10), "the weapon's damage: %r" % fields())
        self.assertEqual(fields(), ["49104", "850", "30", "2.4", "15", "30", "100", "0", "55"])
        h.raise_window(self.dps)
        self.assertNotEqual(h.region(h.shot("dps-lib-filled"), *panel), before, "the results follow")
        self.assertEqual(len(h.windows(DPS)), 1, "one calculator")
        # a brand set has no weapon figures: one button fewer
        self.assertEqual(len(self.search(lib, "gila guard", "2|Gila Guard")), len(row) - 1)

    def field(self, k, text):
        """Box k of the calculator (at 0, 0) replaced by typing text."""
        h.raise_window(self.dps)
        h.click(305, 82 + 34 * k + 13)
        h.key("End")
        h.key("shift+Home")
        if text:
            h.type_text(text, 40)
        else:
            h.key("BackSpace")
        self.assertTrue(h.wait_for(lambda: h.get_text("ZenvoralDPS", 1500 + k) == text, 5), (k, text))
        time.sleep(0.6)

    def search(self, lib, text, key):
        """The library's search box given text until key is shown; the entry's buttons."""
        h.raise_window(lib)
        x, y = h.geometry(lib)[:2]
        h.click(x + 414, y + 26)
        h.key("ctrl+a")
        h.type_text(text)
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == key, 10), h.ini_get("biblioteca", "ficha"))
        time.sleep(1)
        return self.entry_buttons(lib, "dps-lib-" + key[2:].replace(" ", ""), key.startswith("3|"))

    def entry_buttons(self, lib, name, weapon):
        """The buttons under the library's shown entry (the window raised); on a weapon the last,
        the calculator's action, with its label whole."""
        h.raise_window(lib)
        x, y, w, hgt = h.geometry(lib)
        path = h.shot(name)
        row = h.entry_buttons(path, x + 582, w - 582 - 12, y + hgt)
        if weapon:
            bx, by, bw = row[-1]
            self.assertIsNone(h.cut_line(path, (bx + 2, by + 4, bw - 4, 24)), name)
        return row

    def test_windows_in_every_language_keep_their_texts_whole(self):
        h.past_first_start()  # no first start's balloon over the windows
        for code in ["es", "en", "fr", "de", "it", "pt"]:
            with self.subTest(lang=code):
                h.kill_all()
                self.run_program("--prueba", "--prueba-dps", "--prueba-acerca", "--prueba-bienvenida",
                                 "--prueba-biblioteca", "--buscar=Agitator", "--idioma=" + code)
                self.assertEqual(self.check_language(code), [], code)

    def check_language(self, code):
        lib = h.wait_for(lambda: [w for w in h.windows(".") if h.geometry(w)[2] > 1000], 20)
        self.assertTrue(lib and h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "3|Agitator", 10), code)
        self.entry_buttons(lib[0], "dps-lib-" + code, True)
        wins = [h.window(".", 700), h.window(".", 560), h.window("^Zenvoral$", 720)]
        self.assertTrue(all(wins), code)
        # side by side over the library, clear of the overlay's emblem in the top left corner
        places = [(200, 0), (720, 440), (0, 420)]
        for win, (wx, wy) in zip(wins, places):
            h.xdo("windowraise", win)
            h.xdo("windowmove", win, wx, wy)
        self.assertTrue(h.wait_for(lambda: [h.geometry(w)[:2] for w in wins] == places, 5))
        time.sleep(1)
        (dx, dy), (ax, ay), (lx, ly) = places
        p = h.shot(f"all-{code}")
        cut = []

        def line(name, rect, bright=300):
            """One line of text: it must end before its box does and not in an ellipsis."""
            why = h.cut_line(p, rect, bright)
            cut.extend([f"{name} ({why})"] if why else [])

        def block(name, rect, line_h, bright=300):
            """Wrapped text: a whole line of room must be left below it, or a last line may have
            been pushed out of its box."""
            b = h.ink(p, rect, bright)
            cut.extend([name] if not b or b[3] > rect[1] + rect[3] - line_h else [])

        for k in range(9):
            line(f"dps label {k}", (dx + 22, dy + 82 + 34 * k, 218, 26))
        for k in range(5):
            line(f"dps result label {k}", (dx + 406, dy + 96 + 58 * k, 258, 18), 250)
        block("dps description", (dx + 24, dy + 16, 652, 58), 15, 250)
        block("about description", (ax + 24, ay + 110, 512, 76), 18, 400)
        bw = (560 - 48 - 16) // 3
        for k in range(7):
            col, row = (2, 2) if k == 6 else (k % 3, k // 3)
            bx, by = ax + 24 + col * (bw + 8), ay + 196 + row * 44
            line(f"about button {k}", (bx + 6, by + 4, bw - 12, 28), -250 if k == 0 else 300)
        h.click(*about_button(ax, ay, 560, 0, 1))  # credits
        time.sleep(0.7)
        p = h.shot(f"about-{code}-credits")
        block("about credits", (ax + 24, ay + 110, 512, 76), 15, 250)
        for page in range(4):
            if page:
                h.click(lx + 621, ly + 360)  # Next
                time.sleep(0.7)
                p = h.shot(f"welcome-{code}-{page}")
            line(f"welcome title {page}", (lx + 218, ly + 50, 472, 42))
            block(f"welcome body {page}", (lx + 220, ly + 102, 470, 218), 18, 400)
            line(f"welcome next {page}", (lx + 552, ly + 346, 138, 28), -250)
            if page:
                line(f"welcome back {page}", (lx + 422, ly + 346, 108, 28))
        print(code, "cut:", cut or "none")
        return cut


if __name__ == "__main__":
    unittest.main(verbosity=2)
