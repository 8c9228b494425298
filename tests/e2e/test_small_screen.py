"""The expanded overlay on small screens (1280x720 and 1366x768): it fits the screen, streak
block and key hint included, shrinking its scale to the list really shown; a list too long for
even the smallest scale shows compact mode's rows."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

SIZES = [(1280, 720), (1366, 768)]
_saved_display = None


def setUpModule():
    global _saved_display
    _saved_display = os.environ.get("DISPLAY")


def tearDownModule():
    h.kill_all()
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=h.PREFIX), capture_output=True)
    if _saved_display is None:
        os.environ.pop("DISPLAY", None)
    else:
        os.environ["DISPLAY"] = _saved_display


class Screen:
    """A virtual display of one size for a block of the test; Wine starts again on it."""

    def __init__(self, w, hgt):
        self.size = (w, hgt)
        self.proc = None

    def __enter__(self):
        h.kill_all()
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=h.PREFIX), capture_output=True)
        for num in range(90, 190):
            if os.path.exists(f"/tmp/.X{num}-lock") or os.path.exists(f"/tmp/.X11-unix/X{num}"):
                continue
            self.proc = subprocess.Popen(["Xvfb", f":{num}", "-screen", "0", "%dx%dx24" % self.size, "-nolisten", "tcp"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if h.wait_for(lambda: self.proc.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{num}"), 10, 0.05) \
                    and self.proc.poll() is None:
                os.environ["DISPLAY"] = f":{num}"
                break
        else:
            raise RuntimeError("no virtual display could be started")
        subprocess.run([h.RUNNER, "cmd", "/c", "exit"], capture_output=True, timeout=120)
        return self

    def __exit__(self, *exc):
        h.kill_all()
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=h.PREFIX), capture_output=True)
        self.proc.terminate()
        self.proc.wait()


class SmallScreens(h.ProgramTest):
    def show(self, tasks=0, news=False):
        h.clean_folder()
        if not news:  # a pack without news: the list's height is known
            os.makedirs(h.APPDATA, exist_ok=True)
            with open(os.path.join(h.APPDATA, "datos.txt"), "w", encoding="utf-8") as f:
                f.write("# ZENVORAL-DATOS 1\nversion = 2999-01-01\n")
        sections = {"ajustes": list(h.FIRST_KEYS) + list(h.site_urls(h.OFFLINE).items()),
                    "estado": [("instalado", "1"), ("version", "8"), ("bienvenida", "1")]}
        if tasks:
            sections["checklist"] = [("n", str(tasks))] + [(f"t{i}", f"{i % 3}|Tarea propia {i}") for i in range(tasks)]
        h.write_ini(sections)
        self.run_program("--prueba", "edicion")
        self.wait_started()
        win = h.wait_for(lambda: h.windows(), 15)
        self.assertTrue(win)
        time.sleep(1.5)
        return h.geometry(win[0])

    def test_the_overlay_fits_small_screens(self):
        for w, hgt in SIZES:
            with self.subTest(screen=f"{w}x{hgt}"), Screen(w, hgt):
                x, y, ww, wh = self.show()
                shot = h.screenshot(os.path.join(h.ROOT, "build", f"e2e-small-{w}x{hgt}.png"))
                self.assertLessEqual(y + wh, hgt, "the expanded overlay runs off the screen")
                self.assertGreater(wh, 500, "the whole list, not compact rows")
                self.assertLess(ww, 300, "shrunk to fit")
                # the key hint, the panel's last line, is on the screen: panel colour at the bottom
                self.assertTrue(h.near(h.pixel(shot, x + ww // 2, y + wh - 3), (13, 15, 17), 12))

                # with the news of the built-in pack it fits all the same
                x, y, ww, wh = self.show(news=True)
                h.screenshot(os.path.join(h.ROOT, "build", f"e2e-small-{w}x{hgt}-news.png"))
                self.assertLessEqual(y + wh, hgt)

                # 35 own tasks: too long for the smallest scale, so compact mode's rows
                x, y, ww, wh = self.show(tasks=35)
                h.screenshot(os.path.join(h.ROOT, "build", f"e2e-small-{w}x{hgt}-35.png"))
                self.assertLessEqual(y + wh, hgt)
                self.assertEqual(h.ini_get("ajustes", "Compacto"), None)  # the player's setting untouched


if __name__ == "__main__":
    unittest.main(verbosity=2)
