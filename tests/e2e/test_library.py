"""The library window of the real program, used the way a player uses it in game: F9 over the
(stand-in) game opens it with the keyboard in the search box, a misspelled weapon name shows that
weapon first, the arrow key goes on to the results, the window's place and last entry come back
after a restart, F9 with the window in front hides it, a table's gallery picture comes from the
local server into the cache and the viewer, and a language chosen from the tray reopens the
library translated. Wine draws the window frames itself here ("Managed" off for this file) so
that the keyboard focus moves as it does on Windows without a window manager."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import server  # noqa: E402

X11 = r"HKCU\Software\Wine\X11 Driver"
# The right column at scale 1: x 582, margin 12; small-picture entries have a 96 square and the
# title 16 down, tables a 56 square and the title 2 down (the library's layout rules).
RIGHT, M = 582, 12
CACHE = os.path.join(h.PREFIX, "drive_c", "users", h.USER, "AppData", "Local", "Zenvoral", "imagenes")
BUILD = os.path.dirname(h.EXE)


def wine_reg(*args):
    subprocess.run(["wine", "reg"] + list(args), env=dict(os.environ, WINEPREFIX=h.PREFIX, WINEDEBUG="-all"),
                   capture_output=True, timeout=60)


def setUpModule():
    h.setUpModule()
    wine_reg("add", X11, "/v", "Managed", "/d", "N", "/f")


def tearDownModule():
    h.kill_all()
    wine_reg("delete", X11, "/v", "Managed", "/f")
    h.tearDownModule()


def library(title="Biblioteca SHD"):
    wins = h.windows("^" + title + "$")
    return wins[0] if wins else None


def client_origin(path, win):
    """Top-left of the window's client area in a screenshot: the first dark background pixel
    below and right of the frame Wine draws."""
    x, y, w, hgt = h.geometry(win)
    top = next(j for j, row in enumerate(h.region(path, x + w // 2, y, 1, 60)) if row[0] == h.BG)
    left = next(i for i, c in enumerate(h.region(path, x, y + top + 300, 40, 1)[0]) if c == h.BG)
    return x + left, y + top


def buttons(path, win):
    """The buttons under the shown entry (Wine's frame: 4 pixels right of and below the client area)."""
    x, y, w, hgt = h.geometry(win)
    cx = client_origin(path, win)[0]
    return h.entry_buttons(path, cx + RIGHT, x + w - 4 - cx - RIGHT, y + hgt - 4)


def bright(c):
    return min(c) > 170


def settled(name, win, big=False, need=(150, 40, 100)):
    """A screenshot once the entry pane shows its title (light), subtitle and picture bar (orange)
    (painting follows the typing, later on a busy machine); (path, the three pixel counts)."""
    end = time.time() + 8
    while True:
        path = h.shot("library-" + name)
        cx, cy = client_origin(path, win)
        sq, off = (56, 2) if big else (96, 16)
        tx = cx + RIGHT + sq + 14
        got = (h.count(path, (tx, cy + M + off, 380, 34), bright),
               h.count(path, (tx, cy + M + off + 34, 300, 22), h.ORANGE),
               h.count(path, (cx + RIGHT, cy + M + sq - 3, sq, 3), h.ORANGE))
        if all(g > n for g, n in zip(got, need)) or time.time() > end:
            return path, got


def shown(key):
    return h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == key, 10)


