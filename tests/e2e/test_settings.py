"""The settings window of the real program, opened from the tray command: keys pressed in its key
boxes are captured (the global keys are off meanwhile), F8 in two boxes is refused with the
warning and stores nothing, Ctrl+F7 for hide is stored with a reset hour in UTC (the day then
starts at that UTC hour) and then hides the overlay, and a new interface size restarts the
program with a larger overlay. The window is dark with its accents."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import test_game as game  # noqa: E402  (the stand-in program)
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

WM_COMMAND = 0x0111
WM_APP_TRAY = 0x8001
WM_LBUTTONUP = 0x0202
BG = (13, 15, 17)
ORANGE = (255, 109, 16)
TITLE = "^Ajustes .{1,2} Zenvoral"  # the middle dot, in whichever encoding the title reaches X
# client positions of the controls used here (units = pixels at the test display's 96 DPI)
EXPAND_BOX, HIDE_BOX, SAVE, SCALE, CAPTURE = (324, 68), (324, 102), (616, 593), (556, 76), (23, 479)
RESET = (324, 226)
WARN = (230, 120, 110)


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-" + name + ".png"))


def stored():
    """What a save of the window writes: its settings and the checklist's state (the library
    warming up in the background may add its build index meanwhile)."""
    return {k: v for k, v in h.ini().items() if k in ("ajustes", "estado", "checklist")}


OTHER = "Bloc.exe"  # another program that holds the keyboard, as the game would


class Settings(h.ProgramTest):
    def setUp(self):
        super().setUp()
        # a player past the first start: the copy started again after a scale change is a
        # normal start, which would otherwise open the welcome tour
        h.set_settings({"bienvenida": "1"}, "estado")
        self.run_program("--prueba", "edicion")
        self.overlay = h.wait_for(lambda: h.windows(), 20)[0]
        time.sleep(1)

    def tearDown(self):
        for pid in game.standin_pids(OTHER.encode()):
            try:
                os.kill(pid, 9)
            except OSError:
                pass
        super().tearDown()

    def focus_other_program(self):
        """Global keys reach Wine only while one of its windows has the keyboard: a stand-in
        program takes it, as the game does for a player."""
        self.procs.append(subprocess.Popen([h.RUNNER, game.standin(OTHER)], stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        win = h.wait_for(lambda: h.windows("^" + OTHER + "$"), 10)
        self.assertTrue(win, "the stand-in program")
        subprocess.run(["xdotool", "windowfocus", "--sync", str(win[0])], check=True)
        time.sleep(0.3)

    def open_settings(self, gear=False):
        if gear:  # the overlay's gear icon, once it is expanded
            x, y, w = h.geometry(self.overlay)[:3]
            if w != 300:
                h.click(x + 20, y + 20)
                self.assertTrue(h.wait_for(lambda: h.geometry(self.overlay)[2] == 300, 5), "expanded")
                time.sleep(0.5)
            h.click(x + 275, y + 17)
        else:  # the tray menu's command
            self.assertTrue(h.post(WM_COMMAND, 104, 0), "no overlay to post to")
        found = h.wait_for(lambda: h.windows(TITLE), 10)
        self.assertTrue(found, "the settings window did not open")
        self.win = found[0]
        # without a window manager the keyboard stays with the program that had it
        subprocess.run(["xdotool", "windowfocus", "--sync", str(self.win)], check=True)
        time.sleep(1)
        self.geo = h.geometry(self.win)

    def at(self, pos):
        h.click(self.geo[0] + pos[0], self.geo[1] + pos[1])
        time.sleep(0.3)

    def capture(self, box, combo):
        self.at(box)
        h.key(combo)
        time.sleep(0.3)

    def test_keys_are_captured_checked_and_stored(self):
        self.open_settings()
        path = shot("settings")
        x, y, w, hgt = self.geo
        px = h.region(path, x, y, w, hgt)
        dark = sum(p == BG for row in px for p in row)
        orange = sum(p == ORANGE for row in px for p in row)
        self.assertGreater(dark, w * hgt // 2, "a dark window")
        self.assertGreater(orange, 90 * 25, "the accent: Save, the headings, the ticked boxes")

        # leaving the overlay out of captures: Wine cannot, so the toggle stays off and says why
        self.at(CAPTURE)
        self.assertTrue(h.wait_for(lambda: any("Capturas: Windows no deja ocultar" in l for l in h.log_lines()), 5))
        time.sleep(0.5)
        path = shot("settings-capture")
        status = [c for row in h.region(path, x + 16, y + 494, 408, 34) for c in row]
        self.assertGreater(sum(c == WARN for c in status), 50, "the status line explains it")
        box = h.region(path, x + 16, y + 472, 14, 14)
        self.assertFalse(any(c == ORANGE for row in box for c in row), "the toggle is not shown as on")

        # F8 in the expand and the hide box: captured, not acted on; refused on save
        before = stored()
        self.capture(EXPAND_BOX, "F8")
        self.capture(HIDE_BOX, "F8")
        self.assertEqual(h.geometry(self.overlay)[2], 300, "F8 in a box must not collapse the overlay")
        self.at(SAVE)
        warning = h.wait_for(lambda: h.windows("^Ajustes$"), 10)
        self.assertTrue(warning, "no warning about the duplicate key")
        shot("settings-duplicate")
        self.assertTrue(h.windows(TITLE), "the settings window must stay open")
        self.assertEqual(stored(), before, "nothing may be stored")
        h.key("Return")
        self.assertTrue(h.wait_for(lambda: not h.windows("^Ajustes$"), 5), "the warning stayed")

        # Ctrl+F7 for hide and 08:00 UTC for the reset (after the 24 local hours): stored
        # together, and the overlay answers to the key once the window is closed
        self.capture(HIDE_BOX, "ctrl+F7")
        self.at(RESET)
        h.key("Home")  # the open list follows the pointer; from the first row, 32 down
        for _ in range(32):
            h.key("Down")
        h.key("Return")
        time.sleep(0.3)
        shot("settings-utc")
        self.at(SAVE)
        self.assertTrue(h.wait_for(lambda: not h.windows(TITLE), 5), "Save closes the window")
        self.assertEqual(h.ini_get("ajustes", "HoraReinicio"), "8")
        self.assertEqual(h.ini_get("ajustes", "ReinicioUTC"), "1")
        self.assertEqual(int(h.ini_get("estado", "dailyStamp")) % 86400, 8 * 3600, "the day starts at 08:00 UTC")
        self.assertEqual(h.ini_get("ajustes", "TeclaOcultar"), "Ctrl+F7")
        self.assertEqual(h.ini_get("ajustes", "TeclaEditar"), "F8")
        self.assertEqual(h.ini_get("ajustes", "OcultarEnCaptura"), "0")
        self.focus_other_program()
        h.key("F7")
        time.sleep(1)
        self.assertTrue(h.windows(), "F7 alone no longer hides")
        h.key("ctrl+F7")
        self.assertTrue(h.wait_for(lambda: not h.windows(), 5), "Ctrl+F7 hides the overlay")
        h.key("ctrl+F7")
        self.assertTrue(h.wait_for(lambda: h.windows(), 5), "Ctrl+F7 shows it again")

        # a larger interface: the program starts again with it
        self.open_settings(gear=True)
        self.at(SCALE)
        h.key("Down")
        h.key("Return")
        time.sleep(0.3)
        shot("settings-scale")
        self.at(SAVE)
        self.assertTrue(h.wait_for(lambda: any("escala 115%" in l for l in h.log_lines()), 30), h.log_lines()[-3:])
        self.assertEqual(h.ini_get("ajustes", "Escala"), "115")
        self.assertEqual(h.ini_get("ajustes", "TeclaOcultar"), "Ctrl+F7")
        time.sleep(1)
        # the new copy follows the game; the tray click shows it expanded
        self.assertTrue(h.wait_for(lambda: h.post(WM_APP_TRAY, 1, WM_LBUTTONUP), 10))
        shown = h.wait_for(lambda: h.windows(), 10)
        self.assertTrue(shown, "the restarted overlay")
        self.assertTrue(h.wait_for(lambda: h.geometry(shown[0])[2] == 345, 5), h.geometry(shown[0]))
        time.sleep(1)
        x, y, w, hgt = h.geometry(shown[0])
        header = [c for row in h.region(shot("settings-restarted"), x, y, w, 60) for c in row]
        self.assertGreater(sum(c == ORANGE for c in header), 150, "the larger overlay is painted")


    def test_language_switch_makes_open_windows_anew(self):
        self.open_settings()
        self.assertTrue(h.post(WM_COMMAND, 113, 0))
        self.assertTrue(h.wait_for(lambda: h.windows("^Editar checklist"), 10), "the editor")
        self.assertTrue(h.post(WM_COMMAND, 701, 0))  # English from the tray's language menu
        self.assertTrue(h.wait_for(lambda: h.windows("^Settings .{1,2} Zenvoral"), 10), "settings in English")
        self.assertTrue(h.wait_for(lambda: h.windows("^Edit checklist"), 10), "the editor in English")
        self.assertFalse(h.windows(TITLE))
        self.assertFalse(h.windows("^Editar checklist"))
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "en")
        shot("settings-en")

if __name__ == "__main__":
    unittest.main(verbosity=2)
