"""The overlay of the real program: where it shows, its emblem and header, clicks on task rows
(saved at once), collapsing with the emblem, and dragging by the header band."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

ORANGE = (255, 109, 16)
BG = (13, 15, 17)
DISC = (21, 24, 27)
GREY = (128, 137, 146)
LINE = (40, 45, 51)


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-" + name + ".png"))


def drag(x0, y0, x1, y1):
    subprocess.run(["xdotool", "mousemove", str(x0), str(y0), "mousedown", "1"], check=True)
    for k in range(1, 9):
        time.sleep(0.05)
        subprocess.run(["xdotool", "mousemove", str(x0 + (x1 - x0) * k // 8), str(y0 + (y1 - y0) * k // 8)], check=True)
    time.sleep(0.3)
    subprocess.run(["xdotool", "mouseup", "1"], check=True)


class Overlay(h.ProgramTest):
    def show(self, *args):
        """The expanded overlay on its own: the first start's welcome balloon is out of the way."""
        self.run_program("--prueba", "edicion", *args)
        self.wait_started()
        h.kill_all()
        self.run_program("--prueba", "edicion", *args)
        subprocess.run(["xdotool", "mousemove", "900", "700"], check=True)
        wins = h.wait_for(lambda: h.windows(), 20)
        self.assertTrue(wins, "the overlay did not show")
        time.sleep(1.5)
        return wins[0]

    def first_box(self, path, x, y, hgt):
        """Top edge of the first check box: 12 grey pixels in a row at x + 22."""
        rows = h.region(path, x + 22, y + 54, 12, min(hgt, 800 - y) - 54)
        for j, row in enumerate(rows):
            if all(p == GREY for p in row):
                return y + 54 + j
        self.fail("no check box found")

    def test_shown_at_its_place_with_emblem_and_header(self):
        win = self.show()
        x, y, w, hgt = h.geometry(win)
        self.assertEqual((x, y, w), (12, 12, 300))
        self.assertGreater(hgt, 400)
        p = shot("overlay-es")
        self.assertTrue(h.near(h.pixel(p, x + 26, y + 8), ORANGE, 40), "emblem ring")
        self.assertTrue(h.near(h.pixel(p, x + 14, y + 26), DISC, 8), "emblem disc")
        self.assertEqual(h.pixel(p, x + 150, y + 52), LINE, "header line")
        self.assertEqual(h.pixel(p, x + 150, y + 53), BG)
        # "SHD" in orange right of the title
        title = h.region(p, x + 56, y + 6, 170, 24)
        self.assertTrue(any(h.near(c, ORANGE, 30) for row in title for c in row))
        # the three header icons are drawn, in grey, in their boxes
        for left in (206, 234, 262):
            box = h.region(p, x + left, y + 5, 26, 24)
            self.assertTrue(any(h.near(c, GREY, 40) for row in box for c in row), f"icon at {left}")

    def test_click_on_task_toggles_and_saves(self):
        win = self.show()
        x, y, w, hgt = h.geometry(win)
        top = self.first_box(shot("overlay-before"), x, y, hgt)
        h.click(x + 150, top + 2)
        self.assertEqual(h.wait_for(lambda: h.ini_get("estado", "c0") == "1", 5), True)
        time.sleep(0.5)
        p = shot("overlay-checked")
        bx, by = x + 22, top
        self.assertEqual(h.pixel(p, bx + 1, by + 1), ORANGE, "filled box")
        self.assertEqual(h.pixel(p, bx + 10, by + 10), ORANGE)
        self.assertTrue(h.near(h.pixel(p, bx + 5, by + 8), BG, 40), "check mark")
        # a slide of 5 pixels over the rows is no click and does not drag the overlay;
        # a press that wanders 3 pixels still is a click and clears the task
        drag(x + 150, top + 2, x + 155, top + 2)
        time.sleep(0.5)
        self.assertEqual(h.ini_get("estado", "c0"), "1")
        self.assertEqual(h.geometry(win)[:2], (x, y), "rows do not drag the overlay")
        drag(x + 150, top + 2, x + 153, top + 5)
        self.assertEqual(h.wait_for(lambda: h.ini_get("estado", "c0") == "0", 5), True)

    def test_emblem_collapses_and_expands(self):
        win = self.show()
        x, y, w, hgt = h.geometry(win)
        h.click(x + 26, y + 26)
        self.assertTrue(h.wait_for(lambda: h.geometry(win)[2:] == (52, 52), 5), "collapsed to the emblem")
        time.sleep(0.5)
        p = shot("overlay-collapsed")
        self.assertTrue(h.near(h.pixel(p, x + 26, y + 8), (255, 138, 61), 40), "lighter ring under the mouse")
        self.assertNotEqual(h.pixel(p, x + 1, y + 1), BG, "the corner is outside the round window")
        h.click(x + 26, y + 26)
        self.assertTrue(h.wait_for(lambda: h.geometry(win)[2:] == (300, hgt), 5), "expanded again")

    def moved(self, win, x, y, dx, dy):
        """The window followed the pointer (less the press tolerance) and stored where it ended."""
        ok = h.wait_for(lambda: abs(h.geometry(win)[0] - x - dx) <= 30 and abs(h.geometry(win)[1] - y - dy) <= 30, 5)
        self.assertTrue(ok, h.geometry(win))
        nx, ny = h.geometry(win)[:2]
        self.assertEqual(h.wait_for(lambda: (h.ini_get("estado", "posX"), h.ini_get("estado", "posY")) ==
                                    (str(nx), str(ny)), 5), True)
        return nx, ny

    def test_drags_by_header_and_collapsed_emblem_store_the_position(self):
        win = self.show()
        x, y, w, hgt = h.geometry(win)
        drag(x + 120, y + 40, x + 320, y + 140)
        x, y = self.moved(win, x, y, 200, 100)
        # collapsed, the emblem drags without expanding
        h.click(x + 26, y + 26)
        h.wait_for(lambda: h.geometry(win)[2] == 52, 5)
        drag(x + 26, y + 26, x + 126, y + 76)
        self.moved(win, x, y, 100, 50)
        self.assertEqual(h.geometry(win)[2:], (52, 52))

if __name__ == "__main__":
    unittest.main(verbosity=2)
