"""The overlay beside a running stand-in game: it appears when the game starts, hides when it
ends, a launcher does not count, and the global keys hide, expand and quit."""

import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401  (a display and Wine server per file)

BUILD = os.environ.get("ZV_BUILD") or os.path.join(h.ROOT, "build", "win64")
GAMES = os.path.join(h.ROOT, "build", "e2e games")
ORANGE = (255, 109, 16)
BG = (13, 15, 17)  # the panel's background


def standin(name):
    os.makedirs(GAMES, exist_ok=True)
    path = os.path.join(GAMES, name)
    shutil.copyfile(os.path.join(BUILD, "standin.exe"), path)
    return path


def overlay():
    """(x, y, w, h) of the visible overlay, or None."""
    wins = h.windows()
    return h.geometry(wins[0]) if wins else None


def standin_pids(name):
    """The Wine processes of stand-ins whose command line holds name (not their runner scripts)."""
    pids = []
    for pid in os.listdir("/proc"):
        if pid.isdigit():
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    cmd = f.read()
            except OSError:
                continue
            if b"e2e games" in cmd and name in cmd and b"wine-run.sh" not in cmd and h.in_prefix(pid):
                pids.append(int(pid))
    return pids


class Game(h.ProgramTest):
    def setUp(self):
        super().setUp()
        self.games = []

    def tearDown(self):
        for g in self.games:
            g.kill()
        self.kill_standins()
        super().tearDown()

    def kill_standins(self, name=b"e2e games"):
        for pid in standin_pids(name):
            try:
                os.kill(pid, 9)
            except OSError:
                pass

    def start_game(self, name):
        p = subprocess.Popen([h.RUNNER, standin(name)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.games.append(p)
        return p

    def test_overlay_follows_the_game_and_the_keys(self):
        h.set_settings({"bienvenida": "1"}, "estado")  # the welcome tour was seen: only the overlay shows
        self.run_program()
        self.wait_started()
        time.sleep(2.5)
        self.assertIsNone(overlay(), "no game: the overlay stays hidden")

        self.start_game("TheDivision2Launcher.exe")
        time.sleep(4.5)
        self.assertIsNone(overlay(), "a launcher is not the game")

        self.start_game("TheDivision2.exe")
        # the clock starts once the game's process exists (Wine takes a moment to start it)
        self.assertTrue(h.wait_for(lambda: standin_pids(b"TheDivision2.exe"), 10, 0.02))
        t0 = time.time()
        shown = h.wait_for(overlay, 6, 0.05)
        self.assertTrue(shown, "the overlay appears when the game starts")
        print("overlay shown %.2f s after the game started" % (time.time() - t0))
        self.assertLess(time.time() - t0, 2.6)  # the 2-s check plus Wine's mapping
        self.assertEqual(shown[2], 52)  # collapsed: the emblem
        x, y = shown[:2]
        time.sleep(0.5)
        p = h.screenshot(os.path.join(h.ROOT, "build", "e2e-game-collapsed.png"))
        self.assertTrue(h.near(h.pixel(p, x + 26, y + 8), ORANGE, 40), "the emblem's orange ring beside the game")

        # the keys reach the overlay while the game has the keyboard
        game = h.wait_for(lambda: h.windows("^TheDivision2.exe$"), 5)
        self.assertTrue(game)
        subprocess.run(["xdotool", "windowfocus", "--sync", str(game[0])], check=True)

        h.key("F8")  # expand
        self.assertTrue(h.wait_for(lambda: (overlay() or (0, 0, 0, 0))[2] == 300, 3), "F8 expands")
        time.sleep(0.5)
        p = h.screenshot(os.path.join(h.ROOT, "build", "e2e-game-expanded.png"))
        header = [c for row in h.region(p, x, y, 300, 60) for c in row]
        self.assertGreater(sum(h.near(c, ORANGE, 40) for c in header), 150, "emblem and \"SHD\" in orange")
        self.assertGreater(sum(h.near(c, BG, 4) for c in header), 6000, "the panel's dark background")
        h.key("F8")  # collapse
        self.assertTrue(h.wait_for(lambda: (overlay() or (0, 0, 0, 0))[2] == 52, 3), "F8 collapses")
        h.key("F7")  # hide
        self.assertTrue(h.wait_for(lambda: overlay() is None, 3), "F7 hides")
        h.key("F7")
        self.assertTrue(h.wait_for(overlay, 3), "F7 shows again")

        self.kill_standins(b"TheDivision2.exe")
        t0 = time.time()
        self.assertTrue(h.wait_for(lambda: overlay() is None, 6, 0.05), "the overlay hides when the game ends")
        print("overlay hidden %.2f s after the game ended" % (time.time() - t0))
        self.assertLess(time.time() - t0, 2.6)

        launcher = h.windows("^TheDivision2Launcher.exe$")
        self.assertTrue(launcher)
        subprocess.run(["xdotool", "windowfocus", "--sync", str(launcher[0])], check=True)
        h.key("F10")  # quit
        self.assertTrue(h.wait_for(lambda: not h.program_pids(), 6), "F10 ends the program")
        # the mutex is free: a new start runs normally (no notice box, a second start line)
        self.run_program()
        self.assertTrue(h.wait_for(lambda: sum("Inicio" in l for l in h.log_lines()) == 2, 15))


if __name__ == "__main__":
    unittest.main(verbosity=2)
