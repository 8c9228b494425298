"""Builds in the library window of the real program, driven as a player does: two new builds
from the "···" menu, pieces added from searches with the build button, one marked obtained, the
build shared (the clipboard read back), deleted, the message pasted back inside a chat line and
imported, the selector switching builds; after a restart the current build is still there.

Like the library's own test, Wine draws the window frames here ("Managed" off) so that the
keyboard follows the windows as on Windows."""

import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import test_library as lib  # noqa: E402
from test_library import setUpModule, tearDownModule  # noqa: E402,F401

# Client-area places at scale 1: margin 12, categories 240 wide with rows of 34, the middle column
# at 264 (search box, then the build selector and "···" with the build row).
M, MID = 12, 264
GREEN = (95, 191, 138)
PIECES = ["3|The Chatterbox", "1|Striker's Battlegear", "9|Atributos principales de arma"]


def dialog():
    """The texts of the program's open question dialog, None while there is none."""
    t = h.probe("dialog")
    return None if t == "none" else t


def set_clipboard(text):
    path = os.path.join(h.ROOT, "build", "e2e-clip.txt")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return h.probe("clipset", h.wine_path(path)) == "ok"


def pieces(sec="build2"):
    return [v for _, v in h.ini().get(sec, [])]


def live_count(path, cx, cy):
    """Orange pixels of the count at the end of the build row (the first category row)."""
    return h.count(path, (cx + M + 200, cy + M, 40, 34), h.ORANGE, 50)


class LibraryBuilds(h.ProgramTest):
    def open(self, name):
        self.run_program("--prueba", "--prueba-biblioteca", "misbuilds")
        self.wait_started()
        self.win = h.wait_for(lib.library, 20)
        self.assertTrue(self.win, "the library opens on the build row")
        time.sleep(1.5)
        self.cx, self.cy = lib.client_origin(h.shot("library-builds-" + name), self.win)

    def at(self, x, y, pause=0.0):
        h.click(self.cx + x, self.cy + y)
        time.sleep(pause)

    def button_row(self, n):
        """Clicks the n-th button under the entry (0 the build button, 1 the obtained one)."""
        b = lib.buttons(h.shot("library-builds-buttons"), self.win)
        self.assertGreater(len(b), n, b)
        bx, by, bw = b[n]
        h.click(bx + bw // 2, by + 16)
        return bx, by, bw

    def menu(self, item, text=None):
        """The build menu's command item (1 new ... 4 delete, 5 share, 6 import) from the keys; the
        question it asks answered (text typed into its field if given) with Enter; its texts."""
        self.at(MID + 262 + 19, M + 36 + 14, 0.8)
        for k in ["Down"] * item + ["Return"]:
            h.key(k)
            time.sleep(0.1)
        said = h.wait_for(dialog, 10, 0.3)
        self.assertTrue(said, "a dialog is shown")
        if text is not None:
            self.assertTrue(h.set_text("Zenvoral", 100, text))
        h.key("Return")
        self.assertTrue(h.wait_for(lambda: dialog() is None, 5, 0.3), "Enter closes the dialog")
        return said

    def search(self, text, key):
        self.at(MID + 150, M + 14)
        h.key("ctrl+a")
        h.type_text(text)
        self.assertTrue(lib.shown(key), "%s is shown: %r" % (key, h.ini_get("biblioteca", "ficha")))
        time.sleep(0.5)

    def test_new_add_obtain_share_delete_import_restart(self):
        self.open("start")
        self.assertIn("Nombre de la nueva build", self.menu(1, "Asalto"))
        self.menu(1, "Francotirador")
        self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "n") == "3", 5), h.ini().get("builds"))
        self.assertEqual([h.ini_get("builds", k) for k in ("actual", "nombre1", "nombre2")],
                         ["2", "Asalto", "Francotirador"])

        # pieces from searches in another row ("Gearsets"): the build button names the current build
        self.at(M + 100, M + 5 * 34 + 17, 0.5)
        for key, query in zip(PIECES, ("chaterbox", "striker battlegear", "atributos principales de arma")):
            self.search(query, key)
            self.button_row(0)
            self.assertTrue(h.wait_for(lambda: "0|" + key in pieces(), 5), (key, pieces()))
        # the last piece shown is marked obtained: its button turns green
        bx, by, bw = self.button_row(1)
        self.assertTrue(h.wait_for(lambda: "1|" + PIECES[2] in pieces(), 5), pieces())
        time.sleep(0.5)
        self.assertGreater(h.count(h.shot("library-builds-obtained"), (bx, by, bw, 32), GREEN), 30)
        # kept in library order, one marked; the other build untouched
        self.assertEqual(pieces(), ["0|1|Striker's Battlegear", "0|3|The Chatterbox", "1|9|Atributos principales de arma"])
        self.assertEqual(pieces("build1"), [])

        # the build row lists them with the count "1/3" in orange
        self.at(M + 100, M + 17)
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "categoria") == "0", 5))
        time.sleep(0.5)
        self.assertGreater(live_count(h.shot("library-builds-row"), self.cx, self.cy), 10, "the build row's count")
        self.assertIn(h.ini_get("biblioteca", "ficha"), PIECES, "the row lists the build's pieces")

        # share: the message with the pieces and the code goes to the clipboard
        set_clipboard("nada")
        self.assertIn("Código copiado", self.menu(5))
        msg = h.probe("clipget")
        self.assertTrue(msg.startswith("Build «Francotirador» · Zenvoral\r\n"), msg)
        self.assertRegex(msg, r"\r\nZV1-[A-Za-z0-9_-]+\r\n")

        # delete it: the build before it becomes current
        self.assertIn("¿Borrar la build «Francotirador»?", self.menu(4))
        self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "n") == "2", 5))
        self.assertEqual(h.ini_get("builds", "actual"), "1")
        self.assertNotIn("build2", h.ini())

        # the message pasted in a chat line with text around it imports as a new, current build
        # with the same pieces (marks do not travel)
        self.assertTrue(set_clipboard("[21:04] Sara: mirad mi build >> " + msg + " << ¿qué os parece?"))
        self.assertIn("Build «Francotirador» importada con 3 piezas.", self.menu(6))
        self.assertEqual([h.ini_get("builds", k) for k in ("n", "actual", "nombre2")], ["3", "2", "Francotirador"])
        self.assertEqual(pieces(), ["0|1|Striker's Battlegear", "0|3|The Chatterbox", "0|9|Atributos principales de arma"])

        # the selector switches builds: "Asalto" (empty), then back
        for move, want in (("Up", "1"), ("Down", "2")):
            self.at(MID + 128, M + 36 + 14, 0.6)
            h.key(move)
            h.key("Return")
            self.assertTrue(h.wait_for(lambda: h.ini_get("builds", "actual") == want, 5), (move, h.ini().get("builds")))
        self.assertEqual(len(pieces()), 3, "switching keeps every build's pieces")

        # a restart keeps the current build: its pieces are listed, and a mark lands in it
        h.kill_all()
        self.open("restart")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") in PIECES, 5))
        shown = h.ini_get("biblioteca", "ficha")
        self.button_row(1)
        self.assertTrue(h.wait_for(lambda: "1|" + shown in pieces(), 5), pieces())
        time.sleep(0.5)
        self.assertGreater(live_count(h.shot("library-builds-after-restart"), self.cx, self.cy), 10)


if __name__ == "__main__":
    unittest.main()
