"""Start-up of the real program: first run files, language choice, single instance, log."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import *  # noqa: F401,F403
import harness as h


class Startup(h.ProgramTest):
    def test_first_start_creates_settings_and_log(self):
        self.run_program(local_only=False)  # a first start as players have it; ended within 15 s
        self.wait_started()
        with open(h.INI, "rb") as f:
            self.assertEqual(f.read(2), b"\xff\xfe", "settings file is UTF-16 with a byte-order mark")
        ini = h.ini()
        self.assertEqual([k for k, _ in ini["ajustes"]],
                         ["ProcesoJuego", "HoraReinicio", "Opacidad", "TeclaEditar", "TeclaOcultar",
                          "TeclaBiblioteca", "TeclaSalir", "Idioma"])
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "es")
        self.assertEqual(h.ini_get("estado", "instalado"), "1")
        # written after the tray icon, a moment after the window exists
        self.assertEqual(h.wait_for(lambda: h.ini_get("estado", "version"), 5), "8")
        lines = h.log_lines()
        self.assertRegex(lines[0], r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  Inicio 0\.0\.9 \(9\) · idioma Español · escala 100%$")
        # the overlay exists but stays hidden without the game; the one window shown is the
        # welcome tour (720 wide), stored as seen
        self.assertTrue(h.windows(visible=False))
        self.assertEqual([h.geometry(w)[2] for w in h.wait_for(lambda: h.windows(visible=True), 10)], [720])
        self.assertEqual(h.ini_get("estado", "bienvenida"), "1")
        # autostart points at the program, quoted
        value = h.reg_value(r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run", "Zenvoral")
        self.assertRegex(value or "", r'^"[A-Z]:\\.*\\Zenvoral\.exe"$')

    def heading_width(self, *args):
        """Width of the first section heading under the header (grey text), in pixels."""
        h.kill_all()
        self.run_program("--prueba", "edicion", *args)
        h.wait_for(lambda: h.windows(), 15)
        time.sleep(1)
        shot = h.screenshot(os.path.join(h.ROOT, "build", "e2e-heading.png"))
        rows = h.region(shot, 12 + 12, 12 + 54, 200, 160)
        grey = [[i for i, c in enumerate(row) if h.near(c, (128, 137, 146), 24)] for row in rows]
        band = []
        for xs in grey:
            if xs:
                band += xs
            elif band:
                break
        return max(band) - min(band) if band else 0

    def test_detected_language_and_run_only_override(self):
        self.run_program(lang="de_DE.UTF-8")
        self.wait_started()
        self.assertIn("idioma Deutsch", h.log_lines()[0])
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "de")
        h.kill_all()
        h.clean_folder()
        self.run_program(lang="es_ES.UTF-8")
        self.wait_started()
        spanish = self.heading_width()               # "DIARIO"
        english = self.heading_width("--idioma=en")  # "DAILY"
        ignored = self.heading_width("--idioma=zz")
        self.assertGreater(spanish, 0)
        self.assertNotEqual(spanish, english)
        self.assertEqual(spanish, ignored)
        self.assertEqual(h.ini_get("ajustes", "Idioma"), "es")  # the override is for the run only

    def test_second_copy_shows_notice_and_leaves_first_alone(self):
        self.run_program("--prueba")
        self.wait_started()
        first = h.program_pids()
        second = self.run_program()
        box = h.wait_for(lambda: [w for w in h.windows() if h.geometry(w)[2] > 100 and h.geometry(w)[1] > 100], 15)
        self.assertTrue(box, "no notice box from the second copy")
        h.key("Return", box[0])
        second.wait(15)
        self.assertEqual(h.program_pids(), first)
        self.assertEqual(sum("Inicio" in l for l in h.log_lines()), 1)

    def test_big_log_is_rotated(self):
        os.makedirs(h.APPDATA, exist_ok=True)
        with open(h.LOG, "wb") as f:
            f.write(b"x" * (600 * 1024))
        self.run_program()
        self.wait_started()
        self.assertEqual(os.path.getsize(h.LOG + ".anterior"), 600 * 1024)
        self.assertEqual(len(h.log_lines()), 1)

    def test_test_option_shows_the_expanded_overlay(self):
        self.run_program("--prueba", "edicion")
        self.wait_started()
        wins = h.wait_for(lambda: h.windows(), 10)
        self.assertTrue(wins)
        x, y, w, hgt = h.geometry(wins[0])
        self.assertEqual((x, y, w), (12, 12, 300))
        time.sleep(1)
        shot = h.screenshot(os.path.join(h.ROOT, "build", "e2e-overlay.png"))
        self.assertTrue(h.near(h.pixel(shot, x + 250, y + 48), (13, 15, 17)))  # panel background
        self.assertTrue(h.near(h.pixel(shot, x + 26, y + 3 + 5), (255, 109, 16), 40))  # emblem ring


if __name__ == "__main__":
    unittest.main(verbosity=2)
