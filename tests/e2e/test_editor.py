"""The checklist editor of the real program, opened from the tray command: an own task named in
accents and a non-Latin script is added, moved, a built-in task unticked and gone from the
overlay, the own task deleted and the list restored; every step is in ajustes.ini at once and
the overlay's height follows. The window is dark with its orange accents."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

WM_COMMAND = 0x0111
BG = (13, 15, 17)
ORANGE = (255, 109, 16)
NAME = "Misión ñ — 日本"
BUTTONS = ("add", "delete", "up", "down", "restore")


def shot(name):
    return h.screenshot(os.path.join(h.ROOT, "build", "e2e-" + name + ".png"))


def checklist():
    return dict(h.ini().get("checklist", []))


class Editor(h.ProgramTest):
    def setUp(self):
        super().setUp()
        self.run_program("--prueba", "edicion")
        self.overlay = h.wait_for(lambda: h.windows(), 20)[0]
        time.sleep(1)

    def height(self):
        return h.geometry(self.overlay)[3]

    def open_editor(self):
        self.assertTrue(h.post(WM_COMMAND, 113, 0), "no overlay to post to")
        found = h.wait_for(lambda: h.windows("^Editar checklist"), 10)
        self.assertTrue(found, "the editor did not open")
        self.win = found[0]
        time.sleep(1)
        self.geo = h.geometry(self.win)

    def press(self, which):
        """Clicks one of the editor's buttons by its place in the bottom row."""
        x, y, w, hgt = self.geo
        m, gap = 14, 6
        lw = w - 2 * m
        bw = min(120, (lw - 110 - 12 - 4 * gap) // 5)
        if which == "ok":
            cx = x + m + lw - 55
        else:
            cx = x + m + BUTTONS.index(which) * (bw + gap) + bw // 2
        h.click(cx, y + hgt - 50 + 17)

    def select_row(self, row):
        """Selects a row with the keyboard: a click in the list's empty part, then Home and Down."""
        x, y, w, hgt = self.geo
        h.click(x + w - 40, y + hgt - 90)
        h.key("Home")
        for _ in range(row):
            h.key("Down")
        time.sleep(0.3)

    def question(self):
        """The question dialog, once it is up."""
        known = set(h.windows(".*"))
        dlg = h.wait_for(lambda: [w for w in h.windows("^Zenvoral$") if w != self.overlay and w not in known] or
                         [w for w in h.windows("^Zenvoral$") if w != self.overlay], 10)
        self.assertTrue(dlg, "no question dialog")
        time.sleep(0.5)
        return dlg[0]

    def answer(self, keys):
        dlg = self.question()
        for k in keys:
            h.key(k)
        self.assertTrue(h.wait_for(lambda: dlg not in h.windows("^Zenvoral$"), 10), "the dialog stayed")

    def test_edit_the_checklist_step_by_step(self):
        h0 = self.height()
        self.open_editor()
        path = shot("editor")
        x, y, w, hgt = self.geo
        px = h.region(path, x, y, w, hgt)
        dark = sum(p == BG for row in px for p in row)
        orange = sum(p == ORANGE for row in px for p in row)
        self.assertGreater(dark, w * hgt // 2, "a dark window")
        self.assertGreater(orange, 110 * 20, "the accent: header line and the OK button")

        # add with nothing selected: a daily task at the end of the order
        self.press("add")
        self.question()
        # the name as an input method commits it (xdotool drops characters the keyboard map lacks)
        self.assertTrue(h.set_text("Zenvoral", 100, NAME), "no edit box in the question")
        time.sleep(0.3)
        h.key("Return")
        self.assertTrue(h.wait_for(lambda: checklist().get("n") == "1", 10), checklist())
        c = checklist()
        self.assertEqual(c.get("t0"), "0|" + NAME)
        self.assertEqual(c.get("orden"), "0,1,2,3,4,5,6,7,8,9,10,11,12,13,")
        self.assertTrue(h.wait_for(lambda: self.height() > h0, 5), "the overlay grew by a row")
        h1 = self.height()
        shot("editor-added")

        # the new task is selected: up once puts it before "Invertir en pericia"
        self.press("up")
        self.assertTrue(h.wait_for(lambda: checklist().get("orden") == "0,1,2,13,4,5,6,7,8,9,10,11,12,3,", 5),
                        checklist())
        self.assertEqual(self.height(), h1)

        # untick "Proyectos diarios" (row 0) with the space bar: hidden, and a shorter overlay
        self.select_row(0)
        h.key("space")
        self.assertTrue(h.wait_for(lambda: checklist().get("ocultas") == "0,", 5), checklist())
        self.assertTrue(h.wait_for(lambda: self.height() < h1, 5), "the row left the overlay")
        h2 = self.height()
        shot("editor-hidden")

        # delete the own task (row 3 of the list), confirmed with Return on the question
        self.select_row(3)
        self.press("delete")
        self.answer(["Return"])
        self.assertTrue(h.wait_for(lambda: checklist().get("n") == "0", 5), checklist())
        self.assertNotIn("t0", checklist())
        self.assertTrue(h.wait_for(lambda: self.height() < h2, 5), "the own row left the overlay")

        # restore: all shown again, natural order, the overlay as at the start
        self.press("restore")
        self.answer(["Return"])
        self.assertTrue(h.wait_for(lambda: checklist().get("ocultas") == "", 5), checklist())
        self.assertEqual(checklist().get("orden"), "0,1,2,3,4,5,6,7,8,9,10,11,12,")
        self.assertTrue(h.wait_for(lambda: self.height() == h0, 5), (self.height(), h0))

        # closing: "Aceptar"; a second open finds a fresh window
        self.press("ok")
        self.assertTrue(h.wait_for(lambda: not h.windows("^Editar checklist"), 5), "the editor stayed open")
        self.open_editor()
        self.assertEqual(len(h.windows("^Editar checklist")), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
