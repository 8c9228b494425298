"""The settings file of the real program under Wine: killed in the middle of a burst of saves,
found empty, locked by another program, replaced by a folder, or written in an older encoding,
the player's data survives."""

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


def seed_text():
    """A lived-in settings file: settings, state, 35 own tasks, 90 days of history, builds."""
    lines = ["[ajustes]", "ProcesoJuego=TheDivision2.exe", "HoraReinicio=9", "Opacidad=215",
             "TeclaEditar=F8", "TeclaOcultar=F7", "TeclaBiblioteca=F9", "TeclaSalir=Mayús+Fin", "Idioma=es"]
    lines += [f"{k}={v}" for k, v in h.site_urls(h.OFFLINE).items()]  # nothing leaves this machine
    lines += [
             "[estado]", "instalado=1", "version=8", "bienvenida=1", "mejorRacha=42",
             "[checklist]", "n=35"]
    lines += [f"t{i}={i % 3}|Tarea propia {i} Ñandú ✓ \U0001F525" for i in range(35)]
    lines += ["ocultas=3,", "orden=" + "".join(f"{i}," for i in range(48)), "[historial]"]
    lines += [f"d202601{d:02d}=4/4/{d % 3}" for d in range(1, 29)]
    lines += ["[builds]", "n=12", "actual=0"] + [f"nombre{b}=Build {b} «cazador»" for b in range(12)]
    for b in range(12):
        lines += [f"[build{b}]"] + [f"f{i}=3|Pieza {i} del conjunto {b} — Striker's Battlegear" for i in range(60)]
    return "\r\n".join(lines) + "\r\n"


def write_utf16(path, text):
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def parse(text):
    out, cur = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            cur = out.setdefault(line[1:line.index("]")], {})
        elif "=" in line and cur is not None:
            k, v = line.split("=", 1)
            cur.setdefault(k.strip(), v.strip())
    return out


# keys the program itself changes while it runs
MOVING = {("estado", k) for k in ("posX", "posY", "dailyStamp", "weeklyStamp")} | {("ajustes", "Compacto")}


