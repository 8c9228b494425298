"""The expanded overlay on small screens (1280x720 and 1366x768): it fits the screen, streak
block and key hint included, shrinking its scale to the list really shown; a list too long for
even the smallest scale shows compact mode's rows."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402


class SmallScreens(h.ProgramTest):
    def show(self, tasks=0, news=False):
        h.clean_folder()
        h.past_first_start(tasks)
        if not news:  # a pack without news: the list's height is known
            with open(os.path.join(h.APPDATA, "datos.txt"), "w", encoding="utf-8") as f:
                f.write("# ZENVORAL-DATOS 1\nversion = 2999-01-01\n")
        return h.geometry(self.show_overlay())

    def test_the_overlay_fits_small_screens(self):
        saved = os.environ.get("DISPLAY")
        try:
            for w, hgt in [(1280, 720), (1366, 768)]:
                with self.subTest(screen=f"{w}x{hgt}"):
                    h.restart_wine()  # Wine starts again on a display of that size
                    display = h.start_display(f"{w}x{hgt}")
                    h.wine_up()
                    try:
                        self.check(w, hgt)
                    finally:
                        h.restart_wine()
                        display.terminate()
                        display.wait()
        finally:
            os.environ["DISPLAY"] = saved or ""

    def check(self, w, hgt):
        x, y, ww, wh = self.show()
        shot = h.shot(f"small-{w}x{hgt}")
        self.assertLessEqual(y + wh, hgt, "the expanded overlay runs off the screen")
        self.assertGreater(wh, 500, "the whole list, not compact rows")
        self.assertLess(ww, 300, "shrunk to fit")
        # the key hint, the panel's last line, is on the screen: panel colour at the bottom
        self.assertTrue(h.near(h.pixel(shot, x + ww // 2, y + wh - 3), h.BG, 12))
        # with the news of the built-in pack it fits all the same
        x, y, ww, wh = self.show(news=True)
        h.shot(f"small-{w}x{hgt}-news")
        self.assertLessEqual(y + wh, hgt)
        # 35 own tasks: too long for the smallest scale, so compact mode's rows
        x, y, ww, wh = self.show(tasks=35)
        h.shot(f"small-{w}x{hgt}-35")
        self.assertLessEqual(y + wh, hgt)
        self.assertIsNone(h.ini_get("ajustes", "Compacto"), "the player's setting untouched")


if __name__ == "__main__":
    unittest.main(verbosity=2)
