"""The library window of the real program, used the way a player uses it in game: F9 over the
(stand-in) game opens it with the keyboard in the search box, a misspelled weapon name shows that
weapon first, a table entry shows its title and grid, the window's place and last entry come
back after a restart, F9 with the window in front hides it, and a language chosen from the tray
reopens it translated. Screenshots are kept under build/ and checked at their pixels.

Wine draws the window frames itself here ("Managed" off for this file) so that the keyboard
focus moves as it does on Windows without a window manager on the virtual display."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import server  # noqa: E402
import test_game as game  # noqa: E402

ORANGE = (255, 109, 16)
BG = (13, 15, 17)
PANEL = (24, 27, 31)
WM_COMMAND = 0x0111
X11 = r"HKCU\Software\Wine\X11 Driver"


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


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-library-" + name + ".png"))


def library(title="Biblioteca SHD"):
    wins = h.windows("^" + title + "$")
    return wins[0] if wins else None


def client_origin(path, win):
    """Top-left of the window's client area in a screenshot: the first dark background pixel
    below and right of the frame Wine draws."""
    x, y, w, hgt = h.geometry(win)
    col = h.region(path, x + w // 2, y, 1, 60)
    top = next(j for j, row in enumerate(col) if row[0] == BG)
    row = h.region(path, x, y + top + 300, 40, 1)[0]
    left = next(i for i, c in enumerate(row) if c == BG)
    return x + left, y + top


def buttons(path, win, cx, bottom):
    """The buttons under the shown entry as (x, top, w) in screen pixels, in reading order (the
    rows stack upwards from the bottom edge of the client area, bottom): runs of anything but the
    background 3 pixels inside a row's top edge, where the 8-pixel gap above the row is background."""
    x, y, w, hgt = h.geometry(win)
    left, width = cx + RIGHT, x + w - 4 - cx - RIGHT
    found = []
    for row in range(4):
        top = bottom - M - 32 - 40 * row
        if any(c != BG for c in h.region(path, left, top - 4, width, 1)[0]):
            break
        runs, start = [], None
        for i, c in enumerate(h.region(path, left, top + 3, width, 1)[0] + [BG]):
            if c != BG and start is None:
                start = i
            elif c == BG and start is not None:
                if i - start > 60:
                    runs.append((left + start, top, i - start))
                start = None
        if not runs:
            break
        found = runs + found
    return found


def count(path, x, y, w, hgt, pred):
    return sum(pred(c) for row in h.region(path, x, y, w, hgt) for c in row)


def bright(c):
    return min(c) > 170


def orange(c):
    return h.near(c, ORANGE, 40)


# The right column at scale 1: x 582, margin 12; small-picture entries have a 96 square and the
# title 16 down, tables a 56 square and the title 2 down (the library's layout rules).
RIGHT, M = 582, 12


