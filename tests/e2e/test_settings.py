"""The settings window of the real program, opened from the tray command: keys pressed in its key
boxes are captured (the global keys are off meanwhile), F8 in two boxes is refused with the
warning and stores nothing, Ctrl+F7 for hide is stored with a reset hour in UTC (the day then
starts at that UTC hour) and then hides the overlay, a new interface size restarts the program
with a larger overlay, and a language switch makes the open windows anew."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401

WM_LBUTTONUP = 0x0202
# client positions of the controls used here (units = pixels at the test display's 96 DPI)
EXPAND_BOX, HIDE_BOX, SAVE, SCALE, CAPTURE = (324, 68), (324, 102), (616, 593), (556, 76), (23, 479)
RESET = (324, 226)


def stored():
    """What a save of the window writes: its settings and the checklist's state (the library
    warming up in the background may add its build index meanwhile)."""
    return {k: v for k, v in h.ini().items() if k in ("ajustes", "estado", "checklist")}


class Settings(h.ProgramTest):
    def open_settings(self, gear=False):
        if gear:  # the overlay's gear icon, once it is expanded
            x, y, w = h.geometry(self.overlay)[:3]
            if w != 300:
                h.click(x + 20, y + 20)
                self.assertTrue(h.wait_for(lambda: h.geometry(self.overlay)[2] == 300, 5), "expanded")
                time.sleep(0.5)
            h.click(x + 275, y + 17)
        else:  # the tray menu's command
            self.assertTrue(h.post(h.WM_COMMAND, 104, 0), "no overlay to post to")
        self.win = h.window(h.SETTINGS, timeout=10)
        self.assertTrue(self.win, "the settings window did not open")
        h.focus(self.win)
        time.sleep(1)
        self.geo = h.geometry(self.win)

    def at(self, pos):
        h.click(self.geo[0] + pos[0], self.geo[1] + pos[1])
        time.sleep(0.3)

    def capture(self, box, combo):
        self.at(box)
        h.key(combo)
        time.sleep(0.3)

    def test_keys_utc_reset_scale_and_language(self):
        self.overlay = self.show_overlay()
        self.open_settings()
        x, y, w, hgt = self.geo
        path = h.shot("settings")
        self.assertGreater(h.count(path, self.geo, h.BG, 0), w * hgt // 2, "a dark window")
        self.assertGreater(h.count(path, self.geo, h.ORANGE, 0), 90 * 25, "the accent: Save, headings, ticks")

        # leaving the overlay out of captures: Wine cannot, so the toggle stays off and says why
        self.at(CAPTURE)
        self.assertTrue(h.logged("Capturas: Windows no deja ocultar", 5))
        time.sleep(0.5)
        path = h.shot("settings-capture")
        self.assertGreater(h.count(path, (x + 16, y + 494, 408, 34), (230, 120, 110), 0), 50, "the status line")
        self.assertEqual(h.count(path, (x + 16, y + 472, 14, 14), h.ORANGE, 0), 0, "the toggle is not shown as on")

        # F8 in the expand and the hide box: captured, not acted on; refused on save
        before = stored()
        self.capture(EXPAND_BOX, "F8")
        self.capture(HIDE_BOX, "F8")
        self.assertEqual(h.geometry(self.overlay)[2], 300, "F8 in a box must not collapse the overlay")
        self.at(SAVE)
        self.assertTrue(h.window("^Ajustes$", timeout=10), "no warning about the duplicate key")
        h.shot("settings-duplicate")
        self.assertTrue(h.windows(h.SETTINGS), "the settings window must stay open")
        self.assertEqual(stored(), before, "nothing may be stored")
        h.key("Return")
        self.assertTrue(h.gone("^Ajustes$"), "the warning stayed")

        # Ctrl+F7 for hide and 08:00 UTC for the reset (after the 24 local hours): stored
        # together, and the overlay answers to the key once the window is closed
        self.capture(HIDE_BOX, "ctrl+F7")
        self.at(RESET)
        for k in ["Home"] + ["Down"] * 32 + ["Return"]:  # the open list follows the pointer; 32 down
            h.key(k)
        time.sleep(0.3)
        h.shot("settings-utc")
        self.at(SAVE)
        self.assertTrue(h.gone(h.SETTINGS), "Save closes the window")
        self.assertEqual([h.ini_get("ajustes", k) for k in ("HoraReinicio", "ReinicioUTC", "TeclaOcultar",
                                                             "TeclaEditar", "OcultarEnCaptura")],
                         ["8", "1", "Ctrl+F7", "F8", "0"])
        self.assertEqual(int(h.ini_get("estado", "dailyStamp")) % 86400, 8 * 3600, "the day starts at 08:00 UTC")
        self.run_game("Bloc.exe")  # global keys reach Wine only while one of its windows has the keyboard
        h.key("F7")
        time.sleep(1)
        self.assertTrue(h.windows(), "F7 alone no longer hides")
        h.key("ctrl+F7")
        self.assertTrue(h.wait_for(lambda: not h.windows(), 5), "Ctrl+F7 hides the overlay")
        h.key("ctrl+F7")
        self.assertTrue(h.wait_for(h.windows, 5), "Ctrl+F7 shows it again")

        # a larger interface from the gear icon: the program starts again with it
        self.open_settings(gear=True)
        self.at(SCALE)
        h.key("Down")
        h.key("Return")
        time.sleep(0.3)
        self.at(SAVE)
        self.assertTrue(h.logged("escala 115%", 30), h.log_lines()[-3:])
        self.assertEqual(h.ini_get("ajustes", "Escala"), "115")
        self.assertEqual(h.ini_get("ajustes", "TeclaOcultar"), "Ctrl+F7")
        time.sleep(1)
        # the new copy follows the game; the tray click shows it expanded
        self.assertTrue(h.wait_for(lambda: h.post(h.WM_APP_TRAY, 1, WM_LBUTTONUP), 10))
        self.overlay = h.window(timeout=10)
        self.assertTrue(self.overlay, "the restarted overlay")
        self.assertTrue(h.wait_for(lambda: h.geometry(self.overlay)[2] == 345, 5), h.geometry(self.overlay))
        time.sleep(1)
        x, y, w, hgt = h.geometry(self.overlay)
        self.assertGreater(h.count(h.shot("settings-restarted"), (x, y, w, 60), h.ORANGE, 0), 150, "painted")

        # English from the tray's language menu: the settings and the editor open anew in it
        self.open_settings()
        self.assertTrue(h.post(h.WM_COMMAND, 113, 0))
        self.assertTrue(h.window("^Editar checklist", timeout=10), "the editor")
        self.assertTrue(h.post(h.WM_COMMAND, 701, 0))
        self.assertTrue(h.window("^Settings .{1,2} Zenvoral", timeout=10), "settings in English")
        self.assertTrue(h.window("^Edit checklist", timeout=10), "the editor in English")
        self.assertFalse(h.windows(h.SETTINGS) + h.windows("^Editar checklist"))
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "en")
        h.shot("settings-en")


if __name__ == "__main__":
    unittest.main(verbosity=2)
