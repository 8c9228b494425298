"""The overlay of the real program. Beside a stand-in game: it appears when the game starts, hides
when it ends, a launcher does not count, and the global keys expand, hide and quit. Then shown for
a test: where it shows with its emblem and header, a click on a task row (saved at once, a slide
is no click), the emblem collapsing it, drags by the header and by the collapsed emblem (the place
stored), and the tray menu: its ticks, a language chosen there relabels the overlay, and compact
mode shows only pending tasks down to the "all done" row."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

WM_RBUTTONUP = 0x0205


def width():
    """Width of the visible overlay, or None while it is hidden."""
    wins = h.windows()
    return h.geometry(wins[0])[2] if wins else None


def first_box(path, win):
    """Top edge of the first check box (12 grey pixels in a row at x + 22), or None."""
    x, y, w, hgt = h.geometry(win)
    for j, row in enumerate(h.region(path, x + 22, y + 54, 12, min(hgt, 1200 - y) - 54)):
        if all(p == h.GREY for p in row):
            return y + 54 + j
    return None


def ticks(path, geo):
    """Ticked menu items: dark marks in the menu's left margin, counted by rows."""
    x, y, w, hgt = geo
    marks, inside = 0, False
    for row in h.region(path, x + 2, y + 2, 14, hgt - 4):
        dark = any(sum(c) < 200 for c in row)
        marks += dark and not inside
        inside = dark
    return marks