class Library(h.ProgramTest):
    def start_with_game(self):
        """The program and the stand-in game, the game holding the keyboard; F9 opens the library."""
        self.run_program()
        self.wait_started()
        self.run_game()
        self.assertTrue(h.wait_for(h.windows, 6), "the overlay follows the game")
        time.sleep(1.5)  # the focus change settles in Wine before the key
        h.key("F9")
        lib = h.wait_for(library, 10)
        self.assertTrue(lib, "F9 opens the library")
        time.sleep(0.8)
        return lib

    def type(self, text):
        h.key("ctrl+a")
        h.type_text(text)

    def test_f9_search_restart_gallery_and_language(self):
        shutil.rmtree(CACHE, ignore_errors=True)  # nothing downloaded by an earlier run
        srv = server.TestServer(os.path.join(BUILD, "site")).start()
        self.addCleanup(srv.stop)
        h.past_first_start()
        h.set_settings({"URLImagenes": srv.url("imagenes/")})
        lib = self.start_with_game()

        # typing goes to the search box at once; a misspelled weapon comes first
        self.type("chaterbox")
        self.assertTrue(shown("3|The Chatterbox"), h.ini_get("biblioteca", "ficha"))
        p, got = settled("search", lib)
        self.assertTrue(got[0] > 150 and got[1] > 40 and got[2] > 200, "title, subtitle and picture bar: %r" % (got,))

        # the weapons row, then the arrow from the search box to the results, one row on
        lx, ly = client_origin(p, lib)
        self.type("")
        h.click(lx + M + 100, ly + M + 7 * 34 + 17)  # "Armas con nombre y exóticas"
        h.click(lx + 400, ly + 26)
        h.key("Down")
        self.assertTrue(shown("3|Born Great"), h.ini_get("biblioteca", "ficha"))
        time.sleep(0.8)  # a second click at once would be a double click, which moves no focus
        h.click(lx + 400, ly + 26)
        self.type("chaterbox")
        self.assertTrue(shown("3|The Chatterbox"))
        # dragged by its title bar: the end of the move stores the place
        x, y, w, hgt = h.geometry(lib)
        subprocess.run(["xdotool", "mousemove", str(x + 300), str(y + 10), "mousedown", "1", "sleep", "0.3",
                        "mousemove", str(x + 320), str(y + 20), "sleep", "0.3", "mousemove", str(x + 340),
                        str(y + 30), "sleep", "0.3", "mouseup", "1"], check=True)
        self.assertTrue(h.wait_for(lambda: h.geometry(lib)[0] == x + 40, 5), "the window follows the drag")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "x") is not None, 5), "the place is stored")
        before, _ = settled("before-restart", lib)
        bx, by = client_origin(before, lib)
        entry = lambda path, ox, oy: h.region(path, ox + RIGHT, oy + M, 500, 130)  # noqa: E731
        h.key("F9")
        self.assertTrue(h.wait_for(lambda: library() is None, 5), "F9 with the library in front hides it")
        self.assertEqual(h.ini_get("biblioteca", "w"), str(w))

        # a restart: the same place and the same entry
        h.kill_all()
        h.kill(h.pids(b"e2e games"))
        lib = self.start_with_game()
        after, _ = settled("after-restart", lib)
        self.assertEqual(client_origin(after, lib), (bx, by), "the window opens where it was")
        self.assertTrue(h.wait_for(lambda: entry(h.shot("library-after-restart"), bx, by) == entry(before, bx, by),
                                   6, 0.3), "the same entry is shown")

        # a table's gallery: its picture downloaded from the local server into the cache, then shown
        self.type("rango de los atributos secundarios de las armas")
        self.assertTrue(shown("9|Atributos secundarios de arma"))
        p, _ = settled("gallery-entry", lib, big=True)
        row = buttons(p, lib)
        self.assertGreaterEqual(len(row), 2, row)
        bx, by, bw = row[1]  # "Ver imagen", after the build button
        h.click(bx + bw // 2, by + 16)
        view = h.window("^Atributos secundarios de arma$", timeout=10)
        self.assertTrue(view, "the viewer opens on the entry's gallery")
        name = [l for l in open(os.path.join(BUILD, "gen", "img_tables.cpp")) if "{3001," in l][0].split('"')[1]
        self.assertTrue(h.wait_for(lambda: os.path.exists(os.path.join(CACHE, name)), 10), "downloaded into the cache")
        self.assertFalse(os.path.exists(os.path.join(CACHE, name + ".part")))
        with open(os.path.join(BUILD, "site", "imagenes", name), "rb") as a, open(os.path.join(CACHE, name), "rb") as b:
            self.assertEqual(a.read(), b.read())
        vx, vy, vw, vh = h.geometry(view)
        middle = (vx + vw // 4, vy + vh // 4, vw // 2, vh // 2)
        self.assertTrue(h.wait_for(lambda: h.count(h.shot("library-viewer"), middle, h.ORANGE) > 2000, 10, 0.5),
                        "the chart's orange bars are shown")
        h.key("Escape")
        self.assertTrue(h.gone("^Atributos secundarios de arma$"), "Esc hides it")

        # the language from the tray menu: the open library comes back translated
        self.assertTrue(h.post(h.WM_COMMAND, 703, 0))  # Deutsch
        de = h.window("^SHD-Bibliothek$", timeout=10)
        self.assertTrue(de, "reopened in German")
        self.assertIsNone(library(), "the Spanish window is gone")
        self.assertGreater(settled("de", de, big=True)[1][0], 150, "the entry is still shown")
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "de")


if __name__ == "__main__":
    unittest.main()
