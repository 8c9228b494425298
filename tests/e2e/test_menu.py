"""The tray menu of the real program: it opens on the tray icon's right click with its ticks,
compact mode chosen there shows only the pending tasks down to the "all done" row, and a
language chosen there relabels the overlay."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

GREY = (128, 137, 146)
WM_APP_TRAY = 0x8001
WM_RBUTTONUP = 0x0205


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-" + name + ".png"))


def popups(known):
    return [w for w in h.windows(".*") if w not in known and h.geometry(w)[3] > 100]


class Menu(h.ProgramTest):
    def setUp(self):
        super().setUp()
        # the first start's welcome balloon out of the way, then the expanded overlay
        self.run_program("--prueba", "edicion")
        self.wait_started()
        h.kill_all()
        self.run_program("--prueba", "edicion")
        self.win = h.wait_for(lambda: h.windows(), 20)[0]
        time.sleep(1.5)

    def open_menu(self, name):
        """Opens the menu at a known place and returns (screenshot, menu geometry). Under Wine
        the first menu after the overlay takes the foreground can close again at once as the
        focus settles; a player would simply click again, and so does this."""
        subprocess.run(["xdotool", "mousemove", "700", "300"], check=True)
        for _ in range(4):
            known = h.windows(".*")
            self.assertTrue(h.post(WM_APP_TRAY, 0, WM_RBUTTONUP), "no overlay window to post to")
            menu = h.wait_for(lambda: popups(known), 5)
            time.sleep(0.8)
            if menu and h.geometry(menu[0])[3]:
                return shot(name), h.geometry(menu[0])
        self.fail("the menu did not open")

    def ticks(self, path, geo):
        """Number of ticked items: dark marks in the menu's left margin, counted by rows."""
        x, y, w, hgt = geo
        rows = h.region(path, x + 2, y + 2, 14, hgt - 4)
        marks, inside = 0, False
        for row in rows:
            dark = any(sum(c) < 200 for c in row)
            if dark and not inside:
                marks += 1
            inside = dark
        return marks

    def first_box(self, path):
        """Top edge of the first check box (12 grey pixels in a row at x + 22), or None."""
        x, y, w, hgt = h.geometry(self.win)
        for j, row in enumerate(h.region(path, x + 22, y + 54, 12, hgt - 54)):
            if all(p == GREY for p in row):
                return y + 54 + j
        return None

    def test_menu_ticks_and_compact_mode_down_to_all_done(self):
        path, geo = self.open_menu("menu")
        self.assertGreater(geo[3], 250, "twenty items")
        self.assertEqual(self.ticks(path, geo), 2, "shown always and expanded are ticked")
        for k in ("Down", "Down", "Down", "Return"):  # the third item
            h.key(k)
        self.assertEqual(h.wait_for(lambda: h.ini_get("ajustes", "Compacto") == "1", 5), True)
        self.assertTrue(h.wait_for(lambda: h.geometry(self.win)[3] < 700, 5), "compact is shorter")
        path, geo = self.open_menu("menu-compact")
        self.assertEqual(self.ticks(path, geo), 3, "compact mode is ticked")
        h.key("Escape")
        time.sleep(0.5)

        # every click on a pending task takes its row away, down to the "all done" row
        heights = [h.geometry(self.win)[3]]
        for _ in range(20):
            top = self.first_box(shot("compact"))
            if top is None:
                break
            h.click(h.geometry(self.win)[0] + 150, top + 2)
            self.assertTrue(h.wait_for(lambda: h.geometry(self.win)[3] < heights[-1], 5), "the row went away")
            heights.append(h.geometry(self.win)[3])
        self.assertEqual(heights[-1], 96, heights)
        self.assertGreaterEqual(len(heights), 14, "thirteen tasks were pending")
        state = dict(h.ini().get("estado", []))
        self.assertTrue(all(state.get(f"c{i}") == "1" for i in range(13)), state)

    def test_language_from_the_menu_relabels_the_overlay(self):
        x, y, w, hgt = h.geometry(self.win)
        before = h.region(shot("lang-es"), x, y + 60, w, hgt - 60)
        for _ in range(3):  # on a busy machine a key can reach Wine's menu before it is ready: again
            self.open_menu("menu-lang")
            for _ in range(13):
                h.key("Down")  # to the language submenu (separators are skipped)
            time.sleep(0.3)
            h.key("Right")
            time.sleep(0.5)
            h.key("Down")
            h.key("Down")  # Español, English, Français
            time.sleep(0.3)
            h.key("Return")
            if h.wait_for(lambda: h.ini_get("ajustes", "Idioma") == "fr", 5):
                break
            h.key("Escape")
            h.key("Escape")
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "fr")
        time.sleep(1)
        after = h.region(shot("lang-fr"), x, y + 60, w, hgt - 60)
        changed = sum(a != b for ra, rb in zip(before, after) for a, b in zip(ra, rb))
        self.assertGreater(changed, 2000, "the overlay's texts changed")


if __name__ == "__main__":
    unittest.main(verbosity=2)