class Overlay(h.ProgramTest):
    def open_menu(self, name):
        """Opens the tray menu; (screenshot, menu geometry). Under Wine the first menu after the
        overlay takes the foreground can close again at once; a player clicks again, so does this."""
        subprocess.run(["xdotool", "mousemove", "700", "300"], check=True)
        for _ in range(4):
            known = h.windows(".*")
            self.assertTrue(h.post(h.WM_APP_TRAY, 0, WM_RBUTTONUP))
            menu = h.wait_for(lambda: [w for w in h.windows(".*") if w not in known and h.geometry(w)[3] > 100], 5)
            time.sleep(0.8)
            if menu and h.geometry(menu[0])[3]:
                return h.shot(name), h.geometry(menu[0])
        self.fail("the menu did not open")

    def moved(self, win, x, y, dx, dy):
        """The window followed the pointer (less the press tolerance) and stored where it ended."""
        self.assertTrue(h.wait_for(lambda: abs(h.geometry(win)[0] - x - dx) <= 30 and
                                   abs(h.geometry(win)[1] - y - dy) <= 30, 5), h.geometry(win))
        nx, ny = h.geometry(win)[:2]
        self.assertTrue(h.wait_for(lambda: (h.ini_get("estado", "posX"), h.ini_get("estado", "posY")) ==
                                   (str(nx), str(ny)), 5))
        return nx, ny

    def test_overlay_with_the_game_then_clicks_drags_and_tray_menu(self):
        h.past_first_start()
        self.run_program()
        self.wait_started()
        launcher = self.run_game("TheDivision2Launcher.exe")
        time.sleep(4.5)
        self.assertIsNone(width(), "no game (a launcher is not the game): the overlay stays hidden")
        self.run_game()
        # the clock starts once the game's process exists (Wine takes a moment to start it)
        self.assertTrue(h.wait_for(lambda: h.pids(b"e2e games", b"TheDivision2.exe"), 10, 0.02))
        t0 = time.time()
        self.assertTrue(h.wait_for(width, 6, 0.05), "the overlay appears when the game starts")
        self.assertLess(time.time() - t0, 2.6)  # the 2-s check plus Wine's mapping
        self.assertEqual(width(), 52, "collapsed: the emblem")
        for k, want in (("F8", 300), ("F8", 52), ("F7", None), ("F7", 52)):  # expand, collapse, hide, show
            h.key(k)  # the keys reach the overlay while the game has the keyboard
            self.assertTrue(h.wait_for(lambda: width() == want, 3), (k, want))
        h.kill(h.pids(b"e2e games", b"TheDivision2.exe"))
        t0 = time.time()
        self.assertTrue(h.wait_for(lambda: width() is None, 6, 0.05), "the overlay hides when the game ends")
        self.assertLess(time.time() - t0, 2.6)
        h.focus(launcher)
        h.key("F10")
        self.assertTrue(h.wait_for(lambda: not h.program_pids(), 6), "F10 ends the program")
        h.kill(h.pids(b"e2e games"))

        # the mutex is free: a new start runs normally (no notice box, a second start line)
        win = self.show_overlay()
        self.assertEqual(sum("Inicio" in l for l in h.log_lines()), 2)
        subprocess.run(["xdotool", "mousemove", "900", "700"], check=True)
        time.sleep(0.5)
        x, y, w, hgt = h.geometry(win)
        self.assertEqual((x, y, w), (12, 12, 300))
        p = h.shot("overlay-es")
        self.assertTrue(h.near(h.pixel(p, x + 26, y + 8), h.ORANGE, 40), "emblem ring")
        self.assertGreater(h.count(p, (x + 56, y + 6, 170, 24), h.ORANGE, 30), 0, '"SHD" in orange')

        # a click on a task ticks it at once; a slide of 5 pixels is no click and drags nothing,
        # a press that wanders 3 pixels still is a click
        top = first_box(p, win)
        h.click(x + 150, top + 2)
        self.assertTrue(h.wait_for(lambda: h.ini_get("estado", "c0") == "1", 5))
        time.sleep(0.5)
        self.assertEqual(h.pixel(h.shot("overlay-checked"), x + 23, top + 1), h.ORANGE, "filled box")
        h.drag(x + 150, top + 2, x + 155, top + 2)
        time.sleep(0.5)
        self.assertEqual(h.ini_get("estado", "c0"), "1")
        self.assertEqual(h.geometry(win)[:2], (x, y), "rows do not drag the overlay")
        h.drag(x + 150, top + 2, x + 153, top + 5)
        self.assertTrue(h.wait_for(lambda: h.ini_get("estado", "c0") == "0", 5))

        # the emblem collapses and expands; the header and the collapsed emblem drag it
        h.click(x + 26, y + 26)
        self.assertTrue(h.wait_for(lambda: h.geometry(win)[2:] == (52, 52), 5), "collapsed to the emblem")
        time.sleep(0.5)
        self.assertNotEqual(h.pixel(h.shot("overlay-collapsed"), x + 1, y + 1), h.BG, "a round window")
        h.click(x + 26, y + 26)
        self.assertTrue(h.wait_for(lambda: h.geometry(win)[2:] == (300, hgt), 5), "expanded again")
        h.drag(x + 120, y + 40, x + 320, y + 140)
        x, y = self.moved(win, x, y, 200, 100)
        h.click(x + 26, y + 26)
        h.wait_for(lambda: h.geometry(win)[2] == 52, 5)
        h.drag(x + 26, y + 26, x + 126, y + 76)
        x, y = self.moved(win, x, y, 100, 50)
        self.assertEqual(h.geometry(win)[2:], (52, 52), "dragged without expanding")
        h.click(x + 26, y + 26)
        self.assertTrue(h.wait_for(lambda: h.geometry(win)[2] == 300, 5))

        # the tray menu: shown always and expanded are ticked
        path, geo = self.open_menu("menu")
        self.assertGreater(geo[3], 250, "twenty items")
        self.assertEqual(ticks(path, geo), 2)
        h.key("Escape")
        time.sleep(0.5)
        # French from its language submenu (one loop makes its items) relabels the overlay
        x, y, w, hgt = h.geometry(win)
        before = h.region(h.shot("lang-es"), x, y + 60, w, hgt - 60)
        self.assertTrue(h.post(h.WM_COMMAND, 702, 0))
        self.assertTrue(h.wait_for(lambda: h.ini_get("ajustes", "Idioma") == "fr", 5))
        time.sleep(1)
        after = h.region(h.shot("lang-fr"), x, y + 60, w, hgt - 60)
        self.assertGreater(sum(a != b for ra, rb in zip(before, after) for a, b in zip(ra, rb)), 2000)

        # compact mode, the third item: ticked, and every click on a pending task takes its row
        # away, down to the "all done" row
        self.open_menu("menu-fr")
        for k in ("Down", "Down", "Down", "Return"):
            h.key(k)
        self.assertTrue(h.wait_for(lambda: h.ini_get("ajustes", "Compacto") == "1", 5))
        path, geo = self.open_menu("menu-compact")
        self.assertEqual(ticks(path, geo), 3, "compact mode is ticked")
        h.key("Escape")
        time.sleep(0.5)
        heights = [h.geometry(win)[3]]
        while len(heights) < 20:
            top = first_box(h.shot("compact"), win)
            if top is None:
                break
            h.click(h.geometry(win)[0] + 150, top + 2)
            self.assertTrue(h.wait_for(lambda: h.geometry(win)[3] < heights[-1], 5), "the row went away")
            heights.append(h.geometry(win)[3])
        self.assertEqual(heights[-1], 96, heights)
        self.assertGreaterEqual(len(heights), 14, "thirteen tasks were pending")
        state = dict(h.ini().get("estado", []))
        self.assertTrue(all(state.get(f"c{i}") == "1" for i in range(13)), state)


if __name__ == "__main__":
    unittest.main(verbosity=2)
