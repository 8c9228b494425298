"""The settings file of the real program under Wine: killed again and again in the middle of a burst
of saves, then found empty, the player's data survives (the file's other faults, locked, a folder,
an older encoding, are the store's own Wine tests)."""

import os
import random
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401

KILL_TRIES = 22
# keys the program itself changes while it runs
MOVING = {("estado", k) for k in ("posX", "posY", "dailyStamp", "weeklyStamp")} | {("ajustes", "Compacto")}


def seed():
    """A lived-in settings file: settings, state, 35 own tasks, 28 days of history, 12 builds of 60
    pieces; returns it as {section: {key: value}}."""
    h.write_ini({
        "ajustes": h.FIRST_KEYS + [("TeclaEditar", "F8"), ("TeclaOcultar", "F7"), ("TeclaBiblioteca", "F9"),
                                   ("TeclaSalir", "Mayús+Fin"), ("Idioma", "es")] + list(h.site_urls(h.OFFLINE).items()),
        "estado": [("instalado", "1"), ("version", "8"), ("bienvenida", "1"), ("mejorRacha", "42")],
        "checklist": [("n", "35")] + [(f"t{i}", f"{i % 3}|Tarea propia {i} Ñandú ✓ \U0001F525") for i in range(35)]
        + [("ocultas", "3,"), ("orden", "".join(f"{i}," for i in range(48)))],
        "historial": [(f"d202601{d:02d}", f"4/4/{d % 3}") for d in range(1, 29)],
        "builds": [("n", "12"), ("actual", "0")] + [(f"nombre{b}", f"Build {b} «cazador»") for b in range(12)],
        **{f"build{b}": [(f"f{i}", f"3|Pieza {i} del conjunto {b} — Striker's Battlegear") for i in range(60)]
           for b in range(12)}})
    return {sec: dict(keys) for sec, keys in h.ini().items()}


def problem(want):
    """None when the file is UTF-16 with its mark and holds every seeded value; otherwise what is wrong."""
    try:
        with open(h.INI, "rb") as f:
            if not f.read(2) == b"\xff\xfe":
                return "no byte-order mark"
        got = {sec: dict(keys) for sec, keys in h.ini().items()}
    except (OSError, UnicodeDecodeError) as e:
        return str(e)
    wrong = [f"[{sec}] {k}: {got.get(sec, {}).get(k)!r} instead of {v!r}" for sec, keys in want.items()
             for k, v in keys.items() if (sec, k) not in MOVING and got.get(sec, {}).get(k) != v]
    return wrong[0] if wrong else None if "posX" in got.get("estado", {}) else "no position stored"


class SettingsFile(h.ProgramTest):
    def start_expanded(self, as_found=False):
        """as_found: the settings file is left exactly as the test made it (the harness would
        otherwise add its local addresses); the harness ends the program within 15 s."""
        self.run_program("--prueba", "edicion", local_only=not as_found)
        self.wait_started()
        self.assertTrue(h.wait_for(h.windows, 15))

    def kill_in_a_burst(self, rnd):
        """A start, a burst of saves from the probe and a kill anywhere in it; true when the kill
        cut a save short (its new file left beside)."""
        self.start_expanded()
        before = os.stat(h.INI).st_mtime_ns
        burst = subprocess.Popen([h.RUNNER, h.PROBE, "burst", "600", h.wine_path(os.path.join(h.ROOT, "build",
                                                                                            "e2e-burst.txt"))],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        h.wait_for(lambda: os.stat(h.INI).st_mtime_ns != before, 10, 0.01)  # the burst has begun
        time.sleep(rnd.uniform(0.0, 1.2))
        h.kill_all()
        burst.wait(30)
        return os.path.exists(h.INI + ".nuevo")

    def test_kill_during_a_burst_of_saves_never_loses_the_file(self):
        want = seed()
        rnd = random.Random(12)
        intact, mid_write, problems = 0, 0, []
        for attempt in range(KILL_TRIES):
            mid_write += self.kill_in_a_burst(rnd)
            wrong = problem(want)
            intact += wrong is None
            problems += [f"try {attempt + 1}: {wrong}"] if wrong else []
        figures = (f"kill test: {KILL_TRIES} tries, {intact} files intact, "
                   f"{mid_write} killed while a new file was being written")
        print("\n" + figures, file=sys.stderr)
        with open(os.path.join(h.ROOT, "build", "e2e-kill-figures.txt"), "w") as f:
            f.write(figures + "\n" + "\n".join(problems))
        self.assertEqual(problems, [])

        # a save cut short, then the file emptied in place (a tool rewriting it, a disk that lost
        # it): the last good copy comes back, no first start
        cut = any(self.kill_in_a_burst(rnd) for _ in range(20))  # stops at the first save cut short
        print("a save cut short before the file was emptied:", cut, file=sys.stderr)
        open(h.INI, "r+b").truncate(0)
        self.start_expanded(as_found=True)
        self.assertTrue(h.logged("restaurada la última copia buena", 5), h.log_lines())
        self.assertIsNone(problem(want))
        self.assertEqual(h.ini_get("estado", "instalado"), "1")

if __name__ == "__main__":
    unittest.main(verbosity=2)
