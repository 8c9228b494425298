"""Builds in the library window of the real program, driven as a player does: two new builds
from the "···" menu, pieces added from searches with the build button, one marked obtained, the
build shared (the clipboard read back), deleted, the message pasted back inside a chat line and
imported; the pieces and marks are checked in ajustes.ini, and after a restart the current build
is still there. Screenshots are kept under build/ and checked at their pixels.

Like the library's own test, Wine draws the window frames here ("Managed" off) so that the
keyboard follows the windows as on Windows."""

import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import test_library as lib  # noqa: E402

# Client-area places at scale 1 (the library's layout rules): margin 12, categories 240 wide with
# rows of 34, the middle column at 264 (search box, then the build selector and "···" with the
# build row), the right column at 582 with its buttons at the bottom (build button 220 wide, then
# the obtained button 180 wide, 8 apart).
M, MID, RIGHT = 12, 264, 582
ORANGE = (255, 109, 16)
GREEN = (95, 191, 138)
PIECES = ["3|The Chatterbox", "1|Striker's Battlegear", "9|Atributos principales de arma"]


def setUpModule():
    lib.setUpModule()


def tearDownModule():
    lib.tearDownModule()


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-library-builds-" + name + ".png"))


def probe(*args):
    out = os.path.join(h.ROOT, "build", "e2e-probe.txt")
    subprocess.run([h.RUNNER, h.PROBE] + list(args) + ["Z:" + out.replace("/", "\\")], capture_output=True,
                   timeout=60)
    with open(out, encoding="utf-8", newline="") as f:
        return f.read()


def dialog():
    """The texts of the program's open question dialog, None while there is none."""
    t = probe("dialog")
    return None if t == "none" else t


def clipboard():
    return probe("clipget")


def set_clipboard(text):
    path = os.path.join(h.ROOT, "build", "e2e-clip.txt")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return probe("clipset", "Z:" + path.replace("/", "\\")) == "ok"


def pieces(sec):
    return h.ini().get(sec, [])


