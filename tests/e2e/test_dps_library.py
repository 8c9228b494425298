"""The DPS calculator from the settings window and from the library: the settings button opens it
at its defaults; the library window shows "Usar en la calculadora" on a weapon entry with base
figures (and not on other entries), and the button opens the calculator with the weapon's damage,
rate of fire, magazine and reload in their boxes while the player's bonuses stay as typed; the
results follow when a box changes. Screenshots of the library with the button in Spanish and French
(its longest label) are kept under build/ and checked for cut-off text."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

SHOTS = os.path.join(h.ROOT, "build", "e2e-tools")
WM_COMMAND = 0x0111
BG = (13, 15, 17)
PANEL = (24, 27, 31)
DPS_CLASS = "ZenvoralDPS"
# Agitator's base figures as its entry states them ("49.104", "850", "30", "2,4 s", "55 %"), as
# the boxes hold them.
AGITATOR = {0: "49104", 1: "850", 2: "30", 3: "2.4", 8: "55"}
# The library at scale 1: the entry column starts at x 582, margin 12, buttons 32 high.
RIGHT, M = 582, 12


def shot(name):
    os.makedirs(SHOTS, exist_ok=True)
    return h.screenshot(os.path.join(SHOTS, name + ".png"))


def window(title, width):
    found = h.wait_for(lambda: [w for w in h.windows(title) if h.geometry(w)[2] == width], 20)
    return found[0] if found else None


def fields():
    return [h.get_text(DPS_CLASS, 1500 + k) for k in range(9)]


def buttons(path, lib):
    """The buttons under the shown entry as (x, y, w) in screen pixels, in reading order: runs of
    the button face colour three pixels inside their top edge, row by row from the bottom up."""
    x, y, w, hgt = h.geometry(lib)
    found = []
    for row in range(4):
        top = y + hgt - M - 32 - 40 * row
        line = h.region(path, x + RIGHT, top + 3, w - RIGHT - M, 1)[0]
        runs, start = [], None
        for i, c in enumerate(line + [BG]):
            if c == PANEL and start is None:
                start = i
            elif c != PANEL and start is not None:
                if i - start > 60:
                    runs.append((x + RIGHT + start - 1, top, i - start + 2))  # the 1-pixel border
                start = None
        if not runs:
            break
        found = runs + found
    return found


def ink_box(path, rect):
    """Bounding box of light text in rect (x, y, w, h), or None."""
    x, y, w, hgt = rect
    box = None
    for j, row in enumerate(h.region(path, x, y, w, hgt)):
        for i, c in enumerate(row):
            if sum(c) > 300:
                box = (min(box[0], x + i), min(box[1], y + j), max(box[2], x + i), max(box[3], y + j)) if box \
                    else (x + i, y + j, x + i, y + j)
    return box


class DpsFromLibrary(h.ProgramTest):
    def open_library_on(self, query, key, *extra):
        self.run_program("--prueba", "--prueba-biblioteca", "--buscar=" + query, *extra)
        self.wait_started()
        lib = h.wait_for(lambda: [w for w in h.windows(".") if h.geometry(w)[2] > 1000], 20)
        self.assertTrue(lib, "the library opens")
        lib = lib[0]
        self.assertTrue(h.wait_for(lambda: h.ini_get("biblioteca", "ficha") == key, 10),
                        "the entry is shown: %r" % h.ini_get("biblioteca", "ficha"))
        time.sleep(1)
        return lib

    def test_weapon_action_fills_the_calculator_and_it_recomputes(self):
        # the calculator already open, one bonus changed by the player
        self.run_program("--prueba", "--prueba-dps")
        dps = window("^Calculadora de DPS$", 700)
        self.assertTrue(dps)
        self.assertTrue(h.wait_for(lambda: h.get_text(DPS_CLASS, 1500) == "50000", 10))
        x, y, w, hgt = h.geometry(dps)
        panel = (x + 390 + 4, y + 82, w - 24 - 390 - 4, 298)

        def field(k, text):  # the whole text of box k replaced by typing
            subprocess.run(["xdotool", "windowraise", str(dps)], check=True)
            h.click(x + 250 + 55, y + 82 + 34 * k + 13)
            h.key("End")
            h.key("shift+Home")
            subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)
            self.assertTrue(h.wait_for(lambda: h.get_text(DPS_CLASS, 1500 + k) == text, 5), (k, text))
            time.sleep(0.6)

        field(5, "30")
        defaults = h.region(shot("dps-lib-defaults"), *panel)
        h.kill_all()

        # a brand has no weapon figures: no calculator button
        lib = self.open_library_on("Gila+Guard", "2|Gila Guard")
        p = shot("dps-lib-gear")
        gear_buttons = buttons(p, lib)
        h.kill_all()

        lib = self.open_library_on("Agitator", "3|Agitator", "--prueba-dps")
        dps = window("^Calculadora de DPS$", 700)
        self.assertTrue(dps)
        subprocess.run(["xdotool", "windowmove", str(dps), "0", "0"], check=True)
        self.assertTrue(h.wait_for(lambda: h.geometry(dps)[:2] == (0, 0), 5))
        x, y, w, hgt = h.geometry(dps)
        panel = (x + 390 + 4, y + 82, w - 24 - 390 - 4, 298)
        field(5, "30")
        self.assertTrue(h.region(shot("dps-lib-before"), *panel) == defaults, "the same figures, the same results")
        subprocess.run(["xdotool", "windowraise", str(lib)], check=True)
        time.sleep(0.8)
        p = shot("dps-lib-es")
        row = buttons(p, lib)
        self.assertEqual(len(row), len(gear_buttons) + 1, "one more button on the weapon: %r %r"
                         % (row, gear_buttons))
        bx, by, bw = row[-1]  # the calculator's action comes last
        self.assertEqual(bw, 210)
        h.click(bx + bw // 2, by + 16)
        self.assertTrue(h.wait_for(lambda: fields()[0] == AGITATOR[0], 10), "the weapon's damage: %r" % fields())
        got = fields()
        want = ["49104", "850", "30", "2.4", "15", "30", "100", "0", "55"]
        self.assertEqual(got, want, "the weapon's figures in, the bonuses as typed")
        # (with no window manager on the display Wine does not restack the calculator over the
        # library when it takes the foreground, as Windows does)
        subprocess.run(["xdotool", "windowraise", str(dps)], check=True)
        time.sleep(0.8)
        filled = h.region(shot("dps-lib-filled"), *panel)
        self.assertTrue(filled != defaults, "the results follow the weapon's figures")

        # the same figures typed by hand give the same results
        field(0, "50000")
        field(0, "49104")
        field(3, "2,4")
        self.assertTrue(h.region(shot("dps-lib-typed"), *panel) == filled, "typed by hand: the same results")
        # a change recomputes at once; typing the magazine back restores the results
        field(2, "45")
        self.assertTrue(h.region(shot("dps-lib-mag"), *panel) != filled, "a bigger magazine changes the results")
        field(2, "30")
        self.assertTrue(h.region(shot("dps-lib-back"), *panel) == filled, "the magazine back, the results back")
        self.assertEqual(len([wn for wn in h.windows("^Calculadora de DPS$")]), 1, "one calculator")

    def test_settings_button_opens_the_calculator(self):
        self.run_program("--prueba")
        self.wait_started()
        self.assertTrue(h.post(WM_COMMAND, 104, 0))
        found = h.wait_for(lambda: h.windows("^Ajustes .{1,2} Zenvoral"), 10)
        self.assertTrue(found, "the settings window opens")
        x, y = h.geometry(found[0])[:2]
        h.click(x + 448 + 108, y + 140 + 15)  # "Calculadora de DPS" in the tools column
        self.assertTrue(window("^Calculadora de DPS$", 700), "the settings button opens the calculator")
        self.assertEqual(fields(), ["50000", "750", "40", "2.2", "15", "50", "100", "0", "55"], "at its defaults")
        self.assertTrue(h.windows("^Ajustes .{1,2} Zenvoral"), "the settings stay open")

    def test_the_button_keeps_its_label_whole(self):
        for code, title in (("es", "Usar en la calculadora"), ("fr", "Utiliser dans le calculateur")):
            with self.subTest(lang=code):
                h.kill_all()
                lib = self.open_library_on("Agitator", "3|Agitator", "--idioma=" + code)
                p = shot("dps-lib-button-" + code)
                row = buttons(p, lib)
                self.assertTrue(row, code)
                bx, by, bw = row[-1]
                box = ink_box(p, (bx + 2, by + 4, bw - 4, 24))
                self.assertTrue(box, "the label is drawn (%s)" % title)
                self.assertGreater(box[0], bx + 8, code)  # room left on both sides
                self.assertLess(box[2], bx + bw - 8, code)
                tail = ink_box(p, (box[2] - 9, box[1], 10, box[3] - box[1] + 1))
                self.assertGreater(tail[3] - tail[1], 3, "no ellipsis at its end (%s)" % code)


if __name__ == "__main__":
    unittest.main(verbosity=2)
