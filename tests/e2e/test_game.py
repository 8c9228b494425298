"""The overlay beside a running stand-in game: it appears when the game starts, hides when it
ends, a launcher does not count, and the global keys expand, hide and quit."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401


def overlay_width():
    """Width of the visible overlay, or None while it is hidden."""
    wins = h.windows()
    return h.geometry(wins[0])[2] if wins else None


class Game(h.ProgramTest):
    def test_overlay_follows_the_game_and_the_keys(self):
        h.past_first_start()
        self.run_program()
        self.wait_started()
        launcher = self.run_game("TheDivision2Launcher.exe")
        time.sleep(4.5)
        self.assertIsNone(overlay_width(), "no game (a launcher is not the game): the overlay stays hidden")

        self.run_game()
        # the clock starts once the game's process exists (Wine takes a moment to start it)
        self.assertTrue(h.wait_for(lambda: h.pids(b"e2e games", b"TheDivision2.exe"), 10, 0.02))
        t0 = time.time()
        self.assertTrue(h.wait_for(overlay_width, 6, 0.05), "the overlay appears when the game starts")
        print("overlay shown %.2f s after the game started" % (time.time() - t0))
        self.assertLess(time.time() - t0, 2.6)  # the 2-s check plus Wine's mapping
        self.assertEqual(overlay_width(), 52, "collapsed: the emblem")

        h.key("F8")  # the keys reach the overlay while the game has the keyboard
        self.assertTrue(h.wait_for(lambda: overlay_width() == 300, 3), "F8 expands")
        time.sleep(0.5)
        x, y = h.geometry(h.windows()[0])[:2]
        p = h.shot("game-expanded")
        self.assertGreater(h.count(p, (x, y, 300, 60), h.ORANGE), 150, 'emblem and "SHD" in orange')
        self.assertGreater(h.count(p, (x, y, 300, 60), h.BG, 4), 6000, "the panel's dark background")
        h.key("F8")
        self.assertTrue(h.wait_for(lambda: overlay_width() == 52, 3), "F8 collapses")
        h.key("F7")
        self.assertTrue(h.wait_for(lambda: overlay_width() is None, 3), "F7 hides")
        h.key("F7")
        self.assertTrue(h.wait_for(overlay_width, 3), "F7 shows again")

        h.kill(h.pids(b"e2e games", b"TheDivision2.exe"))
        t0 = time.time()
        self.assertTrue(h.wait_for(lambda: overlay_width() is None, 6, 0.05), "the overlay hides when the game ends")
        print("overlay hidden %.2f s after the game ended" % (time.time() - t0))
        self.assertLess(time.time() - t0, 2.6)

        h.focus(launcher)
        h.key("F10")
        self.assertTrue(h.wait_for(lambda: not h.program_pids(), 6), "F10 ends the program")
        # the mutex is free: a new start runs normally (no notice box, a second start line)
        self.run_program()
        self.assertTrue(h.wait_for(lambda: sum("Inicio" in l for l in h.log_lines()) == 2, 15))


if __name__ == "__main__":
    unittest.main(verbosity=2)