class SettingsFile(h.ProgramTest):
    def seed(self):
        os.makedirs(h.APPDATA, exist_ok=True)
        text = seed_text()
        write_utf16(h.INI, text)
        return parse(text)

    def intact(self, want):
        """None when the file holds every seeded value; otherwise what is wrong."""
        try:
            with open(h.INI, "rb") as f:
                raw = f.read()
        except OSError as e:
            return f"unreadable: {e}"
        if not raw.startswith(b"\xff\xfe"):
            return f"no byte-order mark ({len(raw)} bytes)"
        try:
            got = parse(raw[2:].decode("utf-16-le"))
        except UnicodeDecodeError as e:
            return f"not UTF-16: {e}"
        for sec, keys in want.items():
            for k, v in keys.items():
                if (sec, k) in MOVING or (sec == "estado" and k.startswith("c")):
                    continue
                if got.get(sec, {}).get(k) != v:
                    return f"[{sec}] {k}: {got.get(sec, {}).get(k)!r} instead of {v!r}"
        if "posX" not in got.get("estado", {}):
            return "no position stored"
        return None

    def start_expanded(self, as_found=False):
        """as_found: the settings file is left exactly as the test made it (the harness would
        otherwise add its local addresses); the harness ends the program within 15 s."""
        self.run_program("--prueba", "edicion", local_only=not as_found)
        self.wait_started()
        self.assertTrue(h.wait_for(lambda: h.windows(), 15))

    def test_kill_during_a_burst_of_saves_never_loses_the_file(self):
        want = self.seed()
        rnd = random.Random(12)
        intact, mid_write, problems = 0, 0, []
        nuevo = h.INI + ".nuevo"
        for attempt in range(KILL_TRIES):
            self.start_expanded()
            before = os.stat(h.INI).st_mtime_ns
            out = os.path.join(h.ROOT, "build", "e2e-burst.txt")
            burst = subprocess.Popen([h.RUNNER, h.PROBE, "burst", "600", "Z:" + out.replace("/", "\\")],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # the burst starts once the probe runs; the kill falls anywhere in it
            h.wait_for(lambda: os.stat(h.INI).st_mtime_ns != before, 10, 0.01)
            time.sleep(rnd.uniform(0.0, 1.2))
            h.kill_all()
            burst.wait(30)
            if os.path.exists(nuevo):
                mid_write += 1
            problem = self.intact(want)
            if problem is None:
                intact += 1
            else:
                problems.append(f"try {attempt + 1}: {problem}")
        figures = (f"kill test: {KILL_TRIES} tries, {intact} files intact, "
                   f"{mid_write} killed while a new file was being written")
        print("\n" + figures, file=sys.stderr)
        with open(os.path.join(h.ROOT, "build", "e2e-kill-figures.txt"), "w") as f:
            f.write(figures + "\n" + "\n".join(problems))
        self.assertEqual(problems, [])
        # and the program starts on it as always
        self.start_expanded()
        self.assertFalse([l for l in h.log_lines() if "Ajustes:" in l])

    def test_emptied_file_is_restored_from_the_last_good_copy(self):
        want = self.seed()
        self.start_expanded()
        self.assertTrue(h.post(0x0111, 112, 0))  # compact mode: one save, the seed becomes the copy
        self.assertTrue(h.wait_for(lambda: h.ini_get("ajustes", "Compacto") == "1", 10))
        h.kill_all()
        open(h.INI, "wb").close()
        self.start_expanded(as_found=True)
        self.assertIsNone(self.intact(want))
        self.assertTrue([l for l in h.log_lines() if "restaurada la última copia buena" in l])
        self.assertEqual(h.ini_get("estado", "instalado"), "1")  # no first run

    def test_locked_file_is_waited_for_then_left_untouched(self):
        self.seed()
        with open(h.INI, "rb") as f:
            before = f.read()
        out = os.path.join(h.ROOT, "build", "e2e-lock.txt")
        if os.path.exists(out):
            os.remove(out)
        win_ini = "Z:" + h.INI.replace("/", "\\")
        locker = subprocess.Popen([h.RUNNER, h.PROBE, "lock", win_ini, "7000", "Z:" + out.replace("/", "\\")],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertTrue(h.wait_for(lambda: (h.read_text(out) or "") == "ok", 30))
        self.start_expanded(as_found=True)
        self.assertTrue([l for l in h.log_lines() if "no se pudo abrir" in l and "no se guardará" in l])
        for _ in range(3):
            self.assertTrue(h.post(0x0111, 112, 0))
        locker.wait(30)
        time.sleep(2.5)  # a timer tick after the lock is gone writes nothing either
        with open(h.INI, "rb") as f:
            self.assertEqual(f.read(), before)

    def test_folder_in_place_of_the_file_is_told(self):
        os.makedirs(h.INI)
        self.start_expanded(as_found=True)
        self.assertTrue([l for l in h.log_lines() if "es una carpeta" in l])
        self.assertTrue(h.post(0x0111, 112, 0))
        time.sleep(1)
        self.assertTrue(os.path.isdir(h.INI))
        self.assertFalse(os.path.exists(h.INI + ".nuevo"))

    def test_utf8_file_is_converted_keeping_the_original(self):
        os.makedirs(h.APPDATA, exist_ok=True)
        original = seed_text().encode("utf-8")
        with open(h.INI, "wb") as f:
            f.write(original)
        self.start_expanded(as_found=True)
        self.assertIsNone(self.intact(parse(seed_text())))
        self.assertEqual(h.ini_get("ajustes", "TeclaSalir"), "Mayús+Fin")
        with open(h.INI + ".anterior", "rb") as f:
            self.assertEqual(f.read(), original)
        self.assertTrue([l for l in h.log_lines() if "convertido de UTF-8" in l])


if __name__ == "__main__":
    unittest.main(verbosity=2)
