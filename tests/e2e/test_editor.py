"""The checklist editor of the real program, opened from the tray command: an own task named in
accents and a non-Latin script is added, moved, a built-in task unticked, the own task deleted and
the list restored; every step is in ajustes.ini at once and the overlay's height follows."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401

NAME = "Misión ñ — 日本"
BUTTONS = ("add", "delete", "up", "down", "restore")
TITLE = "^Editar checklist"


def checklist():
    return dict(h.ini().get("checklist", []))


class Editor(h.ProgramTest):
    def open_editor(self):
        self.assertTrue(h.post(h.WM_COMMAND, 113, 0))
        self.win = h.window(TITLE, timeout=10)
        self.assertTrue(self.win, "the tray command opens the editor")
        time.sleep(1)
        self.geo = h.geometry(self.win)

    def press(self, which):
        """Clicks one of the editor's buttons by its place in the bottom row."""
        x, y, w, hgt = self.geo
        lw = w - 2 * 14
        bw = min(120, (lw - 110 - 12 - 4 * 6) // 5)
        cx = x + 14 + (lw - 55 if which == "ok" else BUTTONS.index(which) * (bw + 6) + bw // 2)
        h.click(cx, y + hgt - 50 + 17)

    def select_row(self, row):
        """Selects a row with the keyboard: a click in the list's empty part, then Home and Down."""
        x, y, w, hgt = self.geo
        h.click(x + w - 40, y + hgt - 90)
        for k in ["Home"] + ["Down"] * row:
            h.key(k)
        time.sleep(0.3)

    def question(self):
        """The question dialog (titled like the overlay), once it is up."""
        dlg = h.wait_for(lambda: [w for w in h.windows() if w != self.overlay], 10)
        self.assertTrue(dlg, "no question dialog")
        time.sleep(0.5)
        return dlg[0]

    def confirm(self):
        dlg = self.question()
        h.key("Return")
        self.assertTrue(h.wait_for(lambda: dlg not in h.windows(), 10), "the dialog stayed")

    def test_edit_the_checklist_step_by_step(self):
        self.overlay = self.show_overlay()
        height = lambda: h.geometry(self.overlay)[3]  # noqa: E731
        h0 = height()
        self.open_editor()
        x, y, w, hgt = self.geo
        p = h.shot("editor")
        self.assertGreater(h.count(p, self.geo, h.BG, 0), w * hgt // 2, "a dark window")
        self.assertGreater(h.count(p, self.geo, h.ORANGE, 0), 110 * 20, "the accent: header line and OK")

        # add with nothing selected: a daily task at the end of the order, named as an input
        # method commits it (xdotool drops characters the keyboard map lacks)
        self.press("add")
        self.question()
        self.assertTrue(h.set_text("Zenvoral", 100, NAME), "no edit box in the question")
        time.sleep(0.3)
        h.key("Return")
        self.assertTrue(h.wait_for(lambda: checklist().get("n") == "1", 10), checklist())
        self.assertEqual(checklist().get("t0"), "0|" + NAME)
        self.assertEqual(checklist().get("orden"), "0,1,2,3,4,5,6,7,8,9,10,11,12,13,")
        self.assertTrue(h.wait_for(lambda: height() > h0, 5), "the overlay grew by a row")
        h1 = height()

        # the new task is selected: up once puts it before "Invertir en pericia"
        self.press("up")
        self.assertTrue(h.wait_for(lambda: checklist().get("orden") == "0,1,2,13,4,5,6,7,8,9,10,11,12,3,", 5),
                        checklist())
        # untick "Proyectos diarios" (row 0) with the space bar: hidden, and a shorter overlay
        self.select_row(0)
        h.key("space")
        self.assertTrue(h.wait_for(lambda: checklist().get("ocultas") == "0,", 5), checklist())
        self.assertTrue(h.wait_for(lambda: height() < h1, 5), "the row left the overlay")
        h2 = height()
        h.shot("editor-hidden")

        # delete the own task (row 3 of the list), confirmed on the question
        self.select_row(3)
        self.press("delete")
        self.confirm()
        self.assertTrue(h.wait_for(lambda: checklist().get("n") == "0", 5), checklist())
        self.assertNotIn("t0", checklist())
        self.assertTrue(h.wait_for(lambda: height() < h2, 5), "the own row left the overlay")

        # restore: all shown again, natural order, the overlay as at the start
        self.press("restore")
        self.confirm()
        self.assertTrue(h.wait_for(lambda: checklist().get("ocultas") == "", 5), checklist())
        self.assertEqual(checklist().get("orden"), "0,1,2,3,4,5,6,7,8,9,10,11,12,")
        self.assertTrue(h.wait_for(lambda: height() == h0, 5), (height(), h0))

        # "Aceptar" closes it; a second open finds a fresh window
        self.press("ok")
        self.assertTrue(h.gone(TITLE), "the editor stayed open")
        self.open_editor()
        self.assertEqual(len(h.windows(TITLE)), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
