"""The DPS calculator from the settings window and from the library: the settings button opens it
at its defaults; the library shows "Usar en la calculadora" on a weapon entry with base figures
(and not on other entries), and the button puts the weapon's damage, rate of fire, magazine and
reload in the calculator's boxes while the player's bonuses stay as typed; the results follow.
The button's label is checked whole in Spanish and French (its longest)."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401

DPS = "^Calculadora de DPS$"


def fields():
    return [h.get_text("ZenvoralDPS", 1500 + k) for k in range(9)]


def raised(win, name):
    """A screenshot with win on top (with no window manager on the display Wine does not restack
    a window that takes the foreground, as Windows does)."""
    subprocess.run(["xdotool", "windowraise", str(win)], check=True)
    time.sleep(0.8)
    return h.shot(name)


class DpsFromLibrary(h.ProgramTest):
    def library_on(self, query, *extra):
        self.run_program("--prueba", "--prueba-biblioteca", "--buscar=" + query, *extra)
        self.wait_started()
        lib = h.wait_for(lambda: [w for w in h.windows(".") if h.geometry(w)[2] > 1000], 20)
        self.assertTrue(lib, "the library opens")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "3|" + query, 10))
        time.sleep(1)
        return lib[0]

    def weapon_buttons(self, lib, name, label=None):
        x, y, w, hgt = h.geometry(lib)
        path = raised(lib, name)
        row = h.entry_buttons(path, x + 582, w - 582 - 12, y + hgt)
        if label:  # the calculator's action comes last, its label whole
            bx, by, bw = row[-1]
            self.assertIsNone(h.cut_line(path, (bx + 2, by + 4, bw - 4, 24)), label)
        return row

    def test_settings_button_then_the_weapon_fills_the_calculator(self):
        lib = self.library_on("Agitator")
        self.assertTrue(h.post(h.WM_COMMAND, 104, 0))
        settings = h.window(h.SETTINGS, timeout=10)
        self.assertTrue(settings, "the settings window opens")
        x, y = h.geometry(settings)[:2]
        h.click(x + 448 + 108, y + 140 + 15)  # "Calculadora de DPS" in the tools column
        dps = h.window(DPS, 700)
        self.assertTrue(dps, "the settings button opens the calculator")
        self.assertEqual(fields(), ["50000", "750", "40", "2.2", "15", "50", "100", "0", "55"], "at its defaults")
        subprocess.run(["xdotool", "windowmove", str(dps), "0", "0"], check=True)
        self.assertTrue(h.wait_for(lambda: h.geometry(dps)[:2] == (0, 0), 5))
        subprocess.run(["xdotool", "windowraise", str(dps)], check=True)
        h.click(305, 82 + 34 * 5 + 13)  # a bonus the player changed: critical chance 30
        for k in ("End", "shift+Home"):
            h.key(k)
        h.type_text("30", 40)
        self.assertTrue(h.wait_for(lambda: fields()[5] == "30", 5), fields())
        panel = (394, 82, 700 - 418, 298)
        before = h.region(raised(dps, "dps-lib-before"), *panel)

        row = self.weapon_buttons(lib, "dps-lib-es", "Usar en la calculadora")
        bx, by, bw = row[-1]
        h.click(bx + bw // 2, by + 16)
        self.assertTrue(h.wait_for(lambda: fields()[0] == "49104", 10), "the weapon's damage: %r" % fields())
        # Agitator's "49.104", "850", "30", "2,4 s" and "55 %" in, the bonuses as typed
        self.assertEqual(fields(), ["49104", "850", "30", "2.4", "15", "30", "100", "0", "55"])
        self.assertNotEqual(h.region(raised(dps, "dps-lib-filled"), *panel), before, "the results follow")
        self.assertEqual(len(h.windows(DPS)), 1, "one calculator")

        # a brand set has no weapon figures: one button fewer
        x, y = h.geometry(lib)[:2]
        subprocess.run(["xdotool", "windowraise", str(lib)], check=True)
        h.click(x + 414, y + 26)  # the search box
        h.key("ctrl+a")
        h.type_text("gila guard")
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == "2|Gila Guard", 10))
        time.sleep(1)
        self.assertEqual(len(self.weapon_buttons(lib, "dps-lib-gear")), len(row) - 1)

    def test_the_french_label_is_whole(self):
        self.weapon_buttons(self.library_on("Agitator", "--idioma=fr"), "dps-lib-fr", "Utiliser dans le calculateur")


if __name__ == "__main__":
    unittest.main(verbosity=2)