class LibraryBuilds(h.ProgramTest):
    def open(self, name):
        self.run_program("--prueba", "--prueba-biblioteca", "misbuilds")
        self.wait_started()
        self.win = h.wait_for(lib.library, 20)
        self.assertTrue(self.win, "the library opens on the build row")
        time.sleep(1.5)
        p = shot(name)
        self.cx, self.cy = lib.client_origin(p, self.win)
        x, y, w, hgt = h.geometry(self.win)
        self.bottom = y + hgt - 4  # Wine's frame: 4 pixels below the client area
        return p

    def at(self, x, y):
        h.click(self.cx + x, self.cy + y)

    def button_row(self, n):
        """Clicks the n-th button under the entry (0 the build button, 1 the obtained one)."""
        b = lib.buttons(shot("buttons"), self.win, self.cx, self.bottom)
        self.assertGreater(len(b), n, b)
        bx, by, bw = b[n]
        h.click(bx + bw // 2, by + 16)
        return bx, by, bw

    def menu(self, item):
        """The build menu's command item (1 new ... 4 delete, 5 share, 6 import) from the keys."""
        self.at(MID + 262 + 19, M + 36 + 14)
        time.sleep(0.8)
        for _ in range(item):
            h.key("Down")
            time.sleep(0.1)
        h.key("Return")

    def answer(self, text=None):
        """Waits for the question dialog, types text into its field if given and presses Enter;
        returns the dialog's texts."""
        said = h.wait_for(dialog, 10, 0.3)
        self.assertTrue(said, "a dialog is shown")
        if text is not None:
            self.assertTrue(h.set_text("Zenvoral", 100, text))
        h.key("Return")
        self.assertTrue(h.wait_for(lambda: dialog() is None, 5, 0.3), "Enter closes the dialog")
        return said

    def category(self, row):
        self.at(M + 100, M + row * 34 + 17)
        time.sleep(0.5)

    def search(self, text, key):
        self.at(MID + 150, M + 14)
        subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "25", text], check=True)
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == key, 10),
                        "%s is shown: %r" % (key, h.ini_get("biblioteca", "ficha")))
        time.sleep(0.5)

    def test_new_add_obtain_share_delete_import_restart(self):
        self.open("start")
        # two new builds from the menu; the question offers "Mi build 2" first
        self.menu(1)
        said = self.answer("Asalto")
        self.assertIn("Nombre de la nueva build", said)
        self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "nombre1") == "Asalto", 5), h.ini().get("builds"))
        self.menu(1)
        self.answer("Francotirador")
        self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "n") == "3", 5))
        self.assertEqual(h.ini_get("builds", "actual"), "2")
        self.assertEqual(h.ini_get("builds", "nombre2"), "Francotirador")

        # pieces from searches in another row: the build button names the current build
        self.category(5)  # "Gearsets"
        for key, query in zip(PIECES, ("chaterbox", "striker battlegear", "atributos principales de arma")):
            self.search(query, key)
            self.button_row(0)
            self.assertTrue(h.wait_for(lambda: ("0|" + key) in [v for _, v in pieces("build2")], 5),
                            (key, pieces("build2")))
        p = shot("added")
        # the last piece is shown: its obtained button is there, green once pressed
        bx, by, bw = self.button_row(1)
        self.assertTrue(h.wait_for(lambda: ("1|" + PIECES[2]) in [v for _, v in pieces("build2")], 5),
                        pieces("build2"))
        time.sleep(0.5)
        p = shot("obtained")
        greens = lib.count(p, bx, by, bw, 32, lambda c: h.near(c, GREEN, 40))
        self.assertGreater(greens, 30, "the obtained button's text is green")
        # the pieces are kept in library order, one marked
        self.assertEqual([v for _, v in pieces("build2")],
                         ["0|1|Striker's Battlegear", "0|3|The Chatterbox", "1|9|Atributos principales de arma"])
        self.assertEqual([v for _, v in pieces("build1")], [], "the other build is untouched")

        # the build row lists them with the count "1/3" in orange
        self.category(0)
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "categoria") == "0", 5))
        time.sleep(0.5)
        p = shot("build-row")
        cnt = lib.count(p, self.cx + M + 200, self.cy + M, 40, 34, lambda c: h.near(c, ORANGE, 50))
        self.assertGreater(cnt, 10, "the build row's count")
        self.assertIn(h.ini_get("biblioteca", "ficha"), PIECES, "the row lists the build's pieces")

        # share: the message with the pieces and the code goes to the clipboard
        set_clipboard("nada")
        self.menu(5)
        said = self.answer()
        self.assertIn("Código copiado", said)
        msg = clipboard()
        self.assertTrue(msg.startswith("Build «Francotirador» · Zenvoral\r\n"), msg)
        self.assertIn("• The Chatterbox (", msg)
        self.assertIn("• Striker's Battlegear (Gearset)", msg)
        code = re.search(r"\r\nZV1-[A-Za-z0-9_-]+\r\n", msg)
        self.assertTrue(code, msg)

        # delete it: the build before it becomes current
        self.menu(4)
        said = self.answer()
        self.assertIn("¿Borrar la build «Francotirador»?", said)
        self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "n") == "2", 5))
        self.assertEqual(h.ini_get("builds", "actual"), "1")
        self.assertNotIn("build2", h.ini())

        # the message pasted in a chat line with text around it imports as a new, current build
        self.assertTrue(set_clipboard("[21:04] Sara: mirad mi build >> " + msg + " << ¿qué os parece?"))
        self.menu(6)
        said = self.answer()
        self.assertIn("Build «Francotirador» importada con 3 piezas.", said)
        self.assertEqual(h.ini_get("builds", "n"), "3")
        self.assertEqual(h.ini_get("builds", "actual"), "2")
        self.assertEqual(h.ini_get("builds", "nombre2"), "Francotirador")
        # the same pieces; marks do not travel
        self.assertEqual([v for _, v in pieces("build2")],
                         ["0|1|Striker's Battlegear", "0|3|The Chatterbox", "0|9|Atributos principales de arma"])
        time.sleep(0.5)
        shot("imported")

        # the selector switches builds: "Asalto" (empty), then back
        for move, want in (("Up", "1"), ("Down", "2")):
            self.at(MID + 128, M + 36 + 14)
            time.sleep(0.6)
            h.key(move)
            h.key("Return")
            self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "actual") == want, 5), (move, h.ini().get("builds")))
        self.assertEqual(len(pieces("build2")), 3, "switching keeps every build's pieces")

        # a restart keeps the current build: its pieces are listed, and a mark lands in it
        h.kill_all()
        self.open("restart")
        self.assertEqual(h.ini_get("builds", "actual"), "2")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") in PIECES, 5))
        shown = h.ini_get("biblioteca", "ficha")
        self.button_row(1)
        self.assertTrue(h.wait_for(lambda: ("1|" + shown) in [v for _, v in pieces("build2")], 5), pieces("build2"))
        time.sleep(0.5)
        p = shot("after-restart")
        cnt = lib.count(p, self.cx + M + 200, self.cy + M, 40, 34, lambda c: h.near(c, ORANGE, 50))
        self.assertGreater(cnt, 10)


if __name__ == "__main__":
    unittest.main()