class Library(h.ProgramTest):
    def setUp(self):
        super().setUp()
        self.games = []
        self.run_program("--prueba")  # the first start's notices out of the way
        self.wait_started()
        h.kill_all()

    def tearDown(self):
        for g in self.games:
            g.kill()
        for pid in game.standin_pids(b"e2e games"):
            try:
                os.kill(pid, 9)
            except OSError:
                pass
        super().tearDown()

    def start_with_game(self):
        """The program and the stand-in game, the game holding the keyboard."""
        self.run_program()
        self.wait_started()
        self.games.append(subprocess.Popen([h.RUNNER, game.standin("TheDivision2.exe")],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        g = h.wait_for(lambda: h.windows("^TheDivision2.exe$"), 20)
        self.assertTrue(g, "the stand-in game runs")
        self.assertTrue(h.wait_for(lambda: h.windows(), 6), "the overlay follows the game")
        subprocess.run(["xdotool", "windowfocus", "--sync", str(g[0])], check=True)
        time.sleep(1.5)  # the focus change settles in Wine before the key
        return g[0]

    def type(self, text):
        subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "25", text], check=True)

    def settled(self, name, win, big, minimum=(150, 40, 100)):
        """A screenshot once the entry pane shows its title, subtitle and picture bar (painting
        follows the typing, later on a busy machine); returns (path, counts)."""
        end = time.time() + 8
        while True:
            path = shot(name)
            got = self.entry_pane(path, win, big)
            if all(g > m for g, m in zip(got, minimum)) or time.time() > end:
                return path, got
            time.sleep(0.3)

    def entry_pane(self, path, win, big):
        """(title bright pixels, subtitle orange pixels, picture bar orange pixels)."""
        cx, cy = client_origin(path, win)
        sq, off = (56, 2) if big else (96, 16)
        tx = cx + RIGHT + sq + 14
        title = count(path, tx, cy + M + off, 380, 34, bright)
        sub = count(path, tx, cy + M + off + 34, 300, 22, orange)
        bar = count(path, cx + RIGHT, cy + M + sq - 3, sq, 3, orange)
        return title, sub, bar

    def test_f9_search_table_restart_hide_and_language(self):
        gwin = self.start_with_game()
        h.key("F9")
        lib = h.wait_for(library, 10)
        self.assertTrue(lib, "F9 opens the library")
        time.sleep(0.8)

        # typing goes to the search box at once; a misspelled weapon comes first
        self.type("chaterbox")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "3|The Chatterbox", 10),
                        "the weapon is shown: %r" % h.ini_get("biblioteca", "ficha"))
        p, (title, sub, bar) = self.settled("search", lib, big=False)
        self.assertGreater(title, 150, "the title in light text")
        self.assertGreater(sub, 40, "the subtitle in orange")
        self.assertGreater(bar, 200, "the picture panel's orange bar")

        # a table: title and the grid with its orange header line across the whole width
        self.type("atributos principales de arma")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "9|Atributos principales de arma", 10))
        p, (title, sub, bar) = self.settled("table", lib, big=True)
        self.assertGreater(title, 150)
        self.assertGreater(bar, 100)
        cx, cy = client_origin(p, lib)
        x, y, w, hgt = h.geometry(lib)
        width = x + w - cx - RIGHT - M - 8
        rows = h.region(p, cx + RIGHT, cy + M + 56 + 12 + 78, width, 120)
        lines = [j for j, row in enumerate(rows) if sum(orange(c) for c in row) > width * 0.95]
        self.assertTrue(lines, "the grid header's orange line")
        below = [row[width // 3] for row in rows[lines[-1] + 1:lines[-1] + 60]]
        self.assertIn(BG, below, "even rows on the background")
        self.assertIn(PANEL, below, "odd rows on the panel colour")

        # the weapons row, the weapon again, the window moved, then F9 hides it
        lx, ly = cx, cy
        self.type("")
        h.click(lx + M + 100, ly + M + 7 * 34 + 17)  # "Armas con nombre y exóticas"
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "categoria") == "4", 5))
        subprocess.run(["xdotool", "mousemove", str(lx + 400), str(ly + 26), "click", "1"], check=True)
        h.key("Down")  # from the search box to the results, one row on
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "3|Born Great", 10),
                        "the arrow picks the second weapon: %r" % h.ini_get("biblioteca", "ficha"))
        time.sleep(0.8)  # a second click at once would be a double click, which moves no focus
        subprocess.run(["xdotool", "mousemove", str(lx + 400), str(ly + 26), "click", "1"], check=True)
        self.type("chaterbox")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "3|The Chatterbox", 10))
        # dragged by its title bar: the end of the move stores the place
        x, y, w, hgt = h.geometry(lib)
        subprocess.run(["xdotool", "mousemove", str(x + 300), str(y + 10), "mousedown", "1", "sleep", "0.3",
                        "mousemove", str(x + 320), str(y + 20), "sleep", "0.3", "mousemove", str(x + 340),
                        str(y + 30), "sleep", "0.3", "mouseup", "1"], check=True)
        self.assertTrue(h.wait_for(lambda: h.geometry(lib)[0] == x + 40, 5), "the window follows the drag")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "x") is not None, 5), "the place is stored")
        before, _ = self.settled("before-restart", lib, big=False)
        bx, by = client_origin(before, lib)
        right = lambda path, ox, oy: h.region(path, ox + RIGHT, oy + M, 500, 130)  # noqa: E731
        shown = right(before, bx, by)
        h.key("F9")
        self.assertTrue(h.wait_for(lambda: library() is None, 5), "F9 with the library in front hides it")
        self.assertEqual(h.ini_get("biblioteca", "w"), str(w))
        saved = (int(h.ini_get("biblioteca", "x")), int(h.ini_get("biblioteca", "y")))

        # a restart: the same place and the same entry
        h.kill_all()
        for g in self.games:
            g.kill()
        gwin = self.start_with_game()
        h.key("F9")
        lib2 = h.wait_for(library, 10)
        self.assertTrue(lib2)
        after, _ = self.settled("after-restart", lib2, big=False)
        ax, ay = client_origin(after, lib2)
        self.assertEqual((ax, ay), (bx, by), "the window opens where it was (stored %r)" % (saved,))
        same = h.wait_for(lambda: right(shot("after-restart"), ax, ay) == shown, 6, 0.3)
        self.assertTrue(same, "the same entry is shown")

        # the language from the tray menu: the open library comes back translated
        self.assertTrue(h.post(WM_COMMAND, 703, 0))  # Deutsch
        self.assertTrue(h.wait_for(lambda: library("SHD-Bibliothek"), 10), "reopened in German")
        self.assertIsNone(library(), "the Spanish window is gone")
        de = library("SHD-Bibliothek")
        p, (title, sub, bar) = self.settled("de", de, big=False)
        self.assertGreater(title, 150, "the entry is still shown")
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "de")

    def test_gallery_picture_comes_from_the_local_server(self):
        cache_dir = os.path.join(h.PREFIX, "drive_c", "users", h.USER, "AppData", "Local", "Zenvoral", "imagenes")
        shutil.rmtree(cache_dir, ignore_errors=True)  # nothing downloaded by an earlier run
        srv = server.TestServer(os.path.join(game.BUILD, "site")).start()
        self.addCleanup(srv.stop)
        h.set_settings({"URLImagenes": srv.url("imagenes/")})
        self.start_with_game()
        h.key("F9")
        lib = h.wait_for(library, 10)
        self.assertTrue(lib)
        time.sleep(0.8)
        self.type("rango de los atributos secundarios de las armas")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "9|Atributos secundarios de arma", 10))
        p, _ = self.settled("gallery-entry", lib, big=True)
        cx, cy = client_origin(p, lib)
        x, y, w, hgt = h.geometry(lib)
        bottom = cy + (y + hgt - cy) - 4  # Wine's frame: 4 pixels below the client area
        row = buttons(p, lib, cx, bottom)
        self.assertGreaterEqual(len(row), 2, row)
        bx, by, bw = row[1]  # "Ver imagen", after the build button
        h.click(bx + bw // 2, by + 16)
        view = h.wait_for(lambda: h.windows("^Atributos secundarios de arma$"), 10)
        self.assertTrue(view, "the viewer opens on the entry's gallery")
        name = [l for l in open(os.path.join(game.BUILD, "gen", "img_tables.cpp")) if "{3001," in l][0].split('"')[1]
        cache = os.path.join(cache_dir, name)
        self.assertTrue(h.wait_for(lambda: os.path.exists(cache), 10), "downloaded into the cache")
        self.assertFalse(os.path.exists(cache + ".part"))
        self.assertIn("/imagenes/" + name, srv.paths())
        with open(os.path.join(game.BUILD, "site", "imagenes", name), "rb") as a, open(cache, "rb") as b:
            self.assertEqual(a.read(), b.read())

        def chart():  # the picture's orange bars on its dark background
            path = shot("viewer")
            vx, vy, vw, vh = h.geometry(view[0])
            return count(path, vx + vw // 4, vy + vh // 4, vw // 2, vh // 2, orange) > 2000
        self.assertTrue(h.wait_for(chart, 10, 0.5), "the chart is shown")
        h.key("Escape")
        self.assertTrue(h.wait_for(lambda: not h.windows("^Atributos secundarios de arma$"), 5), "Esc hides it")


if __name__ == "__main__":
    unittest.main()
